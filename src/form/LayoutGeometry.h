#pragma once

#include <QRect>
#include <QStringList>

struct LayoutRecord;

// The arithmetic that turns stored layout entries into control geometry, in
// twips, and scales the form by the display's factor. Free of widgets so the
// rules can be checked on their own.
namespace LayoutGeometry {

// The largest distance, in twips, a stored coordinate or size may have from 0
// (about 69 inches, 6667 pixels at 96 DPI): beyond any screen, yet small
// enough that placing, scaling and converting it to pixels cannot overflow an
// int, and that a window of that size is still one Qt can allocate.
constexpr int StoredTwipsLimit = 100000;

// Brings every coordinate and size of a stored entry within
// +-StoredTwipsLimit, so a damaged or hostile layout still builds a form.
// Answers the names of the values it changed ("top", "width"...), empty when
// the entry was sane.
QStringList clampToSaneRange(LayoutRecord &entry);

// The display's scale factor as used for geometry: unset (0) means 1.
double effectiveFactor(double uiFactor);

// A control's rectangle after one layout entry: left and top (moved down by
// origin) always, width and height only when stored greater than 0. Drop-
// downs keep their own height (withHeight false).
QRect placed(const QRect &current, const LayoutRecord &entry, int origin, bool withHeight);

// Where field positions count from: just below the angiography row. A
// rebuild from the default layout measures controls that are already
// scaled, so it divides the factor back out.
int fieldAreaOrigin(int angioLabelHeight, int angioBoxHeight, bool fromDefault, double uiFactor);

// Every edge multiplied by the factor.
QRect scaled(const QRect &rect, double uiFactor);

// How far every scaled control moves up once the form is scaled: half of the
// status line's scaled top; nothing at factor 1.
int scaleShift(int statusTop, double uiFactor);

// A stored window dimension (twips; -1 = not stored) as pixels at the factor;
// -1 when not stored.
int windowPixels(int storedTwips, double uiFactor, double twipsPerPixel);

} // namespace LayoutGeometry

// Saving the layout, the other way round. f is the display's factor, F the
// whole number nearest to it.
namespace LayoutGeometry {

// A control's or the form's dimension as stored: rounded to whole twips, then
// divided by F (integer division) unless f is exactly 1.
int unscaled(double twips, double uiFactor);

// A control's stored top: its unscaled top, raised by half the status line's
// top (factor other than 1) and counted from the field-area origin (divided
// by F) rather than from the top of the area.
int storedTop(int top, double uiFactor, int statusTop, int origin);

} // namespace LayoutGeometry
