// Design mode on a shown form driven with the mouse: moving and sizing
// fields, captions, the field-type popup, the design commands and saving the
// layout, on a seeded scratch store.
#include "FakeTFData.h"
#include "FormDataTest.h"
#include "tables/ModalDialogs.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "form/ToolIds.h"
#include "platform/ui/ToolBand.h"
#include "platform/ui/ToolBarControl.h"
#include "platform/ui/TwipsGeometry.h"
#include "tables/Kivo_InputBox.h"
#include "tables/Kivo_TablesFrm.h"
#include "tables/Kivo_TablesStore.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

namespace {

constexpr int ModalitySet = 5; // a drop-down fed by "Modality" in the default layout
const QString Layout = QLatin1String(Kivo_CFGManager::LAYOUT_PATH);
const QString DefaultLayout = QLatin1String(Kivo_CFGManager::DEFAULT_LAYOUT_PATH);

class DesignTest : public FormDataTest
{
protected:
    void SetUp() override
    {
        FormDataTest::SetUp();
        // An entry in work, whose record tools design mode turns off and on.
        FakeTFData *record = FakeTFData::create();
        m_form->InitAndUpdateUIFields(record);
        record->Release();
        m_form->setDesignMode(true);
        m_form->AppShow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    }

    ToolBarControl *toolBar() const { return control<ToolBarControl>("m_TopToolBar"); }
    QWidget *area() const { return control<QWidget>("m_fieldArea"); }
    QLabel *label(int index) const { return member<QLabel>("m_aLabels", index); }
    QWidget *handle(int index) const { return member<QWidget>("picHandle", index); }
    QRect twips(const QWidget *control) const { return TwipsGeometry::geometry(control); }
    bool toolEnabled(qint32 id) const { return toolBar()->tool(id)->isEnabled(); }
    // Chooses a tool as the user does; a disabled one does nothing.
    void choose(qint32 id) const { toolBar()->tool(id)->trigger(); }

    // Presses the left button at (pixels of widget), moves by offset and lets
    // go: the moves and the release reach the form, which holds the mouse.
    void drag(QWidget *widget, QPoint at, QPoint offset) const
    {
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        const QPoint to = area()->mapFromGlobal(widget->mapToGlobal(at)) + offset;
        QTest::mouseMove(area(), to);
        QTest::mouseRelease(area(), Qt::LeftButton, {}, to);
    }

    // Pulls handle k of control outwards by offset, from the exact corner or
    // edge it sits on.
    void pull(int k, const QWidget *control, QPoint offset) const
    {
        const QPoint anchor(k >= 2 && k <= 4 ? control->width() : 0,
                            k >= 4 && k <= 6 ? control->height() : 0);
        drag(handle(k), handle(k)->mapFromGlobal(control->mapToGlobal(anchor)), offset);
    }

    static QColor textColor(const QLabel *label)
    {
        return label->palette().color(QPalette::WindowText);
    }
    static QColor backColor(const QWidget *box) { return box->palette().color(QPalette::Base); }
};

// Guards against layout tools usable before design mode is entered or data
// tools usable in it, a caption, status text or band that stays behind when
// it is left, and a DesignMode withdrawn mid-design that leaves the user in
// it or its tools offered.
TEST_F(DesignTest, EnteringAndLeavingSwitchesToolsCaptionsStatusAndBand)
{
    const QString outside = QV_Resource::GetResString(ResourceIds::DESIGN_MODE_TOOL);
    ToolBand *band = toolBar()->band(ToolIds::DesignBandIndex);
    auto *status = control<QLabel>("lblInfo");
    for (qint32 id : {4, 5, 6, 11}) {
        EXPECT_EQ(toolEnabled(id), id == 4) << id;
        EXPECT_TRUE(toolBar()->tool(id)->isVisible()) << id;
    }

    choose(ToolIds::DesignMode);
    ASSERT_TRUE(m_form->isDesignModeOn());
    for (qint32 id : {1, 2, 3, 7})
        EXPECT_FALSE(toolEnabled(id)) << id;
    for (qint32 id : {5, 6, 11})
        EXPECT_TRUE(toolEnabled(id)) << id;
    EXPECT_EQ(toolBar()->tool(ToolIds::DesignMode)->text(),
              QV_Resource::GetResString(ResourceIds::DESIGN_MODE_TOOL_ACTIVE));
    EXPECT_TRUE(band->isVisible());
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->text(), QV_Resource::GetResString(ResourceIds::DESIGN_MODE_STATUS));

