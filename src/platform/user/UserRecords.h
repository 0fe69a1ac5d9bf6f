#pragma once

#include "UserInfo.h"
#include "UserRights.h"

#include <platform/config/ConfigDatabase.h>

#include <optional>

// The user records of the store, one key per login below USERS_PATH with
// "first_name", "last_name", "group" and "edit_allowed" (1 = may edit the
// layout). A login that names no record - empty, unknown, or not usable as
// one key name - is an unknown user, never an error.
class UserRecords
{
public:
    static constexpr const char *USERS_PATH = "Corvalis\\system\\users";

    UserRecords() = default; // on the default store
    explicit UserRecords(const QString &storeFile);

    std::optional<UserInfo> find(const QString &login) const;
    UserRights rightsOf(const QString &login) const;

private:
    // The record's path, or "" when the login cannot name a record.
    QString recordPath(const QString &login) const;

    ConfigDatabase m_database;
};
