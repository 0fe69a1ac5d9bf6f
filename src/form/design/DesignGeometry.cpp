#include "form/design/DesignGeometry.h"

#include "platform/ui/Twips.h"

namespace DesignGeometry {

Kivo_CRect moved(const Kivo_CRect &rect, const QPoint &topLeft)
{
    Kivo_CRect result = rect;
    const qint32 width = rect.Width();
    const qint32 height = rect.Height();
    result.Left = topLeft.x();
    result.Top = topLeft.y();
    result.setWidth(width);
    result.setHeight(height);
    return result;
}

Kivo_CRect movedWithin(const Kivo_CRect &rect, const QPoint &topLeft, const QRect &bounds)
{
    const qint32 width = rect.Width();
    const qint32 height = rect.Height();
    // A control larger than the bounds keeps its top-left corner inside.
    const int left = qMax(bounds.left(), qMin(topLeft.x(), bounds.right() + 1 - width));
    const int top = qMax(bounds.top(), qMin(topLeft.y(), bounds.bottom() + 1 - height));
    return moved(rect, QPoint(left, top));
}

Kivo_CRect sized(const Kivo_CRect &rect, int handle, const QPoint &cursor)
{
    Kivo_CRect result = rect;
    const bool left = handle == 0 || handle == 6 || handle == 7;
    const bool top = handle == 0 || handle == 1 || handle == 2;
    const bool right = handle == 2 || handle == 3 || handle == 4;
    const bool bottom = handle == 4 || handle == 5 || handle == 6;
    if (left)
        result.Left = cursor.x();
    if (right)
        result.Right = cursor.x();
    if (top)
        result.Top = cursor.y();
    if (bottom)
        result.Bottom = cursor.y();
    return result;
}

QPoint handlePosition(int handle, const QRect &rect, const QSize &handleSize,
                      const QPointF &twipsPerPixel)
{
    const int halfW = handleSize.width() / 2;
    const int halfH = handleSize.height() / 2;
    const int px = Twips::roundHalfEven(twipsPerPixel.x() / 2);
    const int py = Twips::roundHalfEven(twipsPerPixel.y() / 2);
    const double l = rect.left();
    const double t = rect.top();
    const double w = rect.width();
    const double h = rect.height();

    // Columns: left edge, middle, right edge; rows likewise.
    const double xs[] = {l - halfW + px, l + w / 2 - halfW, l + w - halfW - px};
    const double ys[] = {t - halfH + py, t + h / 2 - halfH, t + h - halfH - py};
    static constexpr int column[] = {0, 1, 2, 2, 2, 1, 0, 0};
    static constexpr int row[] = {0, 0, 0, 1, 2, 2, 2, 1};
    return QPoint(Twips::roundHalfEven(xs[column[handle]]), Twips::roundHalfEven(ys[row[handle]]));
}

} // namespace DesignGeometry