    // Restored from the task bar, the window shows its design band again.
    m_form->Minimize();
    EXPECT_FALSE(band->isVisible());
    m_form->Restore();
    EXPECT_TRUE(band->isVisible());

    choose(ToolIds::DesignMode);
    EXPECT_FALSE(m_form->isDesignModeOn());
    for (qint32 id : {1, 2, 3, 7})
        EXPECT_TRUE(toolEnabled(id)) << id;
    for (qint32 id : {5, 6, 11})
        EXPECT_FALSE(toolEnabled(id)) << id;
    EXPECT_EQ(toolBar()->tool(ToolIds::DesignMode)->text(), outside);
    EXPECT_FALSE(band->isVisible());
    EXPECT_FALSE(status->isVisible());

    choose(ToolIds::DesignMode);
    m_form->setDesignMode(false);
    EXPECT_FALSE(m_form->isDesignModeOn());
    for (qint32 id : {4, 5, 6, 11})
        EXPECT_FALSE(toolBar()->tool(id)->isVisible()) << id;
    EXPECT_FALSE(band->isVisible());

    // Closing the window in design mode leaves it and tells the host once.
    m_form->setDesignMode(true);
    choose(ToolIds::DesignMode);
    QSignalSpy closed(m_form.get(), &Kivo_UIManager::FormClosed);
    m_form->close();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(m_form->isDesignModeOn());
    EXPECT_FALSE(band->isVisible());
}

// Guards against a label click that dims the fields, a text-box click that
// dims the clicked field or leaves others normal, and a leaving that keeps
// fields dimmed.
TEST_F(DesignTest, TextBoxClickDimsTheOtherFieldsLabelClickDoesNot)
{
    choose(ToolIds::DesignMode);
    const QColor black(Qt::black), grey(0x80, 0x80, 0x80), light(0xE0, 0xE0, 0xE0);

    drag(label(1), QPoint(3, 3), QPoint());
    for (int i : {0, 1, 2}) {
        EXPECT_EQ(textColor(label(i)), black);
        EXPECT_EQ(backColor(box(i)), light);
    }

    drag(box(1)->viewport(), QPoint(5, 5), QPoint());
    EXPECT_EQ(textColor(label(1)), black);
    EXPECT_EQ(backColor(box(1)), light);
    for (int i : {0, 2}) {
        EXPECT_EQ(textColor(label(i)), grey);
        EXPECT_EQ(backColor(box(i)), grey);
        EXPECT_TRUE(label(i)->font().italic());
    }

    choose(ToolIds::DesignMode);
    for (int i : {0, 1, 2}) {
        EXPECT_EQ(textColor(label(i)), black);
        EXPECT_EQ(backColor(box(i)), light);
        EXPECT_FALSE(label(i)->font().italic());
    }
}

