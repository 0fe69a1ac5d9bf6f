#include "platform/ui/ProportionalResizer.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

// Guards the resizer on a real dialog: children follow a resize made while
// hidden once shown, and every resize after; touching neighbours keep touching
// at an odd size; the first size comes back exactly; attaching twice is one.
TEST(ProportionalResizer, KeepsChildrenInProportion)
{
    QWidget dialog;
    dialog.resize(200, 100);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setGeometry(20, 10, 100, 50);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancel->setGeometry(120, 60, 80, 40);
    ProportionalResizer *resizer = ProportionalResizer::attach(&dialog);
    EXPECT_EQ(ProportionalResizer::attach(&dialog), resizer);

    dialog.resize(400, 300);
    dialog.show();
    EXPECT_EQ(ok->geometry(), QRect(40, 30, 200, 150));
    EXPECT_EQ(cancel->geometry(), QRect(240, 180, 160, 120));

    dialog.resize(333, 177);
    EXPECT_EQ(ok->geometry().right() + 1, cancel->x());
    EXPECT_EQ(cancel->geometry().right() + 1, 333);
    dialog.resize(200, 100);
    EXPECT_EQ(ok->geometry(), QRect(20, 10, 100, 50));
    EXPECT_EQ(cancel->geometry(), QRect(120, 60, 80, 40));
}

// Guards fighting a layout: a window whose children a layout manages keeps
// the layout's geometry.
TEST(ProportionalResizer, LeavesLaidOutWindowsToTheirLayout)
{
    QWidget dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *panel = new QWidget;
    layout->addWidget(panel);
    dialog.resize(200, 100);
    ProportionalResizer::attach(&dialog);
    dialog.show();
    dialog.resize(400, 300);
    EXPECT_EQ(panel->geometry(), layout->contentsRect());
}
