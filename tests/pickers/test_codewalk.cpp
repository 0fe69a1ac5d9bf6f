// Walking the code trees without a window: what the pickers list, choose,
// return and describe.
#include "SampleCodeTrees.h"
#include "TestLog.h"
#include "pickers/codewalk/AcrCodeWalk.h"
#include "pickers/codewalk/AngioCodeOrder.h"
#include "pickers/codewalk/AngioCodeWalk.h"
#include "platform/config/FreeConfigTree.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

QStringList codesOf(const CodeWalk &walk)
{
    QStringList codes;
    for (const CodeEntry &entry : walk.entries())
        codes << entry.code;
    return codes;
}

template <typename Walk> class WalkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto tree = std::make_shared<FreeConfigTree>();
        if constexpr (std::is_same_v<Walk, AcrCodeWalk>) {
            SampleCodeTrees::writeAcr(*tree);
            walk.setTree(tree);
            walk.showAnatomy();
        } else {
            SampleCodeTrees::writeAngio(*tree);
            walk.setTree(tree);
            walk.showTop();
        }
    }
    void choose(const QString &code) { walk.select(walk.indexOf(code)); }

    Walk walk;
};

using AcrWalk = WalkTest<AcrCodeWalk>;
using AngioWalk = WalkTest<AngioCodeWalk>;

} // namespace

// Guards against a code the tree lacks being dropped (OK would then erase
// the record's code) or cut to its longest known prefix.
TEST_F(AcrWalk, IncomingCodeMissingFromTheTreeIsKept)
{
    walk.navigateTo(QStringLiteral("1239 - 49"));
    EXPECT_EQ(walk.result(), QStringLiteral("1239 - 49"));
    EXPECT_EQ(walk.caption(2), QStringLiteral(" 123        Cerebrum"));
    EXPECT_EQ(walk.caption(6), QStringLiteral(" 4        Neoplasm"));

    walk.showAnatomy();
    walk.navigateTo(QStringLiteral("9 - 45"));
    // No region was found, so there is no pathology list to walk.
    EXPECT_EQ(walk.mode(), AcrCodeWalk::Mode::Anatomy);
    EXPECT_EQ(codesOf(walk), (QStringList{"1", "2"}));
    EXPECT_EQ(walk.result(), QStringLiteral("9 - 45"));
}

// Guards against up losing the level it came from, leaving the pathology
// button on with no region chosen, or clearing an anatomy caption while the
// pathology list is walked; against "path_code" or a "description" key
// listed as codes, and a chosen leaf replacing its siblings.
TEST_F(AcrWalk, ListsCodesOnlyAndUpReturnsLevelByLevel)
{
    choose(QStringLiteral("1"));
    choose(QStringLiteral("12"));
    EXPECT_EQ(codesOf(walk), (QStringList{"123", "124"}));
    walk.up();
    EXPECT_EQ(walk.anatomyCode(), QStringLiteral("1"));
    EXPECT_EQ(walk.caption(1), QString());
    EXPECT_EQ(codesOf(walk), (QStringList{"11", "12"}));
    EXPECT_TRUE(walk.pathologyAvailable());
    walk.up();
    EXPECT_EQ(walk.anatomyCode(), QString());
    EXPECT_EQ(codesOf(walk), (QStringList{"1", "2"}));
    EXPECT_FALSE(walk.pathologyAvailable());

    choose(QStringLiteral("1"));
    choose(QStringLiteral("12"));
    walk.showPathology();
    choose(QStringLiteral("4"));
    EXPECT_EQ(codesOf(walk), (QStringList{"45"}));
    walk.up();
    EXPECT_EQ(walk.pathologyCode(), QString());
    EXPECT_EQ(codesOf(walk), (QStringList{"4", "5"}));
    walk.up();
    walk.up();
    EXPECT_EQ(walk.caption(1), QStringLiteral(" 12        Brain"));
    EXPECT_EQ(walk.anatomyCode(), QStringLiteral("12"));
    EXPECT_EQ(walk.pathologicDesc(), QString());

    walk.showAnatomy();
    for (const char *code : {"1", "12", "124"})
        choose(QLatin1String(code));
    EXPECT_EQ(codesOf(walk), (QStringList{"123", "124"}));
}

// Guards against a failing list fill when the store has no tree: the list
// stays empty and support finds the missing tree in the log (the dialog
// test checks that a typed code still comes back).
TEST(WalkWithoutTree, ListsNothingAndLogsTheMissingTree)
{
    const auto logged = [](const char *source, const char *message) {
        return TestLog::count(QLatin1String(source), QLatin1String(message));
    };
    const int acrBefore = logged("Kivo_ACRCodeFrm", "No ACR code tree is exists!");
    const int angioBefore = logged("Kivo_AngioCodeFrm", "No Angio code tree is exists!");
    AcrCodeWalk acr;
    acr.showAnatomy();
    acr.navigateTo(QStringLiteral("12"));
    EXPECT_TRUE(acr.entries().isEmpty());
    AngioCodeWalk angio;
    angio.showTop();
    EXPECT_TRUE(angio.entries().isEmpty());
    EXPECT_EQ(logged("Kivo_ACRCodeFrm", "No ACR code tree is exists!"), acrBefore + 1);
    EXPECT_EQ(logged("Kivo_AngioCodeFrm", "No Angio code tree is exists!"), angioBefore + 1);
}

