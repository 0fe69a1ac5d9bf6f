#pragma once

#include <QtGlobal>

class FormScroller;
class QWidget;

// Scrolling the form's field area: back to the top, by a step, by the wheel,
// and the window procedure that turns the wheel and the user's resizing of
// the window into scrolling while the window is shown.
class FormScrolling
{
public:
    FormScrolling(QWidget *window, FormScroller *scroller, QWidget *endMarker);
    FormScrolling(const FormScrolling &) = delete;
    FormScrolling &operator=(const FormScrolling &) = delete;

    void ResetScroll();
    void ScrollUp();
    void ScrollDown();
    void WheelRotate(int notchCount);
    void AttachWheelHook();
    void DetachWheelHook();
    bool isAttached() const { return m_wheelHook; }
    // A form loaded again starts without the hook.
    void forgetHook() { m_wheelHook = false; }

private:
    QWidget *m_window;
    FormScroller *m_scroller;
    QWidget *m_endMarker;
    bool m_wheelHook = false;
    // The window procedure was installed once; it then stays known until the
    // form goes, whether attached or not.
    bool m_subclassed = false;
};
