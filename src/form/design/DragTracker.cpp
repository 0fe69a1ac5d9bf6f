#include "form/design/DragTracker.h"

#include "form/design/DesignGeometry.h"
#include "platform/ui/TwipsGeometry.h"

#include <QFrame>
#include <QWidget>

namespace {

// Each handle is this many pixels square.
constexpr int HandlePixels = 5;

// The pointer over handle k, clockwise from the top-left corner.
constexpr Qt::CursorShape HandleCursors[DragTracker::HandleCount] = {
    Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor,
    Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor};

} // namespace

DragTracker::DragTracker(QWidget *window, QWidget *area, QWidget *afterComboDrop)
    : QObject(window), m_window(window), m_area(area), m_afterComboDrop(afterComboDrop)
{
}

void DragTracker::CreateSizeHandles()
{
    if (!m_handles.isEmpty())
        return;
    const int width = qRound(HandlePixels * TwipsGeometry::twipsPerPixelX(m_area));
    const int height = qRound(HandlePixels * TwipsGeometry::twipsPerPixelY(m_area));
    for (int k = 0; k < HandleCount; ++k) {
        auto *handle = new QWidget(m_area);
        handle->setObjectName(QStringLiteral("picHandle"));
        handle->setProperty("index", k);
        handle->setAutoFillBackground(true);
        QPalette palette = handle->palette();
        palette.setColor(QPalette::Window, Qt::black);
        handle->setPalette(palette);
        handle->setCursor(HandleCursors[k]);
        TwipsGeometry::setGeometry(handle, QRect(0, 0, width, height));
        handle->hide();
        handle->raise();
        m_handles.append(handle);
    }
    // A plain two-pixel outline: cheap to draw on every move of the mouse,
    // and the controls below stay visible through it.
    m_frame = new QFrame(m_window);
    m_frame->setObjectName(QStringLiteral("dragFrame"));
    m_frame->setFrameShape(QFrame::Box);
    m_frame->setLineWidth(2);
    QPalette framePalette = m_frame->palette();
    framePalette.setColor(QPalette::WindowText, Qt::black);
    m_frame->setPalette(framePalette);
    m_frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_frame->hide();
    m_dragControl = nullptr;
}

void DragTracker::BeginDrag(QWidget *control, const QPoint &cursor)
{
    ShowSizeHandles(false);
    m_dragControl = control;
    m_rect.SetRectToCtrl(control);
    m_rect.TwipsToScreen(control);
    m_grab = cursor - QPoint(m_rect.Left, m_rect.Top);
    DrawDragRect();
    m_state = Moving;
    capture();
}

void DragTracker::beginSizing(int handle)
{
    if (!m_dragControl)
        return;
    m_rect.SetRectToCtrl(m_dragControl);
    m_rect.TwipsToScreen(m_dragControl);
    m_sizingHandle = handle;
    ShowSizeHandles(false);
    m_state = Sizing;
    DrawDragRect();
    capture();
}

void DragTracker::track(const QPoint &cursor)
{
    const QPoint point = clipped(cursor);
    if (m_state == Moving)
        m_rect = DesignGeometry::movedWithin(m_rect, point - m_grab, bounds());
    else if (m_state == Sizing)
        m_rect = DesignGeometry::sized(m_rect, m_sizingHandle, point);
    else
        return;
    // Taking the frame away and drawing it at the new place, in one step.
    placeFrame();
}

void DragTracker::drop()
{
    if (m_state == Idle)
        return;
    DrawDragRect();
    if (m_dragControl) {
        m_rect.ScreenToTwips(m_dragControl);
        m_rect.SetCtrlToRect(m_dragControl);
        if (m_dragControl->objectName() == QLatin1String("m_aCombo") && m_afterComboDrop)
            m_afterComboDrop->setFocus();
    }
    ShowSizeHandles(true);
    release();
    m_state = Idle;
}

void DragTracker::ClearSelection()
{
    if (m_frame && m_frame->isVisible())
        DrawDragRect();
    release();
    m_dragControl = nullptr;
    ShowSizeHandles(false);
    m_state = Idle;
}

void DragTracker::deselect()
{
    m_dragControl = nullptr;
    ShowSizeHandles(false);
}

void DragTracker::ShowSizeHandles(bool show)
{
    if (m_handles.isEmpty())
        return;
    if (show && m_dragControl) {
        const QRect handle = TwipsGeometry::geometry(m_handles.first());
        const QRect rect(m_rect.Left, m_rect.Top, m_rect.Width(), m_rect.Height());
        const QPointF twipsPerPixel(TwipsGeometry::twipsPerPixelX(m_area),
                                    TwipsGeometry::twipsPerPixelY(m_area));
        for (int k = 0; k < HandleCount; ++k) {
            const QPoint at = DesignGeometry::handlePosition(k, rect, handle.size(), twipsPerPixel);
            TwipsGeometry::setGeometry(m_handles[k], QRect(at, handle.size()));
            m_handles[k]->raise();
        }
    }
    for (QWidget *handle : m_handles)
        handle->setVisible(show && m_dragControl);
}

void DragTracker::DrawDragRect()
{
    if (!m_frame)
        return;
    // Drawn twice, the frame is gone again and the screen as it was.
    if (m_frame->isVisible()) {
        m_frame->hide();
        return;
    }
    placeFrame();
    m_frame->raise();
    m_frame->show();
}

void DragTracker::placeFrame()
{
    const QRect screen(QPoint(qMin(m_rect.Left, m_rect.Right), qMin(m_rect.Top, m_rect.Bottom)),
                       QSize(qAbs(m_rect.Width()), qAbs(m_rect.Height())));
    m_frame->setGeometry(QRect(m_window->mapFromGlobal(screen.topLeft()), screen.size()));
}

int DragTracker::handleIndex(const QObject *widget) const
{
    for (int k = 0; k < m_handles.size(); ++k) {
        if (m_handles[k] == widget)
            return k;
    }
    return -1;
}

QRect DragTracker::bounds() const
{
    // Where the form shows its fields: a control left beside it could not
    // be reached again, as the form does not scroll sideways.
    const QWidget *view = m_area->parentWidget() ? m_area->parentWidget() : m_window;
    return QRect(view->mapToGlobal(QPoint(0, 0)), view->size());
}

QPoint DragTracker::clipped(const QPoint &cursor) const
{
    const QRect view = bounds();
    return QPoint(qBound(view.left(), cursor.x(), view.right()),
                  qBound(view.top(), cursor.y(), view.bottom()));
}

void DragTracker::capture()
{
    m_area->grabMouse();
}

void DragTracker::release()
{
    if (QWidget::mouseGrabber() == m_area)
        m_area->releaseMouse();
}
