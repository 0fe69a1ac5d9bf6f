#include "UserDirectory.h"

UserDirectory::UserDirectory(const QString &storeFile) : m_records(storeFile) {}

QString UserDirectory::DisplayNameOf(const QString &login) const
{
    const auto user = m_records.find(login);
    if (!user)
        return QString();
    return (user->FirstName + QLatin1Char(' ') + user->LastName).trimmed();
}
