#pragma once

#include "common/Kivo_CRect.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

// The arithmetic of dragging and sizing a control in design mode, free of
// widgets: where the frame goes as the mouse moves, and where the eight
// sizing handles sit around a control.
namespace DesignGeometry {

// The rectangle of the same size with its top-left corner at topLeft.
Kivo_CRect moved(const Kivo_CRect &rect, const QPoint &topLeft);

// Moved as above, then shifted back inside bounds as far as it fits.
Kivo_CRect movedWithin(const Kivo_CRect &rect, const QPoint &topLeft, const QRect &bounds);

// The edges that handle pulls, moved to the cursor: 0 left and top, 1 top,
// 2 right and top, 3 right, 4 right and bottom, 5 bottom, 6 left and bottom,
// 7 left. Past the opposite edge the rectangle turns inside out; it is
// normalised when it is applied.
Kivo_CRect sized(const Kivo_CRect &rect, int handle, const QPoint &cursor);

// The top-left corner of handle k (0-7, clockwise from the top-left corner)
// around rect (twips), for handles of handleSize twips: centred on its
// corner or edge midpoint, and half a pixel inside at the corners.
QPoint handlePosition(int handle, const QRect &rect, const QSize &handleSize,
                      const QPointF &twipsPerPixel);

} // namespace DesignGeometry
