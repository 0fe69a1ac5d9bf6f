#include "platform/Err.h"
#include "platform/config/FreeConfigTree.h"
#include "platform/environment/DisplayProfileService.h"

#include <gtest/gtest.h>

namespace {

// A committed profile whose primary display is colour_resolution_orientation
// and whose second entry is `second`.
DisplayProfile profileOf(const char *colour, const char *resolution, const char *orientation,
                         const DisplayDescriptor &second = DisplayDescriptor())
{
    DisplayDescriptor primary;
    primary.colorMode = QString::fromLatin1(colour);
    primary.resolution = QString::fromLatin1(resolution);
    primary.orientation = QString::fromLatin1(orientation);
    DisplayProfile profile;
    profile.SetDescriptor(0, primary);
    profile.SetDescriptor(1, second);
    profile.Commit(0);
    return profile;
}

} // namespace

// Guards the choice of the display branch: the most specific fitting child
// wins, wildcards fit, a child for another display never does, and without a
// fit the branch itself ("") is used.
TEST(DisplayProfileService, PicksMostSpecificFittingChild)
{
    FreeConfigTree branch;
    branch.WriteLong(QStringLiteral("font_size"), 10);
    for (const char *child : {"Any_Normal_Any", "rgb_normal_landscape", "RGB_High_Landscape",
                              "PALETTE_Normal_Landscape"})
        branch.WriteLong(QLatin1String(child) + QStringLiteral("\\font_size"), 12);
    const auto best = [&](const DisplayProfile &profile, qint32 first = 0) {
        return DisplayProfileService().BestFitPath(branch, QString(), first, 1, profile);
    };
    EXPECT_EQ(best(profileOf("RGB", "Normal", "Landscape")),
              QStringLiteral("rgb_normal_landscape"));
    EXPECT_EQ(best(profileOf("RGB", "Normal", "Portrait")), QStringLiteral("Any_Normal_Any"));
    EXPECT_EQ(best(profileOf("RGB", "Normal", "Portrait"), 1), QString());
    EXPECT_EQ(best(profileOf("RGB", "High", "Portrait")), QString());
    // An unknown value ("-99") fits only a branch written for any value there.
    EXPECT_EQ(best(profileOf("-99", "Normal", "Landscape")), QStringLiteral("Any_Normal_Any"));
}

// Guards the fallback entries and the base path: the later entries are tried
// only when asked for, and a result below a base path keeps that path.
TEST(DisplayProfileService, TriesLaterEntriesAndKeepsBasePath)
{
    const DisplayProfileService service;
    FreeConfigTree tree;
    tree.WriteLong(QStringLiteral("font\\Any_Any_Any\\font_size"), 11);
    tree.WriteLong(QStringLiteral("font\\RGB_High_Portrait\\font_size"), 16);
    DisplayDescriptor second;
    second.colorMode = QStringLiteral("RGB");
    second.resolution = QStringLiteral("High");
    second.orientation = QStringLiteral("Portrait");
    const DisplayProfile profile = profileOf("PALETTE", "Normal", "Landscape", second);
    // Any_Any_Any fits the primary entry already.
    EXPECT_EQ(service.BestFitPath(tree, QStringLiteral("font"), 0, 1, profile),
              QStringLiteral("font\\Any_Any_Any"));
    EXPECT_EQ(service.BestFitPath(tree, QStringLiteral("font"), 1, 1, profile),
              QStringLiteral("font\\RGB_High_Portrait"));
    EXPECT_EQ(service.BestFitPath(tree, QStringLiteral("font"), 1, 0, profile),
              QStringLiteral("font"));
}

// Guards misuse of a profile: gaps in the entries, committing a missing
// entry, and asking with a profile that was never committed.
TEST(DisplayProfile, RejectsBadIndexesAndUncommittedUse)
{
    DisplayProfile profile;
    EXPECT_THROW(profile.SetDescriptor(1, DisplayDescriptor()), Err);
    EXPECT_THROW(profile.Commit(0), Err);
    profile.SetDescriptor(0, DisplayDescriptor());
    EXPECT_THROW(DisplayProfileService().BestFitPath(FreeConfigTree(), QString(), 0, 1, profile),
                 Err);
    EXPECT_THROW(profile.Commit(1), Err);
    profile.Commit(0);
    EXPECT_EQ(profile.preferenceOrder(), QList<qint32>{0});
}