// Guards against a move that lands off the mouse, handles that are not
// centred on the dropped control, handles that pull the wrong edges, an
// inside-out size that is applied as it is, and a drag outside design mode.
TEST_F(DesignTest, MoveThenSizeWithEveryHandle)
{
    drag(label(0), QPoint(3, 3), QPoint(40, 40));
    const QRect before = twips(label(0));
    EXPECT_EQ(twips(label(0)), before) << "moved outside design mode";

    choose(ToolIds::DesignMode);
    drag(label(0), QPoint(3, 3), QPoint(30, 20));
    const int t = 15; // twips per pixel at 96 DPI
    EXPECT_EQ(twips(label(0)), before.translated(30 * t, 20 * t));
    const QRect moved = label(0)->geometry();
    for (int k = 0; k < 8; ++k)
        ASSERT_TRUE(handle(k)->isVisible()) << k;
    // Centred on the corner, half a pixel inside: the corner pixel is covered.
    EXPECT_TRUE(handle(0)->geometry().contains(moved.topLeft()));
    EXPECT_TRUE(handle(4)->geometry().contains(moved.bottomRight()));
    EXPECT_LE(qAbs(handle(1)->geometry().center().x() - moved.center().x()), 1);
    EXPECT_LE(qAbs(handle(3)->geometry().center().y() - moved.center().y()), 1);

    // Each handle pulls its edges outwards by 4 pixels.
    QRect expected = twips(label(0));
    for (int k = 0; k < 8; ++k) {
        const bool left = k == 0 || k == 6 || k == 7, right = k >= 2 && k <= 4;
        const bool top = k <= 2, bottom = k >= 4 && k <= 6;
        pull(k, label(0), QPoint((right ? 4 : left ? -4 : 0), (bottom ? 4 : top ? -4 : 0)));
        expected.adjust(left ? -4 * t : 0, top ? -4 * t : 0, right ? 4 * t : 0, bottom ? 4 * t : 0);
        EXPECT_EQ(twips(label(0)), expected) << "handle " << k;
    }

    // The left edge pulled 20 pixels past the right one: normalised.
    const QRect last = twips(label(0));
    pull(7, label(0), QPoint(last.width() / t + 20, 0));
    EXPECT_EQ(twips(label(0)), QRect(last.right() + 1, last.top(), 20 * t, last.height()));

    // The form holds the mouse for the drag, and the tracked point cannot
    // leave the window however far the mouse goes.
    QTest::mousePress(label(1), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(QWidget::mouseGrabber(), area());
    QTest::mouseRelease(area(), Qt::LeftButton, {},
                        area()->mapFromGlobal(label(1)->mapToGlobal(QPoint(3, 3))));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    // Nor can the control: beside the view it could not be picked again.
    QWidget *view = area()->parentWidget();
    drag(label(1), QPoint(3, 3), QPoint(-5000, 0));
    EXPECT_EQ(label(1)->mapToGlobal(QPoint()).x(), view->mapToGlobal(QPoint()).x());
    drag(label(1), QPoint(3, 3), QPoint(5000, 0));
    EXPECT_EQ(label(1)->mapToGlobal(QPoint(label(1)->width(), 0)).x(),
              view->mapToGlobal(QPoint(view->width(), 0)).x());
}

// Guards against a caption editor whose empty or cancelled answer still
// changes the caption, and against editing outside design mode.
TEST_F(DesignTest, CaptionEditingTakesOnlyAConfirmedNonEmptyText)
{
    const QString original = label(2)->text();
    // Double-clicks the caption and answers the editor with text and button.
    auto edit = [this](const QString &text, const char *button) {
        whenModal<Kivo_InputBox>([text, button](Kivo_InputBox *box) {
            box->findChild<QLineEdit *>(QStringLiteral("txtInput"))->setText(text);
            click(box, button);
        });
        QTest::mouseDClick(label(2), Qt::LeftButton, {}, QPoint(3, 3));
    };
    QTest::mouseDClick(label(2), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    choose(ToolIds::DesignMode);
    edit(QString(), "cmdOK");
    EXPECT_EQ(label(2)->text(), original);
    edit(QStringLiteral("Cancelled:"), "cmdCancel");
    EXPECT_EQ(label(2)->text(), original);
    edit(QStringLiteral("Clinical Notes:"), "cmdOK");
    EXPECT_EQ(label(2)->text(), QStringLiteral("Clinical Notes:"));
}

// Guards against a popup that caps the table list, a table beyond the last
// table tool that still acts, a table chosen for another field than the one
// clicked, and a text choice that loses the drop-down's table.
TEST_F(DesignTest, TypesPopupListsEveryTableButOnlyTheFirst51Act)
{
    QList<TableRecord> tables;
    for (int j = 0; j < 60; ++j)
        tables.append({QStringLiteral("T%1").arg(j), {QStringLiteral("v%1").arg(j)}});
    Kivo_TablesStore store;
    store.setTables(tables);
    store.SaveCfgTables();
    m_form->ReadLayout(false);

    choose(ToolIds::DesignMode);
    QTest::mousePress(label(0), Qt::RightButton, {}, QPoint(3, 3));
    QMenu *popup = toolBar()->band(QLatin1String(ToolIds::FieldPopup))->menu();
    ASSERT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }));
    popup->close();
    EXPECT_EQ(toolBar()->band(QLatin1String(ToolIds::TablePopup))->tools().size(), 60);

    choose(ToolIds::FirstTable + 51);
    EXPECT_EQ(m_form->fieldSets()[0].kind, FieldKind::Text);
    choose(ToolIds::FirstTable + 3);
    EXPECT_EQ(m_form->fieldSets()[0].kind, FieldKind::DropDown);
    EXPECT_EQ(m_form->fieldSets()[0].table, QStringLiteral("T3"));
    EXPECT_EQ(combo(0)->itemText(0), QStringLiteral("v3"));
    EXPECT_TRUE(box(0)->isHidden());
    choose(ToolIds::MakeTextField);
    EXPECT_EQ(m_form->fieldSets()[0].kind, FieldKind::Text);
    EXPECT_EQ(m_form->fieldSets()[0].table, QStringLiteral("T3"));
    EXPECT_FALSE(box(0)->isHidden());
}

