#pragma once

#include <QRect>
#include <QRectF>

// The arithmetic of keeping a child in proportion to its parent.
namespace ProportionalGeometry {

// geometry as fractions of size; a null rect for an empty size.
QRectF relative(const QRect &geometry, const QSize &size);
// The rectangle those fractions give at size. Edges are rounded, not the
// width, so children that touch keep touching at every size.
QRect absolute(const QRectF &relative, const QSize &size);

} // namespace ProportionalGeometry
