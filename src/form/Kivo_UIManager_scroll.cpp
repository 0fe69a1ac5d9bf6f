#include "Kivo_UIManager.h"

#include "Kivo_API.h"
#include "common/QV_VBLogger.h"
#include "platform/ui/FormScroller.h"

#include <QLabel>

namespace {

void writeLog(const QString &message)
{
    QV_VBLogger::WriteLog(message, QStringLiteral("Kivo_UIManager"));
}

} // namespace

void Kivo_UIManager::ResetScroll()
{
    writeLog(QStringLiteral("start ResetScroll"));
    FormScroller1->ResetTo(dummy);
    FormScroller1->RefreshScroller();
    writeLog(QStringLiteral("Finish ResetScroll"));
}

void Kivo_UIManager::ScrollUp()
{
    FormScroller1->ScrollBy(-Kivo_API::WheelStep);
}

void Kivo_UIManager::ScrollDown()
{
    FormScroller1->ScrollBy(Kivo_API::WheelStep);
}

void Kivo_UIManager::WheelRotate(int notchCount)
{
    const double amount = Kivo_API::wheelScrollAmount(notchCount, FormScroller1->ScrollPosition(),
                                                      FormScroller1->ScrollMax());
    if (amount != 0)
        FormScroller1->ScrollBy(amount);
}

void Kivo_UIManager::AttachWheelHook()
{
    if (m_wheelHook) {
        writeLog(QStringLiteral("Already attached! mouse wheel hook"));
        return;
    }
    writeLog(QStringLiteral("Start to attach Mouse Wheel Hook"));
    m_subclassed = false;
    m_wheelHook = true;
    Kivo_API::SubclassContainer(this);
    m_subclassed = true;
    writeLog(QStringLiteral("Finish to attach Mouse Wheel Hook"));
}

void Kivo_UIManager::DetachWheelHook()
{
    if (!m_subclassed)
        return;
    if (!m_wheelHook) {
        writeLog(QStringLiteral("Already detached! mouse wheel support"));
        return;
    }
    writeLog(QStringLiteral("Start to detach mouse wheel hooking"));
    Kivo_API::RestoreContainer(this);
    m_wheelHook = false;
    writeLog(QStringLiteral("Finish to detach mouse wheel hooking"));
}
