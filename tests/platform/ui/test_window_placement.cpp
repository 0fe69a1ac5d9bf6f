#include "platform/Err.h"
#include "platform/config/AppSettings.h"
#include "platform/ui/PlacementRules.h"
#include "platform/ui/WindowPlacementControl.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QString PositionPath = QStringLiteral("teachingfile\\appearance\\position");

QString stored(qint32 id, const char *key)
{
    return AppSettings().ReadString(PositionPath + QStringLiteral("\\%1\\").arg(id) +
                                    QLatin1String(key));
}

} // namespace

// A placement control on a window, for placement id `id`.
struct Placed
{
    explicit Placed(qint32 id)
    {
        placement.attach(&window);
        placement.setConfigPath(PositionPath);
        placement.setPlacementId(id);
    }
    QWidget window;
    WindowPlacementControl placement;
};

// Guards the store round trip on real windows: the place the user leaves a
// window in is stored per placement id with its screen and restored by the
// next window of that id, while another id keeps its own default.
TEST(WindowPlacementControl, StoresAndRestoresPerIdAndScreen)
{
    {
        Placed placed(9995);
        placed.window.resize(500, 400);
        placed.window.show();
        placed.window.move(2100, 150);
        // Stored shortly after the user stops moving it, without a hide.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return stored(9995, "left") == QStringLiteral("2100"); }));
        placed.window.resize(520, 410);
        placed.window.hide();
        EXPECT_EQ(stored(9995, "screen"), QStringLiteral("B"));
        EXPECT_EQ(stored(9995, "height"), QStringLiteral("410"));
    }

    Placed again(9995);
    again.placement.setPositionCode(PlacementRules::RestorePosition);
    again.placement.apply();
    EXPECT_EQ(again.window.geometry(), QRect(2100, 150, 520, 410));

    QWidget other;
    other.resize(300, 200);
    again.placement.attach(&other);
    again.placement.setPlacementId(9996);
    again.placement.apply();
    EXPECT_EQ(other.geometry().center(),
              QGuiApplication::primaryScreen()->availableGeometry().center());
    EXPECT_TRUE(stored(9996, "left").isEmpty());
}

// Guards against a window opening off-screen from a stored place that no
// longer fits (screen resolution lowered), code 11 moving a window that is
// where it should be, and placing a window that is not there.
TEST(WindowPlacementControl, ClampsStoredPlaceAndKeepsCurrentOne)
{
    AppSettings settings;
    const QString base = PositionPath + QStringLiteral("\\777\\");
    settings.WriteString(base + QStringLiteral("screen"), QStringLiteral("A"));
    const std::pair<const char *, int> place[] = {
        {"left", 1800}, {"top", -300}, {"width", 400}, {"height", 300}};
    for (const auto &[key, value] : place)
        settings.WriteLong(base + QLatin1String(key), value);

    Placed placed(777);
    placed.placement.setPositionCode(PlacementRules::RestorePosition);
    placed.placement.apply();
    const QRect screenA = QGuiApplication::screens().at(0)->availableGeometry();
    EXPECT_TRUE(screenA.contains(placed.window.frameGeometry()));
    EXPECT_EQ(placed.window.size(), QSize(400, 300));

    placed.window.show();
    placed.window.move(700, 350);
    ASSERT_TRUE(QTest::qWaitFor([&] { return placed.window.pos() == QPoint(700, 350); }));
    placed.placement.setPositionCode(PlacementRules::KeepPosition);
    placed.placement.setLeft(700);
    placed.placement.setTop(350);
    placed.placement.apply();
    // Left and top are the frame's, as the form reads them.
    EXPECT_EQ(QRect(placed.window.pos(), placed.window.size()), QRect(700, 350, 400, 300));

    WindowPlacementControl unattached;
    EXPECT_THROW(unattached.apply(), Err);
}
