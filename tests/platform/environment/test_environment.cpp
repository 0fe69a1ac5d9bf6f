#include "platform/Err.h"
#include "platform/config/AppSettings.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/environment/PaletteColors.h"
#include "platform/environment/UIEnvironment.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QTemporaryDir *scratch = nullptr;

QString installRoot()
{
    return scratch->filePath(QStringLiteral("root"));
}

} // namespace

// Guards the monitor answers against the screens really present, and an index
// without a screen answering like the first screen instead of -1.
TEST(UIEnvironment, AnswersMonitorsFromScreens)
{
    const UIEnvironment environment;
    ASSERT_EQ(environment.MonitorCount(), 2);
    EXPECT_EQ(environment.ColorMode(0), 3);
    EXPECT_EQ(environment.Orientation(0), 0);
    EXPECT_EQ(environment.Orientation(1), 1);
    EXPECT_EQ(environment.ResolutionClass(0), 0);
    EXPECT_EQ(environment.ResolutionClass(1), 1);
    for (const qint32 missing : {2, -1}) {
        EXPECT_EQ(environment.ColorMode(missing), -1);
        EXPECT_EQ(environment.Orientation(missing), -1);
        EXPECT_EQ(environment.ResolutionClass(missing), -1);
    }
}

// Guards the store path of the UI settings and unset keys reading as "".
TEST(UIEnvironment, ReadsUiSettingsFromStore)
{
    UIEnvironment environment;
    EXPECT_THROW(environment.GetSetting(QStringLiteral("font_name")), Err);

    ConfigDatabase store;
    store.DeleteKey(QStringLiteral("Corvalis\\system\\ui"));
    environment.Init();
    EXPECT_EQ(environment.LanguageLibrary(), QString());

    store.WriteString(QStringLiteral("Corvalis\\system\\ui\\font_name"),
                      QStringLiteral("DejaVu Sans"));
    store.WriteString(QStringLiteral("Corvalis\\system\\ui\\language_library"),
                      QStringLiteral("QVLangFra.qm"));
    environment.Init();
    EXPECT_EQ(environment.GetSetting(QStringLiteral("font_name")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(environment.GetSetting(QStringLiteral("font_charset")), QString());
    EXPECT_EQ(environment.LanguageLibrary(), QStringLiteral("QVLangFra.qm"));
}

// Guards the display chosen for a window: nothing stored centres it on the
// primary screen; a stored placement on the second screen must name that
// screen (found again by name, or by position when the screen was renamed),
// the display handle must lead back to its index, and only the restoring
// code looks at the stored placement.
TEST(UIEnvironment, PlacesWindowOnStoredOrPrimaryScreen)
{
    const UIEnvironment environment;
    const QString path = QStringLiteral("teachingfile\\appearance\\position");
    AppSettings settings;
    settings.DeleteKey(path);
    QString display;
    QRect placement;
    const auto place = [&](qint32 code) {
        environment.PositionForWindow(800, 600, 9995, code, path, display, placement);
    };

    place(4);
    const QScreen *primary = QGuiApplication::primaryScreen();
    EXPECT_EQ(display, primary->name());
    EXPECT_EQ(placement.center(), primary->availableGeometry().center());

    const QScreen *second = QGuiApplication::screens().at(1);
    const QRect stored(second->geometry().topLeft() + QPoint(10, 20), QSize(300, 200));
    const QString key = path + QStringLiteral("\\9995\\");
    settings.WriteString(key + "screen", second->name());
    const std::pair<const char *, int> keys[] = {
        {"left", stored.left()}, {"top", stored.top()}, {"width", 300}, {"height", 200}};
    for (const auto &[name, value] : keys)
        settings.WriteLong(key + QLatin1String(name), value);
    place(4);
    EXPECT_EQ(display, second->name());
    EXPECT_EQ(placement, stored);
    EXPECT_EQ(environment.DisplayHandle(display), 1);

    settings.WriteString(key + "screen", QStringLiteral("unplugged"));
    place(4);
    EXPECT_EQ(display, second->name());
    place(11);
    EXPECT_EQ(display, primary->name());
}

// Guards the toolbar file lookup: the shipped default when nothing is
// configured, store separators turned into file separators, and relative paths
// taken from the install root rather than the working folder.
TEST(UIEnvironment, ResolvesConfiguredFiles)
{
    const UIEnvironment environment;
    AppSettings settings;
    const QString folder = QStringLiteral("appearance\\bar");
    settings.DeleteKey(folder);
    EXPECT_EQ(environment.FilePath(folder, QStringLiteral("kivo_bar")),
              installRoot() + QStringLiteral("/qv/resources/kivo_bar.json"));

    settings.WriteString(folder + QStringLiteral("\\kivo_bar"),
                         QStringLiteral("site\\bars\\my_bar.json"));
    EXPECT_EQ(environment.FilePath(folder, QStringLiteral("kivo_bar")),
              installRoot() + QStringLiteral("/site/bars/my_bar.json"));
}

// Guards the colours the store does not hold: each is the palette's colour
// for its part, and the toolbar's text and face must not fall back to one
// colour, or its captions would vanish into the band.
TEST(PaletteColors, StandInForColoursTheStoreLacks)
{
    PaletteColors::install();
    AppSettings settings;
    settings.DeleteKey(QStringLiteral("appearance\\colors"));
    settings.Init();
    const QColor window = QPalette().color(QPalette::Active, QPalette::Window);
    const quint32 expected =
        quint32(window.blue()) << 16 | quint32(window.green()) << 8 | quint32(window.red());
    EXPECT_EQ(settings.ColorByName(QStringLiteral("dialog_background")), expected);
    EXPECT_NE(settings.ColorByName(QStringLiteral("bar_menu_text")),
              settings.ColorByName(QStringLiteral("bar_menu")));
}

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    scratch = &dir;
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KIVO_SCREENS_FILE);
    qputenv("KIVO_STORE", dir.filePath(QStringLiteral("config.db")).toLocal8Bit());
    qputenv("KIVO_CORVALIS_ROOT", installRoot().toLocal8Bit());
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
