// The host's user services over the user records of a temporary store.
#include "platform/user/UserDirectory.h"
#include "platform/user/UserManager.h"

#include <support/PlatformStoreTest.h>

namespace {

class UserServicesTest : public PlatformStoreTest
{
protected:
    void SetUp() override
    {
        PlatformStoreTest::SetUp();
        addUser(QStringLiteral("alice"), QStringLiteral("Alice"), QStringLiteral("Moreau"), 1,
                QStringLiteral("radiology"));
        addUser(QStringLiteral("bob"), QStringLiteral("Bob"), QString(), 0);
    }

    void login(const QString &name) { setPlatformValue(QStringLiteral("CurrUser"), name); }
};

} // namespace

// A change of user at the workstation, or of rights in the store, must be
// seen without a new manager, or the next user inherits the rights of the
// last. Only 1 grants editing: any other number is no permission.
TEST_F(UserServicesTest, CurrentUserAndRightsAreReadOnEveryCall)
{
    UserManager manager(m_file);
    EXPECT_FALSE(manager.CurrentUser()) << "nobody logged in";
    EXPECT_FALSE(manager.Rights().EditAllowed);

    login(QStringLiteral("alice"));
    const auto alice = manager.CurrentUser();
    ASSERT_TRUE(alice);
    EXPECT_EQ(alice->FirstName, QStringLiteral("Alice"));
    EXPECT_TRUE(manager.Rights().EditAllowed);

    login(QStringLiteral("bob"));
    EXPECT_EQ(manager.CurrentUser()->FirstName, QStringLiteral("Bob"));
    EXPECT_FALSE(manager.Rights().EditAllowed);
    const QString bobEdits = QStringLiteral("Corvalis\\system\\users\\bob\\edit_allowed");
    store().WriteLong(bobEdits, 1);
    EXPECT_TRUE(manager.Rights().EditAllowed);
    store().WriteLong(bobEdits, 2);
    EXPECT_FALSE(manager.Rights().EditAllowed);
}

// Logins come from outside: one that is not a single key name must neither
// throw nor reach a record below another user's key. Keys are found ignoring
// case, as logins are typed; a missing last name leaves no trailing blank.
TEST_F(UserServicesTest, DisplayNamesAndUnknownOrMalformedLogins)
{
    addUser(QStringLiteral("team\\carol"), QStringLiteral("Carol"), QStringLiteral("Ng"), 1);
    UserManager manager(m_file);
    UserDirectory directory(m_file);
    EXPECT_EQ(directory.DisplayNameOf(QStringLiteral("ALICE")), QStringLiteral("Alice Moreau"));
    EXPECT_EQ(directory.DisplayNameOf(QStringLiteral("bob")), QStringLiteral("Bob"));
    for (const QString &name :
         {QStringLiteral("nobody"), QStringLiteral("team\\carol"), QStringLiteral("alice\\")}) {
        login(name);
        EXPECT_FALSE(manager.CurrentUser()) << name.toStdString();
        EXPECT_FALSE(manager.Rights().EditAllowed) << name.toStdString();
        EXPECT_EQ(directory.DisplayNameOf(name), QString()) << name.toStdString();
    }
}
