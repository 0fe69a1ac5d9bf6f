#include "ScrollGeometry.h"

#include <algorithm>
#include <cmath>

namespace ScrollGeometry {

double twipsPerPixel(double logicalDpi)
{
    return TwipsPerInch / (logicalDpi > 0 ? logicalDpi : 96.0);
}

int toPixels(double twips, double twipsPerPixel)
{
    return int(std::lround(twips / twipsPerPixel));
}

double toTwips(int pixels, double twipsPerPixel)
{
    return pixels * twipsPerPixel;
}

double clampPosition(double position, double maximum)
{
    return std::clamp(position, 0.0, std::max(maximum, 0.0));
}

} // namespace ScrollGeometry
