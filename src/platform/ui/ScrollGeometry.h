#pragma once

// Twips (1/1440 inch) against screen pixels for the form scroller, and the
// limits of a scroll position; plain arithmetic, checked without a screen.
namespace ScrollGeometry {

constexpr double TwipsPerInch = 1440.0;

// 15 at 96 DPI. A screen that reports no DPI counts as 96 DPI.
double twipsPerPixel(double logicalDpi);
// The nearest whole pixel.
int toPixels(double twips, double twipsPerPixel);
double toTwips(int pixels, double twipsPerPixel);
// position held to 0..maximum; a negative maximum counts as 0.
double clampPosition(double position, double maximum);

} // namespace ScrollGeometry
