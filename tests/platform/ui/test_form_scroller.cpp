#include "platform/Err.h"
#include "platform/ui/FormScroller.h"
#include "platform/ui/ScrollGeometry.h"

#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

// Guards the unit conversion (15 twips a pixel at 96 DPI, also when a screen
// reports no DPI) and the limits of a position.
TEST(ScrollGeometry, ConvertsTwipsAndClampsPositions)
{
    EXPECT_DOUBLE_EQ(ScrollGeometry::twipsPerPixel(96), 15);
    EXPECT_DOUBLE_EQ(ScrollGeometry::twipsPerPixel(144), 10);
    EXPECT_DOUBLE_EQ(ScrollGeometry::twipsPerPixel(0), 15);
    EXPECT_EQ(ScrollGeometry::toPixels(2500, 15), 167);
    EXPECT_EQ(ScrollGeometry::toPixels(7, 15), 0);
    EXPECT_EQ(ScrollGeometry::toPixels(8, 15), 1);
    EXPECT_DOUBLE_EQ(ScrollGeometry::toTwips(167, 15), 2505);
    EXPECT_DOUBLE_EQ(ScrollGeometry::clampPosition(-1, 900), 0);
    EXPECT_DOUBLE_EQ(ScrollGeometry::clampPosition(901, 900), 900);
    EXPECT_DOUBLE_EQ(ScrollGeometry::clampPosition(450, 900), 450);
    EXPECT_DOUBLE_EQ(ScrollGeometry::clampPosition(10, -5), 0);
}

namespace {

// A field area 1000 pixels tall in a 300 x 200 view: a visible field at the
// top and a hidden end marker further down, as the form builds it.
struct ScrolledForm
{
    ScrolledForm()
    {
        scroller.resize(300, 200);
        auto *fields = new QWidget;
        field = new QLabel(QStringLiteral("History:"), fields);
        field->setGeometry(10, 10, 100, 20);
        endMarker = new QLabel(fields);
        endMarker->setGeometry(0, 990, 10, 10);
        endMarker->hide();
        scroller.setWidget(fields);
        scroller.show();
        scroller.ResetTo(endMarker);
        scroller.RefreshScroller();
    }

    FormScroller scroller;
    QLabel *field;
    QLabel *endMarker;
};

} // namespace

// Guards the range: the hidden end marker must count (a hidden control is
// not in the children's extent), positions are twips held to 0..ScrollMax,
// and a step between pixels is kept exactly instead of drifting.
TEST(FormScroller, PositionsAreTwipsWithinRange)
{
    ScrolledForm form;
    ASSERT_DOUBLE_EQ(form.scroller.twipsPerPixel(), 15);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollMax(), (1000 - 200) * 15);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 0);

    form.scroller.ScrollBy(2500);
    form.scroller.ScrollBy(2500);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 5000);
    EXPECT_EQ(form.scroller.widget()->y(), -333);

    form.scroller.ScrollBy(100000);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), form.scroller.ScrollMax());
    form.scroller.setScrollPosition(-40);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 0);
    EXPECT_EQ(form.scroller.widget()->y(), 0);

    // Without the marker the fields end at the visible one: nothing scrolls.
    form.scroller.ResetTo(nullptr);
    form.scroller.RefreshScroller();
    EXPECT_DOUBLE_EQ(form.scroller.ScrollMax(), 0);
    form.scroller.ScrollBy(2500);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 0);
}

// Guards the events around every step, whoever makes it: before with the old
// and new position while the content has not moved yet, after with the new
// one once it has; nothing when the position does not change.
TEST(FormScroller, AnnouncesEveryStepBeforeAndAfter)
{
    ScrolledForm form;
    QSignalSpy before(&form.scroller, &FormScroller::beforeScroll);
    QSignalSpy after(&form.scroller, &FormScroller::afterScroll);
    QList<int> contentTopAtBefore;
    QObject::connect(&form.scroller, &FormScroller::beforeScroll,
                     [&] { contentTopAtBefore.append(form.scroller.widget()->y()); });

    form.scroller.ScrollBy(2500);
    ASSERT_EQ(before.size(), 1);
    EXPECT_DOUBLE_EQ(before.at(0).at(0).toDouble(), 0);
    EXPECT_DOUBLE_EQ(before.at(0).at(1).toDouble(), 2500);
    EXPECT_EQ(contentTopAtBefore.value(0), 0);
    ASSERT_EQ(after.size(), 1);
    EXPECT_DOUBLE_EQ(after.at(0).at(0).toDouble(), 2500);

    form.scroller.ScrollBy(3); // less than a pixel: still a step of its own
    ASSERT_EQ(after.size(), 2);
    EXPECT_DOUBLE_EQ(after.at(1).at(0).toDouble(), 2503);

    form.scroller.verticalScrollBar()->setValue(10); // the user on the scroll bar
    ASSERT_EQ(before.size(), 3);
    EXPECT_DOUBLE_EQ(before.at(2).at(0).toDouble(), 2503);
    EXPECT_DOUBLE_EQ(before.at(2).at(1).toDouble(), 150);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 150);

    form.scroller.ResetTo(form.endMarker);
    ASSERT_EQ(after.size(), 4);
    EXPECT_DOUBLE_EQ(after.at(3).at(0).toDouble(), 0);
    form.scroller.ResetTo(form.endMarker);
    form.scroller.ScrollBy(-2500);
    EXPECT_EQ(after.size(), 4);
}

// Guards a resize of the window: the position stays while it fits, is pulled
// back (with its events) when the maximum shrinks below it, and the fields
// follow the view's width.
TEST(FormScroller, ResizeKeepsPositionWithinTheNewRange)
{
    ScrolledForm form;
    form.scroller.ScrollBy(3000);
    form.scroller.resize(400, 300);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollMax(), (1000 - 300) * 15);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 3000);
    EXPECT_EQ(form.scroller.widget()->width(), form.scroller.viewport()->width());

    form.scroller.ScrollBy(100000);
    QSignalSpy after(&form.scroller, &FormScroller::afterScroll);
    form.scroller.resize(400, 900);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollMax(), 100 * 15);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 100 * 15);
    ASSERT_FALSE(after.isEmpty());
    EXPECT_DOUBLE_EQ(after.last().at(0).toDouble(), 100 * 15);
}

// Guards ResetTo against a reference that is not on the form (it would
// measure the wrong window).
TEST(FormScroller, ResetToRefusesForeignControls)
{
    ScrolledForm form;
    QLabel stranger;
    EXPECT_THROW(form.scroller.ResetTo(&stranger), Err);
}
