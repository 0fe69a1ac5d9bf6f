// The configuration manager's start: user context, install root, the update
// AE titles switch, the edit permission and the listener it keeps.
#include "test_cfg_manager_env.h"

#include "config/Kivo_CFGManager.h"

#include <common/QV_ResourceSettings.h>

#include <RecordingUIListener.h>

using CfgManagerTest = ManagerTest;

TEST_F(CfgManagerTest, InitReadsTheLoggedInUser)
{
    addUser(QStringLiteral("ividal"), QStringLiteral("Ines"), QStringLiteral("Vidal"), 1);
    addUser(QStringLiteral("tmoss"), QStringLiteral("Tom"), QStringLiteral("Moss"), 0);
    setPlatformValue(QStringLiteral("CurrUser"), QStringLiteral("ividal"));
    store().WriteLong(QLatin1String(Kivo_CFGManager::UPDATE_AE_TITLES_PATH), 0);

    Kivo_CFGManager manager;
    manager.Init();
    EXPECT_EQ(manager.CurrUser(), QStringLiteral("ividal"));
    EXPECT_EQ(manager.UserDispalyedName(), QStringLiteral("Ines Vidal"));
    EXPECT_EQ(manager.UserGroup(), QStringLiteral("attendings"));
    EXPECT_EQ(manager.GetUserDisplayedName(QStringLiteral("tmoss")), QStringLiteral("Tom Moss"));
    EXPECT_EQ(manager.UpdateAETitles(), 0);
    // The log is open before the first line: the line carries the module
    // number set by Init.
    EXPECT_TRUE(managerLog().contains(
        QStringLiteral("User login name is ividal User displayed name isInes Vidal")));

    // The edit permission follows the store while the window is open; a
    // cached answer would keep offering design mode to a user who lost it.
    EXPECT_TRUE(manager.CanEdit());
    store().WriteLong(QStringLiteral("Corvalis\\system\\users\\ividal\\edit_allowed"), 0);
    EXPECT_FALSE(manager.CanEdit());

    // A second Init after the workstation switched to a login without record
    // must not keep the previous user, who would be stamped as submitter: a
    // login without record is no user.
    setPlatformValue(QStringLiteral("CurrUser"), QStringLiteral("ghost"));
    manager.Init();
    EXPECT_EQ(manager.CurrUser(), QString());
    EXPECT_EQ(manager.UserDispalyedName(), QString());
    EXPECT_EQ(manager.UserGroup(), QString());
    EXPECT_FALSE(manager.CanEdit());
}

// No login at all is logged and is no error, and leaves no user behind.
TEST_F(CfgManagerTest, MissingLoginLeavesTheUserEmpty)
{
    Kivo_CFGManager manager;
    ASSERT_NO_THROW(manager.Init());
    EXPECT_EQ(manager.CurrUser(), QString());
    EXPECT_EQ(manager.UserDispalyedName(), QString());
    EXPECT_EQ(manager.UserGroup(), QString());
    EXPECT_FALSE(manager.CanEdit());
    EXPECT_EQ(manager.UpdateAETitles(), 1) << "absent switch is on";
    EXPECT_EQ(managerLog(), QStringList{QStringLiteral("No curr User")});
}

TEST_F(CfgManagerTest, InstallRootFallsBackFromHostToMachineToDefault)
{
    const QString nodeRoot =
        QStringLiteral("Corvalis\\system\\nodes\\ws-07\\properties\\corvalis_root");
    struct Case
    {
        const char *corvalisRoot, *machine, *nodeValue, *root;
    };
    const Case cases[] = {
        {"/srv/corvalis", "ws-07", "/mnt/other", "/srv/corvalis"},
        {"", "ws-07", "/mnt/other", "/mnt/other"},
        {"", "ws-07", "", "/opt/norvex"},
        {"", "", "/mnt/other", ""}, // no machine, no installation: no default either
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.corvalisRoot) + "|" + c.machine + "|" + c.nodeValue);
        setPlatformValue(QStringLiteral("CorvalisRoot"), QString::fromUtf8(c.corvalisRoot));
        setPlatformValue(QStringLiteral("CurrMachine"), QString::fromUtf8(c.machine));
        if (!*c.nodeValue)
            store().DeleteKey(nodeRoot);
        else
            store().WriteString(nodeRoot, QString::fromUtf8(c.nodeValue));

        Kivo_CFGManager manager;
        EXPECT_EQ(manager.CorvalisRoot(), QString()) << "no store before Init";
        manager.Init();
        EXPECT_EQ(manager.installRoot(), QString::fromUtf8(c.root));
        EXPECT_EQ(QV_Resource::ApplicationIconPath(),
                  QString::fromUtf8(c.root) + "/qv/resources/icons/qv.ico");
    }
}

// The listener is the host's object: the manager holds exactly one
// reference to the one it keeps, and a null hand-over must not drop it.
TEST_F(CfgManagerTest, KeepsTheListenerAcrossANullHandOver)
{
    RecordingUIListener *first = RecordingUIListener::create();
    RecordingUIListener *second = RecordingUIListener::create();
    {
        Kivo_CFGManager manager;
        manager.UIListener(first);
        manager.UIListener(nullptr);
        EXPECT_EQ(first->refCount(), 2u);
        manager.UIListener(second);
        manager.UIListener(second);
        EXPECT_EQ(first->refCount(), 1u);
        EXPECT_EQ(second->refCount(), 2u);
    }
    EXPECT_EQ(second->refCount(), 1u);
    first->Release();
    second->Release();
}

// Forms and dialogs reach the manager through the published reference; it
// must not outlive the manager.
TEST_F(CfgManagerTest, PublishedInstanceEndsWithTheManager)
{
    {
        Kivo_CFGManager manager;
        Kivo_CFGManager::setInstance(&manager);
        EXPECT_EQ(Kivo_CFGManager::instance(), &manager);
    }
    EXPECT_EQ(Kivo_CFGManager::instance(), nullptr);
}
