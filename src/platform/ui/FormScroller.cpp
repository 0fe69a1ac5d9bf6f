#include "FormScroller.h"

#include "ScrollGeometry.h"
#include "Twips.h"
#include "platform/Err.h"

#include <QEvent>
#include <QScrollBar>

FormScroller::FormScroller(QWidget *parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("FormScroller1"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

double FormScroller::ScrollPosition() const
{
    return m_position;
}

void FormScroller::setScrollPosition(double position)
{
    const double to = ScrollGeometry::clampPosition(position, ScrollMax());
    if (to == m_position)
        return;
    const int pixels = Twips::toPixels(to, twipsPerPixel());
    if (pixels != verticalScrollBar()->value()) {
        // scrollContentsBy() announces the step and moves the content.
        m_target = to;
        verticalScrollBar()->setValue(pixels);
        m_target.reset();
        return;
    }
    // Less than a pixel: nothing moves, but the position is what was asked.
    emit beforeScroll(m_position, to);
    m_position = to;
    emit afterScroll(to);
}

double FormScroller::ScrollMax() const
{
    return Twips::fromPixels(verticalScrollBar()->maximum(), twipsPerPixel());
}

void FormScroller::ScrollBy(double amount)
{
    setScrollPosition(m_position + amount);
}

void FormScroller::ResetTo(QWidget *reference)
{
    if (reference && !(widget() && widget()->isAncestorOf(reference)))
        throw Err(
            Err::InvalidArgument,
            QStringLiteral("\"%1\" is not on the scrolled form").arg(reference->objectName()));
    m_reference = reference;
    setScrollPosition(0);
}

void FormScroller::RefreshScroller()
{
    QWidget *content = widget();
    if (!content)
        return;
    QRect extent = content->childrenRect();
    if (m_reference)
        extent |= QRect(m_reference->mapTo(content, QPoint(0, 0)), m_reference->size());
    content->resize(viewport()->width(), std::max(extent.bottom() + 1, viewport()->height()));
    applyRange();
    viewport()->update();
}

double FormScroller::twipsPerPixel() const
{
    return Twips::perPixel(logicalDpiY());
}

void FormScroller::scrollContentsBy(int dx, int dy)
{
    const double from = m_position;
    const double to =
        m_target ? *m_target : Twips::fromPixels(verticalScrollBar()->value(), twipsPerPixel());
    emit beforeScroll(from, to);
    m_position = to;
    QScrollArea::scrollContentsBy(dx, dy);
    emit afterScroll(to);
}

bool FormScroller::viewportEvent(QEvent *event)
{
    const bool handled = QScrollArea::viewportEvent(event);
    // Also when the scroll bar comes or goes: the fields take the width left.
    if (event->type() == QEvent::Resize)
        RefreshScroller();
    return handled;
}

bool FormScroller::eventFilter(QObject *watched, QEvent *event)
{
    const bool handled = QScrollArea::eventFilter(watched, event);
    // The scroll area resets the steps whenever the widget's size changes.
    if (watched == widget() && event->type() == QEvent::Resize)
        applyRange();
    return handled;
}

void FormScroller::applyRange()
{
    // Set here rather than left to the scroll area, which learns of a new
    // widget size only once the widget is shown; the form asks for the
    // maximum before that.
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, widget()->height() - viewport()->height()));
    bar->setSingleStep(Twips::toPixels(SmallChange, twipsPerPixel()));
    bar->setPageStep(Twips::toPixels(LargeChange, twipsPerPixel()));
}
