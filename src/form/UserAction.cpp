#include "UserAction.h"

#include "common/QV_MsgBox.h"
#include "common/QV_VBLogger.h"
#include "platform/Err.h"

#include <QString>

namespace {

void report(const QString &handler, const QString &description)
{
    const QString line = QStringLiteral("Error in %1: %2").arg(handler, description);
    try {
        QV_VBLogger::WriteLog(line, QStringLiteral("Kivo_UIManager"));
    } catch (...) {
        // The log itself is gone; the user still sees the message below.
    }
    try {
        QV_MsgBox::ShowErrorMsg(description);
    } catch (...) {
        // Nothing more can be done from inside an event handler.
    }
}

} // namespace

bool runUserAction(const QString &handler, const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const Err &err) {
        report(handler, QStringLiteral("%1 (%2)").arg(err.description()).arg(err.number()));
    } catch (const std::exception &err) {
        report(handler, QString::fromLocal8Bit(err.what()));
    } catch (...) {
        report(handler, QStringLiteral("unknown error"));
    }
    return false;
}
