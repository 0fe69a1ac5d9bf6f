#include "Kivo_CRect.h"

#include "platform/Err.h"
#include "platform/ui/LineControl.h"
#include "platform/ui/Twips.h"
#include "platform/ui/TwipsGeometry.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include <utility>

namespace {

Err overflow(const char *what)
{
    return Err(Err::Overflow,
               QStringLiteral("Overflow: the rectangle's %1 does not fit in 32 bits").arg(what));
}

qint32 sum(qint32 a, qint32 b, const char *what)
{
    qint32 result;
    if (__builtin_add_overflow(a, b, &result))
        throw overflow(what);
    return result;
}

qint32 difference(qint32 a, qint32 b, const char *what)
{
    qint32 result;
    if (__builtin_sub_overflow(a, b, &result))
        throw overflow(what);
    return result;
}

template <typename Widget> Widget &required(Widget *control)
{
    if (!control)
        throw Err(Err::InvalidArgument, QStringLiteral("The rectangle needs a control"));
    return *control;
}

// A control's coordinates are those of its parent window's client area; a
// window of its own is placed on the screen itself.
QPointF screenToClient(const QWidget &control, const QPointF &screen)
{
    const QWidget *parent = control.parentWidget();
    return parent ? parent->mapFromGlobal(screen) : screen;
}

QPointF clientToScreen(const QWidget &control, const QPointF &client)
{
    const QWidget *parent = control.parentWidget();
    return parent ? parent->mapToGlobal(client) : client;
}

QPoint rounded(const QPointF &point)
{
    return QPoint(Twips::roundHalfEven(point.x()), Twips::roundHalfEven(point.y()));
}

// Both corners are worked out before either is stored, so an overflow leaves
// the rectangle as it was.
void setCorners(Kivo_CRect &rect, const QPoint &topLeft, const QPoint &bottomRight)
{
    rect.Left = topLeft.x();
    rect.Top = topLeft.y();
    rect.Right = bottomRight.x();
    rect.Bottom = bottomRight.y();
}

} // namespace

qint32 Kivo_CRect::Width() const
{
    return difference(Right, Left, "width");
}

void Kivo_CRect::setWidth(qint32 width)
{
    Right = sum(Left, width, "right edge");
}

qint32 Kivo_CRect::Height() const
{
    return difference(Bottom, Top, "height");
}

void Kivo_CRect::setHeight(qint32 height)
{
    Bottom = sum(Top, height, "bottom edge");
}

void Kivo_CRect::SetRectToCtrl(const QWidget *control)
{
    if (const auto *line = qobject_cast<const LineControl *>(&required(control))) {
        setCorners(*this, line->line().p1(), line->line().p2());
        LineFlags = 0;
        if (Left > Right)
            LineFlags |= RightToLeft;
        if (Top > Bottom)
            LineFlags |= BottomToTop;
        NormalizeRect();
        return;
    }
    const QRect twips = TwipsGeometry::geometry(control);
    const QPoint bottomRight(sum(twips.x(), twips.width(), "right edge"),
                             sum(twips.y(), twips.height(), "bottom edge"));
    setCorners(*this, twips.topLeft(), bottomRight);
    LineFlags = 0;
}

void Kivo_CRect::SetCtrlToRect(QWidget *control)
{
    if (auto *line = qobject_cast<LineControl *>(&required(control))) {
        const bool rightToLeft = LineFlags & RightToLeft;
        const bool bottomToTop = LineFlags & BottomToTop;
        line->setLine(QLine(rightToLeft ? Right : Left, bottomToTop ? Bottom : Top,
                            rightToLeft ? Left : Right, bottomToTop ? Top : Bottom));
        NormalizeRect();
        return;
    }
    NormalizeRect();
    const bool heightFixed = control->objectName() == QLatin1String("m_aCombo");
    const qint32 height = heightFixed ? TwipsGeometry::geometry(control).height() : Height();
    TwipsGeometry::setGeometry(control, QRect(Left, Top, Width(), height));
}

void Kivo_CRect::ScreenToTwips(const QWidget *control)
{
    if (!control)
        return;
    const double t = TwipsGeometry::twipsPerPixelX(control);
    const QPoint topLeft = rounded(screenToClient(*control, QPointF(Left, Top)) * t);
    const QPoint bottomRight = rounded(screenToClient(*control, QPointF(Right, Bottom)) * t);
    setCorners(*this, topLeft, bottomRight);
}

void Kivo_CRect::TwipsToScreen(const QWidget *control)
{
    const QWidget &target = required(control);
    const double t = TwipsGeometry::twipsPerPixelX(&target);
    const QPoint topLeft = rounded(clientToScreen(target, rounded(QPointF(Left, Top) / t)));
    const QPoint bottomRight = rounded(clientToScreen(target, rounded(QPointF(Right, Bottom) / t)));
    setCorners(*this, topLeft, bottomRight);
}

void Kivo_CRect::NormalizeRect()
{
    if (Left > Right)
        std::swap(Left, Right);
    if (Top > Bottom)
        std::swap(Top, Bottom);
}

bool Kivo_CRect::PtInRect(float x, float y) const
{
    // In double: a float cannot hold every 32-bit edge.
    return Left <= double(x) && double(x) < Right && Top <= double(y) && double(y) < Bottom;
}
