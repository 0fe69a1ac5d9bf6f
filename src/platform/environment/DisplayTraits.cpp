#include "DisplayTraits.h"

namespace DisplayTraits {

qint32 colorModeForDepth(int bitsPerPixel)
{
    if (bitsPerPixel <= 0)
        return Undetermined;
    return bitsPerPixel >= 24 ? TrueColor : PaletteColor;
}

qint32 orientationForSize(const QSize &size)
{
    if (size.isEmpty())
        return Undetermined;
    return size.width() >= size.height() ? Landscape : Portrait;
}

qint32 resolutionClassFor(qreal logicalDpi, qreal devicePixelRatio)
{
    if (logicalDpi <= 0 || devicePixelRatio <= 0)
        return Undetermined;
    // 144 DPI is 150 % of the classic 96; anything that dense, or drawn with
    // two device pixels per logical one, needs the large layouts.
    return logicalDpi >= 144 || devicePixelRatio >= 2 ? HighResolution : NormalResolution;
}

} // namespace DisplayTraits
