// The dialog appearance: the font and scale settings of the monitor, the
// dialog colour, fonts, scaling and background on real dialogs.
#include "common/QV_Resource.h"

#include "platform/config/AppSettings.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/ui/ProportionalResizer.h"

#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <tuple>

namespace {

const QString FontBranch = "appearance\\font";
const QString BackgroundKey = "appearance\\colors\\dialog_background";

// The branch name written for the display monitor 0 is.
QString displayBranchOfFirstMonitor()
{
    const DisplayDescriptor d = QV_Resource::BuildDisplayProfile(0).Descriptor(0);
    return d.colorMode + QLatin1Char('_') + d.resolution + QLatin1Char('_') + d.orientation;
}

void storeFontSettings(qint32 fontSize, qint32 factor, qint32 dialogFontSize)
{
    AppSettings settings;
    settings.DeleteKey(FontBranch);
    const QString display = FontBranch + QLatin1Char('\\') + displayBranchOfFirstMonitor();
    settings.WriteLong(display + "\\font_size", fontSize);
    settings.WriteLong(display + "\\ui_factor", factor);
    settings.WriteLong(display + "\\base_dlg_font_size", dialogFontSize);
    // The generic values beside it must lose to the display's own.
    settings.WriteLong(FontBranch + "\\font_size", 9);
}

} // namespace

// Guards the font settings: a negative monitor reads monitor 0's branch and is
// corrected in the caller's variable; a missing font branch changes nothing;
// a branch without display children is read itself, with the defaults.
TEST(FontSettings, ReadsTheDisplayBranchOfTheMonitor)
{
    storeFontSettings(14, 2, 12);
    const auto settingsRead = [] {
        return std::tuple(QV_Resource::FontSize(), QV_Resource::UIFactor(),
                          QV_Resource::BaseDlgFontSize());
    };
    qint32 monitor = -5;
    QV_Resource::ReadFontSettings(monitor);
    EXPECT_EQ(monitor, 0);
    EXPECT_EQ(settingsRead(), std::tuple(14, 2.0, 12));

    AppSettings settings;
    settings.DeleteKey(FontBranch);
    QV_Resource::ReadFontSettings(monitor);
    EXPECT_EQ(settingsRead(), std::tuple(14, 2.0, 12));

    settings.WriteLong(FontBranch + "\\font_size", 9);
    QV_Resource::ReadFontSettings(monitor);
    EXPECT_EQ(settingsRead(), std::tuple(9, 1.0, 10));
}

// Guards the colour cache: a loaded colour is not read again, but a stored 0
// (which also means "not loaded") is read again at every call.
TEST(DialogColors, ReadOnceUnlessZero)
{
    const auto loadedAfterStoring = [](qint32 stored) {
        AppSettings().WriteLong(BackgroundKey, stored);
        QV_Resource::LoadDialogColors();
        return QV_Resource::DialogBackColor();
    };
    QV_Resource::SetDialogBackColor(0);
    EXPECT_EQ(loadedAfterStoring(0x336699), 0x336699u);
    EXPECT_EQ(loadedAfterStoring(0x112233), 0x336699u);

    QV_Resource::SetDialogBackColor(0);
    EXPECT_EQ(loadedAfterStoring(0), 0u);
    EXPECT_EQ(loadedAfterStoring(0x112233), 0x112233u);
}

// Guards the scale factor: 0 (settings never read) must not collapse the
// dialog but count as 1 (doubling is checked with the load treatment).
TEST(ScaleForm, ZeroCountsAsOne)
{
    QDialog dialog;
    dialog.resize(300, 200);
    QV_Resource::SetUIFactor(0);
    QV_Resource::ScaleFormByFactor(&dialog);
    EXPECT_EQ(dialog.size(), QSize(300, 200));
    EXPECT_EQ(QV_Resource::UIFactor(), 1.0);
}

// Guards the font pass over a dialog with objects that have no font (a
// timer) and decoration (a line): every widget, nested ones too, and the
// dialog itself get face and size, and keep their own weight and style.
TEST(DialogFont, ReachesEveryWidgetPastTimersAndLines)
{
    ConfigDatabase().WriteString("Corvalis\\system\\ui\\font_name", "DejaVu Sans");
    QV_Resource::InitUISettings();
    storeFontSettings(10, 1, 13);
    qint32 monitor = 0;
    QV_Resource::ReadFontSettings(monitor);

    QDialog dialog;
    new QTimer(&dialog);
    auto *title = new QLabel("Table Name:", &dialog);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto *line = new QFrame(&dialog);
    line->setFrameShape(QFrame::HLine);
    // A nested control with a font of its own gets nothing by inheritance.
    auto *nested = new QLineEdit(new QGroupBox(&dialog));
    QFont small = nested->font();
    small.setPointSize(7);
    small.setItalic(true);
    nested->setFont(small);
    new QTimer(&dialog);
    new QPushButton("OK", &dialog);

    QV_Resource::ApplyDialogFont(&dialog);

    QList<QWidget *> widgets = dialog.findChildren<QWidget *>();
    widgets.append(&dialog);
    EXPECT_GE(widgets.size(), 6);
    for (const QWidget *widget : widgets) {
        EXPECT_EQ(widget->font().family(), "DejaVu Sans") << widget->metaObject()->className();
        EXPECT_EQ(widget->font().pointSize(), 13) << widget->metaObject()->className();
    }
    EXPECT_TRUE(title->font().bold());
    EXPECT_TRUE(nested->font().italic());
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
        ok->setText("OK");
    });
    dialog.show();

    EXPECT_EQ(sizeAtCaptions, QSize(400, 200));
    EXPECT_EQ(dialog.size(), QSize(400, 200));
    EXPECT_EQ(ok->geometry(), QRect(40, 20, 200, 80));
    EXPECT_EQ(ok->text(), "OK");
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
