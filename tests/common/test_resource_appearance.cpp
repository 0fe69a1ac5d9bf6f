// The dialog appearance: scaling and background colour on real dialogs.
#include "common/QV_Resource.h"

#include "platform/ui/ProportionalResizer.h"

#include <QDialog>
#include <QPushButton>

#include <gtest/gtest.h>

// Guards the scale factor: 0 (settings never read) must not collapse the
// dialog but count as 1; 2 doubles both sides.
TEST(ScaleForm, ZeroCountsAsOneAndTwoDoubles)
{
    QDialog dialog;
    dialog.resize(300, 200);
    QV_Resource::SetUIFactor(0);
    QV_Resource::ScaleFormByFactor(&dialog);
    EXPECT_EQ(dialog.size(), QSize(300, 200));
    EXPECT_EQ(QV_Resource::UIFactor(), 1.0);

    QV_Resource::SetUIFactor(2);
    QV_Resource::ScaleFormByFactor(&dialog);
    EXPECT_EQ(dialog.size(), QSize(600, 400));
}

// Guards the load treatment as a whole: the children grow with the scaled
// dialog, the captions are set after scaling, the background is the dialog
// colour, and loading twice does not stack resizers.
TEST(DialogLoadTreatment, ScalesCaptionsAndColours)
{
    QV_Resource::SetDialogBackColor(0x00C0FFEE);
    QV_Resource::SetUIFactor(2);

    QDialog dialog;
    dialog.resize(200, 100);
    auto *ok = new QPushButton(&dialog);
    ok->setGeometry(20, 10, 100, 40);
    QSize sizeAtCaptions;
    QV_Resource::ApplyDialogLoadTreatment(&dialog, [&] {
        sizeAtCaptions = dialog.size();
        ok->setText(QStringLiteral("OK"));
    });
    dialog.show();

    EXPECT_EQ(sizeAtCaptions, QSize(400, 200));
    EXPECT_EQ(dialog.size(), QSize(400, 200));
    EXPECT_EQ(ok->geometry(), QRect(40, 20, 200, 80));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(0xEE, 0xFF, 0xC0));
    EXPECT_TRUE(dialog.autoFillBackground());

    QV_Resource::ApplyDialogLoadTreatment(&dialog, {});
    EXPECT_EQ(dialog.findChildren<ProportionalResizer *>().size(), 1);

    // A colour never loaded must not paint a dialog black behind its black
    // captions: the dialog keeps the platform's background.
    QV_Resource::SetDialogBackColor(0);
    QDialog unloaded;
    const QColor platformBackground = unloaded.palette().color(QPalette::Window);
    QV_Resource::ApplyDialogLoadTreatment(&unloaded, {});
    EXPECT_EQ(unloaded.palette().color(QPalette::Window), platformBackground);
    EXPECT_FALSE(unloaded.autoFillBackground());
}
