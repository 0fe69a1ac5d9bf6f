#pragma once

#include <QPoint>

class QWidget;

// Design mode of the shown teaching-file window, worked as a user works it:
// the toolbar's tools chosen, and the left button pressed on a control,
// moved and released through the window system, so that the window's mouse
// grab decides which control hears each event, as with a real mouse. Every
// step throws std::runtime_error saying what did not happen.
class LiveDesign
{
public:
    // Waits until the form's window is on the screen.
    explicit LiveDesign(QWidget *form);

    static void waitUntilShown(const QWidget *form);

    // Chooses Design Mode. Fails when the window does not offer it (the
    // user may not edit the layout) or it does not start.
    void enter();
    // Drags control by offset pixels, held in the middle; an offset of
    // nothing picks the control up and puts it back: it gets the handles.
    void drag(const QWidget *control, const QPoint &offset);
    // Chooses Save Layout, which also ends design mode. Fails when the
    // window reports that the layout was not saved.
    void saveLayout();

private:
    QWidget *m_form;
};
