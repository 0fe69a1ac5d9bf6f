#pragma once

#include "UserRecords.h"

// The host's user manager: the user logged in to the workstation (the
// platform value "CurrUser") and what that user may do. The login is looked
// up on every call, so a change of user is seen at once.
class UserManager
{
public:
    UserManager() = default; // on the default store
    explicit UserManager(const QString &storeFile);

    // Null when nobody is logged in or the login has no record.
    std::optional<UserInfo> CurrentUser() const;
    UserRights Rights() const;

private:
    UserRecords m_records;
};
