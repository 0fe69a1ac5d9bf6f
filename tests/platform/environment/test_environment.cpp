#include "platform/Err.h"
#include "platform/config/AppSettings.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/environment/DisplayTraits.h"
#include "platform/environment/UIEnvironment.h"
#include "platform/environment/WindowPlacement.h"

#include <QGuiApplication>
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

// Guards the thresholds: a 16-bit screen reported as true colour, a 2x screen
// at 96 DPI taken for a normal one, a square screen left undetermined (the
// plain cases are answered for the real screens below).
TEST(DisplayTraits, ClassifiesDepthOrientationAndResolution)
{
    using namespace DisplayTraits;
    EXPECT_EQ(colorModeForDepth(16), PaletteColor);
    EXPECT_EQ(colorModeForDepth(0), Undetermined);

    EXPECT_EQ(orientationForSize(QSize(1000, 1000)), Landscape);
    EXPECT_EQ(orientationForSize(QSize()), Undetermined);

    EXPECT_EQ(resolutionClassFor(143.9, 1.5), NormalResolution);
    EXPECT_EQ(resolutionClassFor(144, 1), HighResolution);
    EXPECT_EQ(resolutionClassFor(96, 2), HighResolution);
}

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

// Guards the display chosen for a window: a stored placement on the second
// screen must name that screen (found again by name, or by position when the
// screen was renamed), and the display handle must lead back to its index.
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
    EXPECT_EQ(placement.size(), QSize(800, 600));
    EXPECT_EQ(placement.center(), primary->availableGeometry().center());

    const QScreen *second = QGuiApplication::screens().at(1);
    const QRect stored(second->geometry().topLeft() + QPoint(10, 20), QSize(300, 200));
    const QString key = path + QStringLiteral("\\9995\\");
    settings.WriteString(key + "screen", second->name());
    settings.WriteLong(key + "left", stored.left());
    settings.WriteLong(key + "top", stored.top());
    settings.WriteLong(key + "width", stored.width());
    settings.WriteLong(key + "height", stored.height());
    place(4);
    EXPECT_EQ(display, second->name());
    EXPECT_EQ(placement, stored);
    EXPECT_EQ(environment.DisplayHandle(display), 1);

    settings.WriteString(key + "screen", QStringLiteral("unplugged"));
    place(4);
    EXPECT_EQ(display, second->name());
    EXPECT_EQ(environment.DisplayHandle(QStringLiteral("unplugged")), 0);
    // Only the restoring code looks at the stored placement.
    place(11);
    EXPECT_EQ(display, primary->name());
}

// Guards a stored placement larger than its screen coming back larger than
// the screen, and placing with no screen at all (the clamping of one that
// only sticks out is covered with the placement rules).
TEST(WindowPlacement, FitsHugeRectanglesAndCopesWithoutScreens)
{
    using namespace WindowPlacement;
    const QList<ScreenArea> screens = {
        {QStringLiteral("A"), QRect(0, 0, 1000, 800), QRect(0, 0, 1000, 760)}};
    EXPECT_EQ(
        place(screens, 0, QStringLiteral("A"), QRect(-50, 0, 3000, 3000), QSize(400, 300)).rect,
        QRect(0, 0, 1000, 760));
    const Placement noScreens = place({}, 0, QString(), QRect(), QSize(400, 300));
    EXPECT_EQ(noScreens.screen, -1);
    EXPECT_EQ(noScreens.rect, QRect(0, 0, 400, 300));
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

    settings.WriteString(folder + QStringLiteral("\\kivo_bar"),
                         QStringLiteral("/opt/bars/bar.json"));
    EXPECT_EQ(environment.FilePath(folder, QStringLiteral("kivo_bar")),
              QStringLiteral("/opt/bars/bar.json"));
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
