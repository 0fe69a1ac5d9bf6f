#include "ProportionalGeometry.h"

namespace ProportionalGeometry {

QRectF relative(const QRect &geometry, const QSize &size)
{
    if (size.isEmpty())
        return {};
    const qreal w = size.width();
    const qreal h = size.height();
    return {geometry.x() / w, geometry.y() / h, geometry.width() / w, geometry.height() / h};
}

QRect absolute(const QRectF &relative, const QSize &size)
{
    const int left = qRound(relative.left() * size.width());
    const int top = qRound(relative.top() * size.height());
    const int right = qRound((relative.left() + relative.width()) * size.width());
    const int bottom = qRound((relative.top() + relative.height()) * size.height());
    return {left, top, right - left, bottom - top};
}

} // namespace ProportionalGeometry
