#include "ScrollGeometry.h"

#include <algorithm>

namespace ScrollGeometry {

double clampPosition(double position, double maximum)
{
    return std::clamp(position, 0.0, std::max(maximum, 0.0));
}

} // namespace ScrollGeometry
