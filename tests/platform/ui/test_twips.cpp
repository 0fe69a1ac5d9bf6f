#include "platform/Err.h"
#include "platform/ui/Twips.h"

#include <gtest/gtest.h>

#include <limits>

// Guards against a pixel that moves on its way through twips: design mode
// converts the mouse position on every move, so a dragged control would
// creep. Also at a DPI whose twips per pixel are not whole, where truncating
// loses a pixel, and left of and above the window, where a drag may go.
TEST(Twips, PixelsSurviveTheRoundTrip)
{
    EXPECT_DOUBLE_EQ(Twips::perPixel(0), 15);
    for (const double dpi : {96.0, 144.0, 110.0}) {
        const double t = Twips::perPixel(dpi);
        for (int pixel = -200; pixel <= 4000; ++pixel)
            ASSERT_EQ(Twips::toPixels(Twips::fromPixels(pixel, t), t), pixel) << dpi << " DPI";
    }
}

// Guards against a second rounding rule (window and control sizes a pixel
// apart): halves go to the even neighbour on both sides of zero; and against
// a value beyond 32 bits wrapping round instead of failing.
TEST(Twips, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(Twips::roundHalfEven(-2.5), -2);
    EXPECT_EQ(Twips::toPixels(37.5, 15), 2);
    EXPECT_EQ(Twips::fromPixels(5, 14.5), 72);
    EXPECT_EQ(Twips::fromPixels(7, 14.5), 102);

    EXPECT_THROW(Twips::fromPixels(std::numeric_limits<int>::max() / 2, 15), Err);
    EXPECT_THROW(Twips::roundHalfEven(std::numeric_limits<double>::quiet_NaN()), Err);
}