// Guards against text order (4.10 before 4.2), against the two-digit limit
// of zero padding, and against unnumbered parts breaking the order.
TEST(AngioCodeOrder, OrdersPartsByValue)
{
    QStringList codes{"4.10", "4.x", "4.2", "4.100", "4.1", "4", "10"};
    std::stable_sort(codes.begin(), codes.end(), AngioCodeOrder::lessThan);
    EXPECT_EQ(codes, (QStringList{"4", "4.1", "4.2", "4.10", "4.100", "4.x", "10"}));
}

// Guards against up on a one-part code leaving it in the box, up returning
// to the wrong level, an incoming code the tree lacks being dropped, and a
// typed code that names no key (empty parts, "\") failing the dialog.
TEST_F(AngioWalk, UpAndTypedCodes)
{
    choose(QStringLiteral("5"));
    walk.up();
    EXPECT_EQ(walk.code(), QString());
    EXPECT_EQ(codesOf(walk), (QStringList{"4", "5"}));
    EXPECT_EQ(walk.angioDesc(), QString());

    walk.navigateTo(QStringLiteral("4.12.3"));
    walk.up();
    EXPECT_EQ(walk.code(), QStringLiteral("4.12"));
    EXPECT_EQ(codesOf(walk), (QStringList{"4.1", "4.2", "4.10", "4.12", "4.x"}));
    EXPECT_EQ(walk.caption(2), QString());

    walk.showTop();
    walk.navigateTo(QStringLiteral("4.7"));
    EXPECT_EQ(walk.code(), QStringLiteral("4.7"));

    for (const QString typed : {"4..12.3", "a\\\\b.c.d"}) {
        walk.setCode(typed);
        EXPECT_NO_THROW(walk.up()) << typed.toStdString();
        EXPECT_NO_THROW(walk.navigateTo(typed)) << typed.toStdString();
    }
}

// Guards against a chosen hit ending anywhere but where walking there ends:
// another code, captions left from the walk before, a level missing from the
// descriptions, or the pathology list of another region. Every leaf of a
// generated 3,000-code tree is found by its digits ("A - P" below the
// region's anatomy code for pathology) and chosen from the previous leaf.
TEST(WalkSearch, ChoosingAHitEndsWhereWalkingThereEnds)
{
    auto tree = std::make_shared<FreeConfigTree>();
    const QStringList keyPaths = SampleCodeTrees::writeGeneratedAcr(*tree, 3000);
    AcrCodeWalk searched;
    searched.setTree(tree);
    searched.showAnatomy();
    AcrCodeWalk walked;
    walked.setTree(tree);
    const QString separator = QStringLiteral("\\");
    int leaves = 0;
    for (const QString &keyPath : keyPaths) {
        if (keyPaths.contains(keyPath + separator + keyPath.section(separator, -1) + '0'))
            continue;
        ++leaves;
        QStringList parts = keyPath.split(separator);
        const bool pathology = parts.size() > 1 && parts[1] == QLatin1String("path_code");
        const QString code = pathology ? parts[0] + " - " + parts.last() : parts.last();
        if (!pathology && searched.mode() == AcrCodeWalk::Mode::Pathology)
            searched.showAnatomy(); // the user goes back to the anatomy codes first
        const CodeHits hits = searched.search(code);
        int hit = 0;
        while (hit < hits.size() && hits.code(hit) != code)
            ++hit;
        ASSERT_LT(hit, hits.size()) << code.toStdString();
        searched.choose(hits, hit);

        walked.showAnatomy();
        if (pathology) {
            walked.select(walked.indexOf(parts.takeFirst()));
            walked.showPathology();
            parts.removeFirst();
        }
        for (const QString &part : parts)
            walked.select(walked.indexOf(part));

        ASSERT_EQ(searched.result(), walked.result());
        ASSERT_EQ(searched.anatomyDesc(), walked.anatomyDesc()) << code.toStdString();
        ASSERT_EQ(searched.pathologicDesc(), walked.pathologicDesc()) << code.toStdString();
        ASSERT_EQ(searched.info(), walked.info()) << code.toStdString();
        ASSERT_EQ(searched.entries().size(), walked.entries().size()) << code.toStdString();
    }
    EXPECT_GT(leaves, 2000);
}

int main(int argc, char **argv)
{
    TestLog::useTemporaryFolder();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