// Guards against aligning to the hidden input of the selected set (a
// drop-down's text box), against leaving the drop-downs or the labels out,
// and against a width taken from the wrong control.
TEST_F(DesignTest, AlignAndSameWidthFollowTheSelectedSetsVisibleInput)
{
    choose(ToolIds::DesignMode);
    drag(combo(ModalitySet), QPoint(5, 5), QPoint());
    pull(3, combo(ModalitySet), QPoint(-30, 0));
    pull(7, combo(ModalitySet), QPoint(20, 0));
    const QRect reference = twips(combo(ModalitySet));
    ASSERT_NE(reference.left(), twips(box(0)).left());

    choose(ToolIds::AlignInputsLeft);
    choose(ToolIds::SameWidth);
    for (int i = 0; i < Kivo_UIManager::FieldSetCount; ++i) {
        for (QWidget *input : {static_cast<QWidget *>(box(i)), static_cast<QWidget *>(combo(i))}) {
            EXPECT_EQ(twips(input).left(), reference.left()) << i;
            EXPECT_EQ(twips(input).width(), reference.width()) << i;
        }
    }

    drag(label(2), QPoint(3, 3), QPoint(25, 0));
    choose(ToolIds::AlignLabelsLeft);
    for (int i = 0; i < Kivo_UIManager::FieldSetCount; ++i)
        EXPECT_EQ(twips(label(i)).left(), twips(label(2)).left()) << i;
}

// Guards against a drop-down whose table is gone that stays a drop-down,
// a notice that does not name the field and the table, and a "TEXT" written
// into a stored layout that lacks the set (or into none at all).
TEST_F(DesignTest, ValueTablesTurnAFieldWhoseTableIsGoneIntoText)
{
    Kivo_TablesStore store;
    store.ReadCfgTables();
    QList<TableRecord> tables = store.tables();
    tables.removeFirst(); // "Modality"
    store.setTables(tables);
    store.SaveCfgTables();
    const QString caption = label(ModalitySet)->text();

    choose(ToolIds::DesignMode);
    whenModal<Kivo_TablesFrm>([](Kivo_TablesFrm *dialog) { click(dialog, "cmdOK"); });
    MessageBoxAnswerer answerer;
    choose(ToolIds::ValueTables);
    const QStringList notices = answerer.takeTexts();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(QLatin1Char('"') + caption + QLatin1Char('"')));
    EXPECT_TRUE(notices[0].contains(QStringLiteral("\"Modality\"")));
    EXPECT_TRUE(notices[0].contains(QStringLiteral("(02-17)")));
    EXPECT_EQ(m_form->fieldSets()[ModalitySet].kind, FieldKind::Text);
    EXPECT_FALSE(ConfigDatabase().KeyExists(Layout));

    // With a stored layout that holds the set, its type follows.
    m_form->SaveLayout();
    ConfigDatabase().WriteString(Layout + QStringLiteral("\\set6\\text\\type"),
                                 QStringLiteral("DROP DOWN"));
    m_form->ReadLayout(false);
    whenModal<Kivo_TablesFrm>([](Kivo_TablesFrm *dialog) { click(dialog, "cmdOK"); });
    choose(ToolIds::ValueTables);
    EXPECT_EQ(answerer.takeTexts().size(), 1);
    EXPECT_EQ(ConfigDatabase().ReadString(Layout + QStringLiteral("\\set6\\text\\type")),
              QStringLiteral("TEXT"));
}

