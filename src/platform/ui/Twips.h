#pragma once

// Twips (1/1440 inch) against screen pixels: the one place that decides how
// a form measure becomes pixels and back. Plain arithmetic, checked without
// a screen.
//
// Every conversion rounds to the nearest integer with halves going to the
// even neighbour. With at least one twip per pixel this makes a round trip
// pixel -> twips -> pixel give the pixel it started from, so a control
// dragged in design mode lands where the mouse left it.
namespace Twips {

constexpr double PerInch = 1440.0;
// What a screen that reports no DPI counts as.
constexpr double DefaultDpi = 96.0;

// Nearest integer, halves to the even neighbour. Throws Err (Overflow) for a
// value beyond the int range (or not a number).
int roundHalfEven(double value);

// 15 at 96 DPI.
double perPixel(double logicalDpi);
int toPixels(double twips, double twipsPerPixel);
int fromPixels(int pixels, double twipsPerPixel);

} // namespace Twips
