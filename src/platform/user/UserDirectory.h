#pragma once

#include "UserRecords.h"

// The host's user directory: names of any user by login, such as the
// submitter of a stored teaching file.
class UserDirectory
{
public:
    UserDirectory() = default; // on the default store
    explicit UserDirectory(const QString &storeFile);

    // First and last name joined by a blank; "" for a login without record.
    QString DisplayNameOf(const QString &login) const;

private:
    UserRecords m_records;
};
