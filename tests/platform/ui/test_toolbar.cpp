#include "platform/Err.h"
#include "platform/ui/ToolBand.h"
#include "platform/ui/ToolBarControl.h"
#include "platform/ui/ToolBarLayoutFile.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const QString ShippedLayout = QStringLiteral(KIVO_SHIPPED_BAR);

QToolButton *buttonOf(ToolBand *band, qint32 id)
{
    auto *toolBar = band->widget()->findChild<QToolBar *>();
    if (!toolBar)
        toolBar = qobject_cast<QToolBar *>(band->widget());
    return qobject_cast<QToolButton *>(toolBar->widgetForAction(band->tool(id)));
}

// A tool as the form makes them for the tables popup.
ToolBarLayout::Tool tableTool(qint32 id, const QString &caption, const QString &name = QString())
{
    ToolBarLayout::Tool tool;
    tool.id = id;
    tool.caption = caption;
    tool.name = name;
    return tool;
}

void chooseFromMenu(QMenu *menu, QAction *action)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

// The shipped toolbar, loaded and not shown.
class LoadedToolBar : public ::testing::Test
{
protected:
    void SetUp() override { bar.loadLayout(ShippedLayout); }
    ToolBarControl bar;
};

// The shipped toolbar in a shown, active window, as the form has it (the
// design band hidden), and the ids it reports.
class ShownToolBar : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bar->loadLayout(ShippedLayout);
        window.show();
        bar->band(1)->setVisible(false);
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // The id of the first report not looked at yet; -1 when there is none.
    int reported() { return clicked.isEmpty() ? -1 : clicked.takeFirst().at(0).toInt(); }

    QWidget window;
    ToolBarControl *bar = new ToolBarControl(&window);
    QSignalSpy clicked{bar, &ToolBarControl::toolClicked};
};

} // namespace

// Guards against a broken file loading half a toolbar, tearing down the
// working one, or failing with a message that does not say where: every
// refusal names the file and the line or the place in the document.
TEST_F(LoadedToolBar, BrokenFilesAreRefusedWithFileAndPlace)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bar.json"));
    const QByteArray head = R"({ "format": "kivo_bar", "version": 1, )";
    const struct
    {
        QByteArray json;
        const char *expected;
    } cases[] = {
        {"{\n  \"format\": \"kivo_bar\",\n  \"version\": 1\n  \"tools\": []\n}", "line 4"},
        {head + R"("tools": [ { "id": 1 }, { "id": 1 } ] })", "tools[1]: tool 1 is defined twice"},
        {head + R"("tools": [ { "id": 1 } ], "bands": [ { "name": "B", "tools": [ 1, 2 ] } ] })",
         "bands[0].tools[1]: no tool 2"},
        {QByteArray(), "none.json"},
    };
    for (const auto &c : cases) {
        QString target = dir.filePath(QStringLiteral("none.json"));
        if (!c.json.isEmpty()) {
            QFile out(target = file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(c.json);
        }
        try {
            ToolBarLayoutFile::read(target);
            ADD_FAILURE() << "accepted, expected: " << c.expected;
        } catch (const Err &err) {
            EXPECT_EQ(err.number(), Err::ImportFailure);
            const QString message = err.description();
            EXPECT_TRUE(message.contains(QFileInfo(target).fileName())) << qPrintable(message);
            EXPECT_TRUE(message.contains(QLatin1String(c.expected)))
                << c.expected << " not in: " << qPrintable(message);
        }
        EXPECT_THROW(bar.loadLayout(target), Err);
        EXPECT_EQ(bar.bandCount(), 4);
        EXPECT_NO_THROW(bar.tool(13));
    }
}

// Guards against tools answering before a layout is loaded (only the
// designed-in band), a band found by its index and by its name being two
// different bands, and an unknown name answering with some band.
TEST(ToolBarControl, FindsBandsByIndexAndByNameOnceLoaded)
{
    ToolBarControl bar;
    ASSERT_EQ(bar.bandCount(), 1);
    EXPECT_THROW(bar.tool(8), Err);
    bar.loadLayout(ShippedLayout);
    ASSERT_EQ(bar.bandCount(), 4);
    EXPECT_EQ(bar.band(1), bar.band(QStringLiteral("Band2")));
    EXPECT_THROW(bar.band(QStringLiteral("Band3")), Err);
}

// Guards against a tool that sits in two bands (tool 11: the main and the
// design band) becoming two tools: greying it through the tool collection
// must grey both buttons, and a caption set through one band is the tool's.
TEST_F(LoadedToolBar, ToolInTwoBandsIsOneTool)
{
    bar.tool(11)->setEnabled(false);
    EXPECT_FALSE(buttonOf(bar.band(QStringLiteral("Band1")), 11)->isEnabled());
    EXPECT_FALSE(buttonOf(bar.band(QStringLiteral("Band2")), 11)->isEnabled());
    bar.band(QStringLiteral("Band1"))->tool(4)->setText(QStringLiteral("Leave Design"));
    EXPECT_EQ(bar.tool(4)->text(), QStringLiteral("Leave Design"));
}