// Guards against a saved layout that does not rebuild to what was on the
// screen: a place, size, caption, tag, kind, table or maximum length lost or
// shifted between save and the next window.
TEST_F(DesignTest, SavedLayoutRebuildsTheSameFieldsInANewWindow)
{
    choose(ToolIds::DesignMode);
    drag(label(1), QPoint(3, 3), QPoint(17, 9));
    drag(box(1)->viewport(), QPoint(5, 5), QPoint(-6, 11));
    pull(4, box(1), QPoint(13, 7));
    QTest::mousePress(label(2), Qt::RightButton, {}, QPoint(3, 3));
    toolBar()->band(QLatin1String(ToolIds::FieldPopup))->menu()->close();
    choose(ToolIds::FirstTable + 1);
    box(3)->setMaxLength(42);
    choose(ToolIds::SaveLayout);
    EXPECT_FALSE(m_form->isDesignModeOn());

    auto text = [](const QRect &r) {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    auto snapshot = [text](const Kivo_UIManager &form) {
        QStringList lines;
        for (const FieldSet &set : form.fieldSets()) {
            QRect input = TwipsGeometry::geometry(set.input());
            // A drop-down keeps the height its font gives it; its hidden
            // text box's limit is not the field's.
            const bool dropDown = set.kind == FieldKind::DropDown;
            if (dropDown)
                input.setHeight(0);
            lines << QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                         .arg(set.label->text(), set.tag, fieldKindName(set.kind), set.table)
                         .arg(dropDown ? -1 : set.maxLength())
                         .arg(text(TwipsGeometry::geometry(set.label)), text(input));
        }
        return lines;
    };
    const QStringList saved = snapshot(*m_form);
    Kivo_UIManager next;
    next.InitAndUpdateUIFields(nullptr);
    EXPECT_EQ(snapshot(next).join(QLatin1Char('\n')).toStdString(),
              saved.join(QLatin1Char('\n')).toStdString());
    next.Uninitialize();
}

// Guards against a save at factor 2 that stores on-screen values, and a
// reset that replaces the default layout or keeps the user's from being
// replaced by the next save.
TEST_F(DesignTest, SaveAtFactorTwoAndAfterResetLayout)
{
    ConfigDatabase database;
    const QString defaultBefore =
        database.ReadString(DefaultLayout + QStringLiteral("\\set1\\label\\top"));
    m_form->SaveLayout();
    const int userTop = int(database.ReadLong(Layout + QStringLiteral("\\set1\\label\\top")));
    choose(ToolIds::DesignMode);
    drag(label(0), QPoint(3, 3), QPoint(0, 10));
    m_form->SaveLayout();
    EXPECT_EQ(database.ReadLong(Layout + QStringLiteral("\\set1\\label\\top")), userTop + 150);
    choose(ToolIds::ResetLayout);
    m_form->SaveLayout();
    EXPECT_EQ(database.ReadLong(Layout + QStringLiteral("\\set1\\label\\top")), userTop);
    EXPECT_EQ(database.ReadString(DefaultLayout + QStringLiteral("\\set1\\label\\top")),
              defaultBefore);
    // The captions went to the field types too, without their colon.
    EXPECT_EQ(database.ReadString(QLatin1String(Kivo_CFGManager::AE_FIELD_TYPES_PATH) +
                                  QStringLiteral("\\KESTO_TF_HISTORY\\name")),
              QStringLiteral("History "));

    m_form->Uninitialize();
    database.WriteLong(
        QStringLiteral("Corvalis\\system\\applications\\quovira\\appearance\\font\\ui_factor"), 2);
    m_form = std::make_unique<Kivo_UIManager>();
    m_form->InitAndUpdateUIFields(nullptr);
    const QRect onScreen = twips(label(0));
    m_form->SaveLayout();
    const QString set1 = Layout + QStringLiteral("\\set1\\label\\");
    EXPECT_EQ(database.ReadLong(set1 + QStringLiteral("left")), onScreen.left() / 2);
    EXPECT_EQ(database.ReadLong(set1 + QStringLiteral("width")), onScreen.width() / 2);
    EXPECT_EQ(database.ReadLong(set1 + QStringLiteral("top")), userTop);
}

// Guards against a store failure in the middle of a save that is only
// logged, so the user takes the layout for saved, or that leaves half a
// layout behind.
TEST_F(DesignTest, FailedSaveIsShownAndKeepsTheOldLayout)
{
    m_form->SaveLayout();
    ConfigDatabase database;
    const QString keptTop = database.ReadString(Layout + QStringLiteral("\\set3\\label\\top"));

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(m_file.toUtf8().constData(), &db), SQLITE_OK);
    // Whichever way the store replaces the layout, touching set 3 fails.
    for (const char *event : {"INSERT", "UPDATE", "DELETE"}) {
        const QByteArray sql = QByteArray("CREATE TRIGGER fail_") + event + " BEFORE " + event +
                               " ON keys WHEN " + (QByteArray(event) == "DELETE" ? "OLD" : "NEW") +
                               ".fname = 'set3' BEGIN SELECT RAISE(ABORT, 'disk full'); END;";
        ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3_close(db);

    choose(ToolIds::DesignMode);
    drag(label(2), QPoint(3, 3), QPoint(0, 30));
    MessageBoxAnswerer answerer;
    m_form->SaveLayout();
    const QStringList shown = answerer.takeTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("disk full")));
    EXPECT_EQ(database.ReadString(Layout + QStringLiteral("\\set3\\label\\top")), keptTop);
    EXPECT_FALSE(control<QLabel>("lblInfo")->isVisible());
}

} // namespace
