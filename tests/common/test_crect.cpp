#include "common/Kivo_CRect.h"
#include "platform/Err.h"
#include "platform/ui/LineControl.h"
#include "platform/ui/TwipsGeometry.h"

#include <QComboBox>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

int errorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Err &error) {
        return error.number();
    }
    return 0;
}

} // namespace

// Guards against hit tests that take the right or bottom neighbour for the
// control, and a width written to the wrong edge or tidied away before the
// caller normalizes.
TEST(Kivo_CRect, EdgesAndSize)
{
    Kivo_CRect r{10, 20, 30, 40};
    EXPECT_TRUE(r.PtInRect(10, 20));
    EXPECT_TRUE(r.PtInRect(29.5f, 39.5f));
    EXPECT_FALSE(r.PtInRect(30, 25));
    EXPECT_FALSE(r.PtInRect(15, 40));

    r.setWidth(0);
    EXPECT_EQ(r.Right, 10);
    r.setWidth(-5);
    EXPECT_EQ(r.Width(), -5);
    r.NormalizeRect();
    EXPECT_EQ(r.Left, 5);
    EXPECT_EQ(r.Right, 10);
}

// Guards against sizes and conversions that wrap round at 32 bits and put the
// control somewhere else; a failed conversion leaves the rectangle as it was.
TEST(Kivo_CRect, OverflowIsAnError)
{
    constexpr qint32 Max = std::numeric_limits<qint32>::max();
    Kivo_CRect r{-10, 10, Max, 0};
    EXPECT_EQ(errorNumber([&] { r.Width(); }), Err::Overflow);
    EXPECT_EQ(errorNumber([&] { r.setHeight(Max); }), Err::Overflow);
    EXPECT_EQ(r.Bottom, 0);

    QWidget window;
    r = Kivo_CRect{0, 0, Max / 2, 10};
    EXPECT_EQ(errorNumber([&] { r.ScreenToTwips(new QWidget(&window)); }), Err::Overflow);
    EXPECT_EQ(r.Right, Max / 2);
}

// Guards against a line that turns round when design mode moves it: its end
// points come back in their order, moved, and the widget draws them there.
TEST(Kivo_CRect, LineKeepsItsDirection)
{
    QWidget form;
    auto *line = new LineControl(&form);
    line->setLine(QLine(300, 200, 100, 50));

    Kivo_CRect r;
    r.SetRectToCtrl(line);
    EXPECT_EQ(QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom)),
              QRect(QPoint(100, 50), QPoint(300, 200)));
    EXPECT_EQ(r.LineFlags, Kivo_CRect::RightToLeft | Kivo_CRect::BottomToTop);

    for (qint32 *edge : {&r.Left, &r.Top, &r.Right, &r.Bottom})
        *edge += 10;
    r.SetCtrlToRect(line);
    EXPECT_EQ(line->line(), QLine(310, 210, 110, 60));
    // 15 twips a pixel: from (21, 14) to (7, 4).
    EXPECT_EQ(line->geometry(), QRect(7, 4, 15, 11));
    EXPECT_EQ(form.grab().toImage().pixelColor(21, 14),
              line->palette().color(QPalette::WindowText));
}

// Guards the drag of a control on a real window: twips of the control's own
// parent (not of the window) become the screen pixels the control is shown
// at and back without loss; a drag in pixels moves the control by as many
// pixels; a drop-down keeps the height its style gives it; and a rectangle
// with no control to measure against is left alone.
TEST(Kivo_CRect, DragsAControlBetweenScreenAndTwips)
{
    QWidget window;
    window.move(200, 100);
    auto *container = new QWidget(&window);
    container->setGeometry(30, 20, 400, 300);
    auto *control = new QWidget(container);
    TwipsGeometry::setGeometry(control, QRect(1500, 750, 3000, 1500));
    window.show();

    Kivo_CRect r;
    r.SetRectToCtrl(control);
    r.TwipsToScreen(control);
    EXPECT_EQ(QPoint(r.Left, r.Top), control->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(QPoint(r.Right, r.Bottom), control->mapToGlobal(QPoint(200, 100)));

    r.ScreenToTwips(nullptr);
    EXPECT_EQ(QPoint(r.Right, r.Bottom), control->mapToGlobal(QPoint(200, 100)));

    const QPoint before = control->pos();
    r.Left += 7;
    r.Right += 7;
    r.ScreenToTwips(control);
    EXPECT_EQ(QRect(r.Left, r.Top, r.Width(), r.Height()), QRect(1605, 750, 3000, 1500));
    r.SetCtrlToRect(control);
    EXPECT_EQ(control->pos(), before + QPoint(7, 0));

    auto *combo = new QComboBox(container);
    combo->setObjectName(QStringLiteral("m_aCombo"));
    TwipsGeometry::setGeometry(combo, QRect(0, 0, 1500, 315));
    r = Kivo_CRect{150, 150, 3150, 1500};
    r.SetCtrlToRect(combo);
    EXPECT_EQ(TwipsGeometry::geometry(combo), QRect(150, 150, 3000, 315));
}
