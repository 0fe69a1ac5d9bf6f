#pragma once

#include "Twips.h"

// The limits of the form scroller's position; plain arithmetic, checked
// without a screen.
namespace ScrollGeometry {

// Twips to pixels as the scroller converts them: the twips unit's rule. The
// form sizes its window with it.
using Twips::toPixels;

// position held to 0..maximum; a negative maximum counts as 0.
double clampPosition(double position, double maximum);

} // namespace ScrollGeometry
