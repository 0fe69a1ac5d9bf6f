#include "platform/Err.h"
#include "platform/config/FreeConfigTree.h"
#include "platform/environment/DisplayProfileService.h"

#include <gtest/gtest.h>

namespace {

DisplayDescriptor display(const char *colour, const char *resolution, const char *orientation)
{
    DisplayDescriptor d;
    d.colorMode = QString::fromLatin1(colour);
    d.resolution = QString::fromLatin1(resolution);
    d.orientation = QString::fromLatin1(orientation);
    return d;
}

DisplayProfile profileOf(const DisplayDescriptor &primary)
{
    DisplayProfile profile;
    profile.SetDescriptor(0, primary);
    profile.SetDescriptor(1, DisplayDescriptor());
    profile.Commit(0);
    return profile;
}

FreeConfigTree fontBranch(const QStringList &children)
{
    FreeConfigTree branch;
    branch.WriteLong(QStringLiteral("font_size"), 10);
    for (const QString &child : children)
        branch.WriteLong(child + QStringLiteral("\\font_size"), 12);
    return branch;
}

} // namespace

// Guards the choice of the display branch: the most specific fitting child
// wins, wildcards fit, a child for another display never does, and without a
// fit the branch itself ("") is used.
TEST(DisplayProfileService, PicksMostSpecificFittingChild)
{
    const DisplayProfileService service;
    const FreeConfigTree branch = fontBranch(
        {QStringLiteral("Any_Normal_Any"), QStringLiteral("rgb_normal_landscape"),
         QStringLiteral("RGB_High_Landscape"), QStringLiteral("PALETTE_Normal_Landscape")});

    EXPECT_EQ(service.BestFitPath(branch, QString(), 0, 1,
                                  profileOf(display("RGB", "Normal", "Landscape"))),
              QStringLiteral("rgb_normal_landscape"));
    EXPECT_EQ(service.BestFitPath(branch, QString(), 0, 1,
                                  profileOf(display("RGB", "Normal", "Portrait"))),
              QStringLiteral("Any_Normal_Any"));
    EXPECT_EQ(service.BestFitPath(branch, QString(), 1, 1,
                                  profileOf(display("RGB", "Normal", "Portrait"))),
              QString());
    EXPECT_EQ(
        service.BestFitPath(branch, QString(), 0, 1, profileOf(display("RGB", "High", "Portrait"))),
        QString());
    // An unknown value ("-99") fits only a branch written for any value there.
    EXPECT_EQ(service.BestFitPath(branch, QString(), 0, 1,
                                  profileOf(display("-99", "Normal", "Landscape"))),
              QStringLiteral("Any_Normal_Any"));
}

// Guards the fallback entries and the base path: the later entries are tried
// only when asked for, and a result below a base path keeps that path.
TEST(DisplayProfileService, TriesLaterEntriesAndKeepsBasePath)
{
    const DisplayProfileService service;
    FreeConfigTree tree;
    tree.WriteLong(QStringLiteral("font\\Any_Any_Any\\font_size"), 11);
    tree.WriteLong(QStringLiteral("font\\RGB_High_Portrait\\font_size"), 16);

    DisplayProfile profile = profileOf(display("PALETTE", "Normal", "Landscape"));
    profile.SetDescriptor(1, display("RGB", "High", "Portrait"));
    profile.Commit(0);
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
