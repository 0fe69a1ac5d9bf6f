#include "UserRecords.h"

#include <platform/Err.h>

UserRecords::UserRecords(const QString &storeFile) : m_database(storeFile) {}

QString UserRecords::recordPath(const QString &login) const
{
    if (login.isEmpty())
        return QString();
    // A login is one key name: a "\" in it would reach into another record.
    try {
        ConfigPath::validateName(login);
    } catch (const Err &) {
        return QString();
    }
    const QString path = QLatin1String(USERS_PATH) + QLatin1Char('\\') + login;
    return m_database.KeyExists(path) ? path : QString();
}

std::optional<UserInfo> UserRecords::find(const QString &login) const
{
    const QString path = recordPath(login);
    if (path.isEmpty())
        return std::nullopt;
    UserInfo info;
    info.GroupName = m_database.ReadString(path + QLatin1String("\\group"));
    info.FirstName = m_database.ReadString(path + QLatin1String("\\first_name"));
    info.LastName = m_database.ReadString(path + QLatin1String("\\last_name"));
    return info;
}

UserRights UserRecords::rightsOf(const QString &login) const
{
    UserRights rights;
    const QString path = recordPath(login);
    if (!path.isEmpty())
        rights.EditAllowed = m_database.ReadLong(path + QLatin1String("\\edit_allowed")) == 1;
    return rights;
}
