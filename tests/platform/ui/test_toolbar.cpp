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
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

// The shipped toolbar in a shown window, as the form has it.
struct ShownBar
{
    ShownBar()
    {
        bar->loadLayout(ShippedLayout);
        window.show();
    }
    QWidget window;
    ToolBarControl *bar = new ToolBarControl(&window);
};

} // namespace

// Guards against a broken file loading half a toolbar or failing with a
// message that does not say where: every refusal names the file and the line
// or the place in the document.
TEST(ToolBarLayoutFile, BrokenFilesAreRefusedWithFileAndPlace)
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
    }
}

// Guards the toolbar before and after loading: the designed-in commands, one
// tool shared by two bands, and a failed load that must leave the working
// layout in place.
TEST(ToolBarControl, LoadsLayoutsAndSharesToolsAcrossBands)
{
    ToolBarControl bar;
    ASSERT_EQ(bar.bandCount(), 1);
    EXPECT_THROW(bar.tool(8), Err);

    bar.loadLayout(ShippedLayout);
    ASSERT_EQ(bar.bandCount(), 4);
    EXPECT_EQ(bar.band(1), bar.band(QStringLiteral("Band2")));
    EXPECT_THROW(bar.band(QStringLiteral("Band3")), Err);

    // Tool 11 sits in the main and the design band: greying it through the
    // tool collection greys both buttons.
    bar.tool(11)->setEnabled(false);
    EXPECT_FALSE(buttonOf(bar.band(QStringLiteral("Band1")), 11)->isEnabled());
    EXPECT_FALSE(buttonOf(bar.band(QStringLiteral("Band2")), 11)->isEnabled());
    bar.band(QStringLiteral("Band1"))->tool(4)->setText(QStringLiteral("Leave Design"));
    EXPECT_EQ(bar.tool(4)->text(), QStringLiteral("Leave Design"));

    QTemporaryDir dir;
    QFile broken(dir.filePath(QStringLiteral("broken.json")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{ \"format\": ");
    broken.close();
    EXPECT_THROW(bar.loadLayout(broken.fileName()), Err);
    EXPECT_EQ(bar.bandCount(), 4);
    EXPECT_NO_THROW(bar.tool(13));
}

// Guards the one click signal: a tool's key in the active window, a button
// of a normal band, an entry of a popup (hidden as the form keeps it, yet
// opening on request) and of its submenu each report their id exactly once;
// disabled and hidden tools report nothing.
TEST(ToolBarControl, ReportsChosenToolsFromKeysBandsAndPopups)
{
    ShownBar shown;
    ToolBarControl *bar = shown.bar;
    bar->band(1)->setVisible(false);
    shown.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.window));
    QSignalSpy clicked(bar, &ToolBarControl::toolClicked);
    const auto reported = [&] {
        return clicked.isEmpty() ? -1 : clicked.takeFirst().at(0).toInt();
    };

    QTest::keyClick(&shown.window, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(reported(), 1);
    ToolBand *main = bar->band(QStringLiteral("Band1"));
    QTest::mouseClick(buttonOf(main, 1), Qt::LeftButton);
    EXPECT_EQ(reported(), 1);

    bar->tool(1)->setEnabled(false);
    QTest::keyClick(&shown.window, Qt::Key_Return, Qt::ControlModifier);
    QTest::mouseClick(buttonOf(main, 1), Qt::LeftButton);
    bar->tool(3)->setVisible(false);
    QTRY_VERIFY(!buttonOf(main, 3)->isVisible());
    EXPECT_TRUE(clicked.isEmpty());

    ToolBand *popup = bar->band(QStringLiteral("TF Field Popup"));
    popup->setVisible(false);
    bar->popupBand(popup->name(), QPoint(40, 40));
    chooseFromMenu(popup->menu(), popup->tool(13));
    EXPECT_EQ(reported(), 13);
    QTRY_VERIFY(!popup->menu()->isVisible());

    // The drop-down entry opens the tables popup; the table chosen there is
    // reported as the form's run-time tool.
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

// Guards the tables popup as the form rebuilds it at every popup: all tables
// listed (also beyond 51), all gone after removal, ids free again, and an id
// the toolbar already uses refused rather than silently shared.
TEST(ToolBarControl, RunTimeToolsInTheTablesPopup)
{
    ToolBarControl bar;
    bar.loadLayout(ShippedLayout);
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
