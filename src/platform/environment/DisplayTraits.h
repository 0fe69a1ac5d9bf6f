#pragma once

#include <QSize>

// How a screen is classified for display-specific settings; plain functions
// so the rules are checked without a screen.
namespace DisplayTraits {

enum : qint32 {
    Undetermined = -1,
    PaletteColor = 1,
    TrueColor = 3,
    Landscape = 0,
    Portrait = 1,
    NormalResolution = 0,
    HighResolution = 1,
};

qint32 colorModeForDepth(int bitsPerPixel);
qint32 orientationForSize(const QSize &size);
qint32 resolutionClassFor(qreal logicalDpi, qreal devicePixelRatio);

} // namespace DisplayTraits
