// The host's user services over the user records of a temporary store.
#include "platform/config/ConfigDatabase.h"
#include "platform/user/UserDirectory.h"
#include "platform/user/UserManager.h"

#include <kivo/runtime.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

void setCurrentLogin(const QString &login)
{
    SetPlatformValue(u"CurrUser", reinterpret_cast<const OLECHAR *>(login.utf16()));
}

class UserServicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ::unsetenv("KIVO_CURR_USER");
        setCurrentLogin(QString());
        m_file = m_dir.filePath(QStringLiteral("config.db"));
        ConfigDatabase store(m_file);
        addUser(store, QStringLiteral("alice"), QStringLiteral("Alice"), QStringLiteral("Moreau"),
                QStringLiteral("radiology"), 1);
        addUser(store, QStringLiteral("bob"), QStringLiteral("Bob"), QString(),
                QStringLiteral("residents"), 0);
    }
    void TearDown() override { setCurrentLogin(QString()); }

    static void addUser(ConfigDatabase &store, const QString &login, const QString &first,
                        const QString &last, const QString &group, int editAllowed)
    {
        const QString path = QStringLiteral("Corvalis\\system\\users\\") + login;
        if (!first.isEmpty())
            store.WriteString(path + QStringLiteral("\\first_name"), first);
        if (!last.isEmpty())
            store.WriteString(path + QStringLiteral("\\last_name"), last);
        store.WriteString(path + QStringLiteral("\\group"), group);
        store.WriteLong(path + QStringLiteral("\\edit_allowed"), editAllowed);
    }

    QTemporaryDir m_dir;
    QString m_file;
};

} // namespace

TEST_F(UserServicesTest, CurrentUserComesFromTheLoggedInLogin)
{
    UserManager manager(m_file);
    EXPECT_FALSE(manager.CurrentUser()) << "nobody logged in";
    EXPECT_FALSE(manager.Rights().EditAllowed);

    setCurrentLogin(QStringLiteral("alice"));
    const auto alice = manager.CurrentUser();
    ASSERT_TRUE(alice);
    EXPECT_EQ(alice->FirstName, QStringLiteral("Alice"));
    EXPECT_EQ(alice->LastName, QStringLiteral("Moreau"));
    EXPECT_EQ(alice->GroupName, QStringLiteral("radiology"));
    EXPECT_TRUE(manager.Rights().EditAllowed);

    // A change of user at the workstation must be seen without a new
    // manager, or the next user inherits the rights of the last.
    setCurrentLogin(QStringLiteral("bob"));
    EXPECT_EQ(manager.CurrentUser()->FirstName, QStringLiteral("Bob"));
    EXPECT_FALSE(manager.Rights().EditAllowed);
}

TEST_F(UserServicesTest, RightsAreReadFromTheStoreOnEveryCall)
{
    UserManager manager(m_file);
    setCurrentLogin(QStringLiteral("bob"));
    EXPECT_FALSE(manager.Rights().EditAllowed);
    ConfigDatabase(m_file).WriteLong(QStringLiteral("Corvalis\\system\\users\\bob\\edit_allowed"),
                                     1);
    EXPECT_TRUE(manager.Rights().EditAllowed);
    // Only 1 grants editing: any other number is no permission.
    ConfigDatabase(m_file).WriteLong(QStringLiteral("Corvalis\\system\\users\\bob\\edit_allowed"),
                                     2);
    EXPECT_FALSE(manager.Rights().EditAllowed);
}

// Logins come from outside: one that is not a single key name must neither
// throw nor reach a record below another user's key.
TEST_F(UserServicesTest, UnknownOrMalformedLoginsAreUnknownUsers)
{
    ConfigDatabase store(m_file);
    addUser(store, QStringLiteral("team\\carol"), QStringLiteral("Carol"), QStringLiteral("Ng"),
            QStringLiteral("staff"), 1);
    UserManager manager(m_file);
    UserDirectory directory(m_file);
    for (const QString &login :
         {QStringLiteral("nobody"), QStringLiteral("team\\carol"), QStringLiteral("alice\\"),
          QStringLiteral("al\nice"), QString(300, QLatin1Char('a'))}) {
        setCurrentLogin(login);
        EXPECT_FALSE(manager.CurrentUser()) << login.toStdString();
        EXPECT_FALSE(manager.Rights().EditAllowed) << login.toStdString();
        EXPECT_EQ(directory.DisplayNameOf(login), QString()) << login.toStdString();
    }
}

TEST_F(UserServicesTest, DisplayNameJoinsFirstAndLastName)
{
    UserDirectory directory(m_file);
    EXPECT_EQ(directory.DisplayNameOf(QStringLiteral("alice")), QStringLiteral("Alice Moreau"));
    // Keys are found ignoring case, as logins are typed.
    EXPECT_EQ(directory.DisplayNameOf(QStringLiteral("ALICE")), QStringLiteral("Alice Moreau"));
    // A missing last name leaves no trailing blank in the shown name.
    EXPECT_EQ(directory.DisplayNameOf(QStringLiteral("bob")), QStringLiteral("Bob"));
    EXPECT_EQ(directory.DisplayNameOf(QString()), QString());
}
