#pragma once

#include "common/Kivo_CRect.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QVector>

class QFrame;
class QWidget;

// Moving and sizing one control of the form with the mouse in design mode.
// A drag shows the control's outline as a frame that follows the mouse;
// the drop gives the control the frame's place and size and puts eight
// sizing handles around it, and a handle pulled starts sizing. The mouse
// stays with the form for the whole drag, and neither the tracked point
// nor a moved control can leave the form's view of its fields.
class DragTracker : public QObject
{
    Q_OBJECT

public:
    enum State { Idle = 0, Moving = 1, Sizing = 2 };
    static constexpr int HandleCount = 8;

    // window: the form window the mouse is held to; area: the parent of the
    // form's controls, which the handles join; afterComboDrop: the control
    // that takes the focus after a drop-down was dropped, so the drop-down's
    // own focus can pick it up again.
    DragTracker(QWidget *window, QWidget *area, QWidget *afterComboDrop);

    void CreateSizeHandles();
    // Starts moving control, the cursor at cursor (screen pixels).
    void BeginDrag(QWidget *control, const QPoint &cursor);
    // The moving control is held at cursor from now on.
    void regrab(const QPoint &cursor) { m_grab = cursor - QPoint(m_rect.Left, m_rect.Top); }
    // Starts sizing the control that carries the handles by handle.
    void beginSizing(int handle);
    // The mouse moved to cursor (screen pixels) during a drag.
    void track(const QPoint &cursor);
    // The left button went up: the control takes the tracked rectangle.
    void drop();
    void ClearSelection();
    // Forgets the control without ending a drag (a click beside every control).
    void deselect();
    void ShowSizeHandles(bool show);
    // Draws the tracked frame, or takes it away when it is shown.
    void DrawDragRect();

    State state() const { return m_state; }
    QWidget *dragControl() const { return m_dragControl; }
    const Kivo_CRect &dragRect() const { return m_rect; }
    // The handle of that number, or -1 when widget is none.
    int handleIndex(const QObject *widget) const;
    QWidget *handle(int index) const { return m_handles.value(index); }

private:
    // The screen rectangle of the form's field view; the tracked point and a
    // moved frame stay inside it.
    QRect bounds() const;
    // The frame at the tracked rectangle, however it is turned.
    void placeFrame();
    QPoint clipped(const QPoint &cursor) const;
    void capture();
    void release();

    QWidget *m_window;
    QWidget *m_area;
    QWidget *m_afterComboDrop;
    QVector<QWidget *> m_handles;
    QPointer<QWidget> m_dragControl;
    State m_state = Idle;
    int m_sizingHandle = 0;
    Kivo_CRect m_rect;
    QPoint m_grab;
    QFrame *m_frame = nullptr;
};
