#include "UserManager.h"

namespace {

QString currentLogin()
{
    return ConfigDatabase::GlobalValue(QStringLiteral("CurrUser"));
}

} // namespace

UserManager::UserManager(const QString &storeFile) : m_records(storeFile) {}

std::optional<UserInfo> UserManager::CurrentUser() const
{
    return m_records.find(currentLogin());
}

UserRights UserManager::Rights() const
{
    return m_records.rightsOf(currentLogin());
}
