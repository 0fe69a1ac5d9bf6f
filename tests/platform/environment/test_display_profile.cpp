#include "platform/Err.h"
#include "platform/config/FreeConfigTree.h"
#include "platform/environment/DisplayProfileService.h"

#include <gtest/gtest.h>

namespace {

// A committed profile whose primary display is colour_resolution_orientation.
DisplayProfile profileOf(const char *colour, const char *resolution, const char *orientation)
{
    DisplayDescriptor primary;
    primary.colorMode = QString::fromLatin1(colour);
    primary.resolution = QString::fromLatin1(resolution);
    primary.orientation = QString::fromLatin1(orientation);
    DisplayProfile profile;
    profile.SetDescriptor(0, primary);
    profile.Commit(0);
    return profile;
}

} // namespace

// Guards the choice of the display branch: the most specific fitting child
// wins, wildcards fit, and without a fit the branch itself ("") is used.
TEST(DisplayProfileService, PicksMostSpecificFittingChild)
{
    FreeConfigTree branch;
    branch.WriteLong(QStringLiteral("font_size"), 10);
    for (const char *child : {"Any_Normal_Any", "rgb_normal_landscape", "RGB_High_Landscape",
                              "PALETTE_Normal_Landscape"})
        branch.WriteLong(QLatin1String(child) + QStringLiteral("\\font_size"), 12);
    const auto best = [&](const DisplayProfile &profile) {
        return DisplayProfileService().BestFitPath(branch, QString(), 0, 1, profile);
    };
    EXPECT_EQ(best(profileOf("RGB", "Normal", "Landscape")),
              QStringLiteral("rgb_normal_landscape"));
    EXPECT_EQ(best(profileOf("RGB", "Normal", "Portrait")), QStringLiteral("Any_Normal_Any"));
    EXPECT_EQ(best(profileOf("RGB", "High", "Portrait")), QString());
}
