#include "platform/Err.h"
#include "platform/ui/FormScroller.h"

#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

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
// a step between pixels is kept exactly instead of drifting, a resize pulls
// a position beyond the shrunken maximum back (with its events), and only
// controls of the form can mark its end.
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
    QSignalSpy after(&form.scroller, &FormScroller::afterScroll);
    form.scroller.resize(400, 900);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollMax(), 100 * 15);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 100 * 15);
    ASSERT_FALSE(after.isEmpty());
    EXPECT_DOUBLE_EQ(after.last().at(0).toDouble(), 100 * 15);
    form.scroller.setScrollPosition(-40);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 0);
    EXPECT_EQ(form.scroller.widget()->y(), 0);

    // Without the marker the fields end at the visible one: nothing scrolls.
    form.scroller.ResetTo(nullptr);
    form.scroller.RefreshScroller();
    EXPECT_DOUBLE_EQ(form.scroller.ScrollMax(), 0);
    form.scroller.ScrollBy(2500);
    EXPECT_DOUBLE_EQ(form.scroller.ScrollPosition(), 0);

    // A reference that is not on the form would measure the wrong window.
    QLabel stranger;
    EXPECT_THROW(form.scroller.ResetTo(&stranger), Err);
}

// Guards the events around every step, whoever makes it: before with the old
// and new position while the content has not moved yet, after with the new
// one once it has; nothing when the position does not change.
TEST(FormScroller, AnnouncesEveryStepBeforeAndAfter)
{
    ScrolledForm form;
    QStringList events;
    QObject::connect(&form.scroller, &FormScroller::beforeScroll, [&](double from, double to) {
        events << QStringLiteral("before %1>%2, content at %3")
                      .arg(from)
                      .arg(to)
                      .arg(form.scroller.widget()->y());
    });
    QObject::connect(&form.scroller, &FormScroller::afterScroll, [&](double position) {
        events << QStringLiteral("after %1, content at %2")
                      .arg(position)
                      .arg(form.scroller.widget()->y());
    });

    form.scroller.ScrollBy(2500);
    form.scroller.ScrollBy(3);                       // less than a pixel: still a step of its own
    form.scroller.verticalScrollBar()->setValue(10); // the user on the scroll bar
    form.scroller.ResetTo(form.endMarker);
    form.scroller.ResetTo(form.endMarker); // already at the top
    form.scroller.ScrollBy(-2500);
    EXPECT_EQ(events,
              (QStringList{"before 0>2500, content at 0", "after 2500, content at -167",
                           "before 2500>2503, content at -167", "after 2503, content at -167",
                           "before 2503>150, content at -167", "after 150, content at -10",
                           "before 150>0, content at -10", "after 0, content at 0"}));
}
