#pragma once

#include <QRect>

class QWidget;

// A form control's position and size in twips of its form (1/1440 inch).
// The twips rectangle is the source of truth: it is kept on the control and
// the pixel geometry is derived from it, so reading back what was set is
// exact and scaling by a whole factor never accumulates rounding.
namespace TwipsGeometry {

// Twips per pixel of the screen the widget is on (15 at 96 DPI), per axis.
double twipsPerPixelX(const QWidget *widget);
double twipsPerPixelY(const QWidget *widget);

// The control's twips rectangle: the one last set, or, for a control never
// set in twips, its pixel geometry converted.
QRect geometry(const QWidget *control);
// Keeps rect on the control and moves/resizes it to the matching pixels.
void setGeometry(QWidget *control, const QRect &twipsRect);

// Single edges, each keeping the other three.
void setLeft(QWidget *control, int twips);
void setTop(QWidget *control, int twips);
void setWidth(QWidget *control, int twips);
void setHeight(QWidget *control, int twips);

} // namespace TwipsGeometry
