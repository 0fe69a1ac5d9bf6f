#include "form/FormServices.h"

#include "common/QV_VBLogger.h"
#include "config/Kivo_CFGManager.h"
#include "platform/Err.h"

namespace FormServices {

void log(const QString &message)
{
    QV_VBLogger::WriteLog(message, QStringLiteral("Kivo_UIManager"));
}

void logDefault(const QString &message)
{
    QV_VBLogger::WriteLog(message, QStringLiteral("VB"));
}

Kivo_CFGManager &configuration()
{
    Kivo_CFGManager *manager = Kivo_CFGManager::instance();
    if (!manager)
        throw Err(Err::WrongState, QStringLiteral("No configuration manager is published"));
    return *manager;
}

} // namespace FormServices
