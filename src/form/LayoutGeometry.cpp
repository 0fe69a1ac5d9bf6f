#include "form/LayoutGeometry.h"

#include "config/LayoutRecord.h"
#include "platform/ui/Twips.h"

#include <algorithm>

namespace LayoutGeometry {

namespace {

int wholeFactor(double uiFactor)
{
    return Twips::roundHalfEven(effectiveFactor(uiFactor));
}

} // namespace

QStringList clampToSaneRange(LayoutRecord &entry)
{
    QStringList clamped;
    const auto clamp = [&clamped](qint32 &value, const char *name) {
        const qint32 sane = std::clamp(value, -StoredTwipsLimit, StoredTwipsLimit);
        if (sane != value)
            clamped << QLatin1String(name);
        value = sane;
    };
    clamp(entry.top, "top");
    clamp(entry.left, "left");
    clamp(entry.width, "width");
    clamp(entry.height, "height");
    return clamped;
}

double effectiveFactor(double uiFactor)
{
    return uiFactor == 0 ? 1.0 : uiFactor;
}

QRect placed(const QRect &current, const LayoutRecord &entry, int origin, bool withHeight)
{
    QRect rect = current;
    rect.moveTo(entry.left, entry.top + origin);
    if (entry.width > 0)
        rect.setWidth(entry.width);
    if (withHeight && entry.height > 0)
        rect.setHeight(entry.height);
    return rect;
}

int fieldAreaOrigin(int angioLabelHeight, int angioBoxHeight, bool fromDefault, double uiFactor)
{
    const int origin = angioLabelHeight + angioBoxHeight;
    return fromDefault ? origin / wholeFactor(uiFactor) : origin;
}

QRect scaled(const QRect &rect, double uiFactor)
{
    const double factor = effectiveFactor(uiFactor);
    return QRect(
        Twips::roundHalfEven(rect.left() * factor), Twips::roundHalfEven(rect.top() * factor),
        Twips::roundHalfEven(rect.width() * factor), Twips::roundHalfEven(rect.height() * factor));
}

int scaleShift(int statusTop, double uiFactor)
{
    return effectiveFactor(uiFactor) == 1.0 ? 0 : statusTop / 2;
}

int windowPixels(int storedTwips, double uiFactor, double twipsPerPixel)
{
    if (storedTwips == -1)
        return -1;
    return Twips::toPixels(storedTwips * effectiveFactor(uiFactor), twipsPerPixel);
}

} // namespace LayoutGeometry

namespace LayoutGeometry {

int unscaled(double twips, double uiFactor)
{
    const int whole = Twips::roundHalfEven(twips);
    return effectiveFactor(uiFactor) == 1.0 ? whole : whole / wholeFactor(uiFactor);
}

int storedTop(int top, double uiFactor, int statusTop, int origin)
{
    const int adjustment = effectiveFactor(uiFactor) == 1.0 ? 0 : statusTop / 2;
    return unscaled(top, uiFactor) + adjustment - origin / wholeFactor(uiFactor);
}

} // namespace LayoutGeometry
