#pragma once

// The limits of the form scroller's position; plain arithmetic, checked
// without a screen.
namespace ScrollGeometry {

// position held to 0..maximum; a negative maximum counts as 0.
double clampPosition(double position, double maximum);

} // namespace ScrollGeometry
