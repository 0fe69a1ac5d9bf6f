#include "form/FormScrolling.h"

#include "form/FormServices.h"
#include "form/Kivo_API.h"
#include "platform/ui/FormScroller.h"

using FormServices::log;

FormScrolling::FormScrolling(QWidget *window, FormScroller *scroller, QWidget *endMarker)
    : m_window(window), m_scroller(scroller), m_endMarker(endMarker)
{
}

void FormScrolling::ResetScroll()
{
    log(QStringLiteral("start ResetScroll"));
    m_scroller->ResetTo(m_endMarker);
    m_scroller->RefreshScroller();
    log(QStringLiteral("Finish ResetScroll"));
}

void FormScrolling::ScrollUp()
{
    m_scroller->ScrollBy(-Kivo_API::WheelStep);
}

void FormScrolling::ScrollDown()
{
    m_scroller->ScrollBy(Kivo_API::WheelStep);
}

void FormScrolling::WheelRotate(int notchCount)
{
    const double amount = Kivo_API::wheelScrollAmount(notchCount, m_scroller->ScrollPosition(),
                                                      m_scroller->ScrollMax());
    if (amount != 0)
        m_scroller->ScrollBy(amount);
}

void FormScrolling::AttachWheelHook()
{
    if (m_wheelHook) {
        log(QStringLiteral("Already attached! mouse wheel hook"));
        return;
    }
    log(QStringLiteral("Start to attach Mouse Wheel Hook"));
    m_subclassed = false;
    m_wheelHook = true;
    Kivo_API::SubclassContainer(m_window);
    m_subclassed = true;
    log(QStringLiteral("Finish to attach Mouse Wheel Hook"));
}

void FormScrolling::DetachWheelHook()
{
    if (!m_subclassed)
        return;
    if (!m_wheelHook) {
        log(QStringLiteral("Already detached! mouse wheel support"));
        return;
    }
    log(QStringLiteral("Start to detach mouse wheel hooking"));
    Kivo_API::RestoreContainer(m_window);
    m_wheelHook = false;
    log(QStringLiteral("Finish to detach mouse wheel hooking"));
}
