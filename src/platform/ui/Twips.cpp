#include "Twips.h"

#include "platform/Err.h"

#include <cmath>
#include <limits>

namespace Twips {

int roundHalfEven(double value)
{
    // std::nearbyint follows the default rounding mode: to nearest, ties to even.
    const double rounded = std::nearbyint(value);
    // Also false for NaN, which has no integer to become.
    if (!(rounded >= std::numeric_limits<int>::min() && rounded <= std::numeric_limits<int>::max()))
        throw Err(Err::Overflow,
                  QStringLiteral("Overflow: %1 does not fit in a 32-bit integer").arg(value));
    return int(rounded);
}

double perPixel(double logicalDpi)
{
    return PerInch / (logicalDpi > 0 ? logicalDpi : DefaultDpi);
}

int toPixels(double twips, double twipsPerPixel)
{
    return roundHalfEven(twips / twipsPerPixel);
}

int fromPixels(int pixels, double twipsPerPixel)
{
    return roundHalfEven(pixels * twipsPerPixel);
}

} // namespace Twips