// Guards against a tool chosen by its key in the active window or by its
// button being reported twice or not at all, and a disabled tool still
// reporting its key or its button, and a hidden tool still showing one.
TEST_F(ShownToolBar, ReportsAnEnabledToolOnceAndADisabledOneNever)
{
    ToolBand *main = bar->band(QStringLiteral("Band1"));
    QTest::keyClick(&window, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(reported(), 1);
    QTest::mouseClick(buttonOf(main, 1), Qt::LeftButton);
    EXPECT_EQ(reported(), 1);
    EXPECT_TRUE(clicked.isEmpty());

    bar->tool(1)->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_Return, Qt::ControlModifier);
    QTest::mouseClick(buttonOf(main, 1), Qt::LeftButton);
    bar->tool(3)->setVisible(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !buttonOf(main, 3)->isVisible(); }));
    EXPECT_TRUE(clicked.isEmpty());
}

// Guards against a disabled tool whose caption keeps the enabled text colour
// (only its icon fading), so it looks clickable, in a light or a dark palette.
TEST_F(ShownToolBar, DisabledToolCaptionLooksDisabledInEveryPalette)
{
    using Role = ToolBarControl::ColorRole;
    QToolButton *button = buttonOf(bar->band(QStringLiteral("Band1")), 1);
    bar->tool(1)->setEnabled(false);
    const std::pair<QColor, QColor> palettes[] = {{Qt::black, Qt::lightGray},
                                                  {Qt::white, Qt::darkBlue}};
    for (const auto &[text, back] : palettes) {
        bar->setColor(Role::Foreground, text);
        bar->setColor(Role::Background, back);
        const QPalette shown = button->palette();
        EXPECT_EQ(shown.color(QPalette::Active, QPalette::ButtonText), text);
        const QColor disabled = shown.color(QPalette::Disabled, QPalette::ButtonText);
        EXPECT_NE(disabled, text);
        EXPECT_NE(disabled, back);

        const QImage drawn = button->grab().toImage();
        bool textColoured = false;
        for (int y = 0; y < drawn.height() && !textColoured; ++y)
            for (int x = 0; x < drawn.width() && !textColoured; ++x)
                textColoured = drawn.pixelColor(x, y) == text;
        EXPECT_FALSE(textColoured) << qPrintable(text.name());
    }
}

// Guards against a popup band that the form keeps hidden not opening on
// request, its chosen entry not being reported, or its menu staying open; and
// against a table chosen in the popup's submenu not being reported as the
// form's run-time tool: only the table chosen there is reported.
TEST_F(ShownToolBar, PopupReportsItsEntryAndTheTableChosenInItsSubmenu)
{
    ToolBand *popup = bar->band(QStringLiteral("TF Field Popup"));
    popup->setVisible(false);
    bar->popupBand(popup->name(), QPoint(40, 40));
    chooseFromMenu(popup->menu(), popup->tool(13));
    EXPECT_EQ(reported(), 13);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !popup->menu()->isVisible(); }));

    ToolBand *tables = bar->band(QStringLiteral("Table Name Popup"));
    tables->addTool(tableTool(1000, QStringLiteral("Organs"), QStringLiteral("0")));
    tables->addTool(tableTool(1001, QStringLiteral("Modalities"), QStringLiteral("1")));
    EXPECT_EQ(popup->tool(12)->menu(), tables->menu());
    bar->popupBand(popup->name(), QPoint(40, 40));
    chooseFromMenu(popup->menu(), popup->tool(12));
    chooseFromMenu(tables->menu(), tables->tool(1001));
    EXPECT_EQ(reported(), 1001);
    EXPECT_TRUE(clicked.isEmpty());
}

// Guards against a tables popup, rebuilt by the form at every popup, listing
// only part of many tables (the list goes beyond 51) or keeping the tables
// of the popup before; a removed table still answering by its id (keeping
// the id from the next popup's table); and a run-time tool silently taking
// an id in use instead of being refused.
TEST_F(LoadedToolBar, TablesPopupListsEveryTableOfEachRebuildAndFreesIds)
{
    ToolBand *tables = bar.band(QStringLiteral("Table Name Popup"));
    for (int round = 0; round < 2; ++round) {
        tables->removeAllTools();
        EXPECT_TRUE(tables->tools().isEmpty());
        for (int j = 0; j < 60; ++j)
            tables->addTool(
                tableTool(1000 + j, QStringLiteral("Table %1").arg(j), QString::number(j)));
        ASSERT_EQ(tables->tools().size(), 60);
        EXPECT_EQ(bar.tool(1059)->text(), QStringLiteral("Table 59"));
        EXPECT_EQ(bar.tool(1059)->objectName(), QStringLiteral("59"));
    }
    tables->removeTool(1059);
    EXPECT_THROW(bar.tool(1059), Err);
    EXPECT_EQ(tables->tools().size(), 59);
    tables->removeAllTools();
    EXPECT_THROW(bar.tool(1000), Err);

    EXPECT_THROW(tables->addTool(tableTool(5, QStringLiteral("Clash"))), Err);
    EXPECT_EQ(bar.tool(5)->objectName(), QStringLiteral("mnuSave"));
}
