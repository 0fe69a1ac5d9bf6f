// The tables dialog, the table values editor and the input box,
// driven with mouse and keys on real widgets under the offscreen platform.
#include "ModalDialogs.h"
#include "TablesTestStore.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "tables/Kivo_InputBox.h"
#include "tables/Kivo_NewValue.h"
#include "tables/Kivo_TableValuesFrm.h"
#include "tables/Kivo_TablesFrm.h"

#include <QLineEdit>
#include <QListWidget>

namespace {

const bool started = startOnScratchStore([] { QV_Resource::InitUISettings(); });

QString text(qint32 id)
{
    return QV_Resource::GetResString(id);
}

template <typename Widget = QListWidget> Widget *child(QWidget *dialog, const char *name)
{
    auto *widget = dialog->findChild<Widget *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QStringList rows(QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

int selectedRowOf(QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// A second click after the first makes a real double-click.
void clickRow(QListWidget *list, int row, bool twice = false)
{
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void replaceText(QWidget *dialog, const char *name, const QString &typed)
{
    auto *box = child<QLineEdit>(dialog, name);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, typed);
}

// Answers the value dialog that the next action opens.
void answerNewValue(const QString &typed, bool confirm, QString *shown = nullptr)
{
    whenModal<Kivo_NewValue>([typed, confirm, shown](Kivo_NewValue *dialog) {
        if (shown)
            *shown = child<QLineEdit>(dialog, "txtNewValue")->text();
        replaceText(dialog, "txtNewValue", typed);
        click(dialog, confirm ? "cmdOK" : "cmdCancel");
    });
}

using TablesDialogTest = TablesTestStore;

// Guards the dialog's start (the stored tables as rows in order, the first
// selected, and against Edit and Delete enabled before the user clicked a
// table) and editing in place: the renamed
// table keeps its position and its row shows the new name, a value emptied
// in the value dialog is removed, and OK hands the result to the form and
// the store, and against fields of both layouts losing a renamed table.
TEST_F(TablesDialogTest, OpensOnTheStoredTablesAndEditsInPlace)
{
    store({Sex, Side});
    nameInLayouts({"Side", "Sex"});
    Kivo_TablesStore formTables;
    Kivo_TablesFrm dialog(formTables);
    whenModal<Kivo_TablesFrm>([](Kivo_TablesFrm *shown) {
        QListWidget *tables = child(shown, "lstTables");
        EXPECT_EQ(rows(tables), (QStringList{"Sex", "Side"}));
        EXPECT_TRUE(QTest::qWaitFor([tables] { return selectedRowOf(tables) == 0; }));
        for (const char *name : {"btnEdit", "btnDelete"})
            EXPECT_FALSE(buttonNamed(shown, name)->isEnabled()) << name;
        clickRow(tables, 0);
        for (const char *name : {"btnEdit", "btnDelete"})
            EXPECT_TRUE(buttonNamed(shown, name)->isEnabled()) << name;
        whenModal<Kivo_TableValuesFrm>([](Kivo_TableValuesFrm *editor) {
            EXPECT_EQ(child<QLineEdit>(editor, "txtTableName")->text(), "Sex");
            QListWidget *values = child(editor, "lstValues");
            EXPECT_EQ(rows(values), Sex.TableValues);
            replaceText(editor, "txtTableName", "Gender");
            QString shown;
            answerNewValue(QString(), true, &shown);
            clickRow(values, 1, true);
            EXPECT_EQ(shown, "F");
            EXPECT_EQ(rows(values), QStringList{"M"});
            click(editor, "cmdOK");
        });
        click(shown, "btnEdit");
        EXPECT_EQ(rows(tables), (QStringList{"Gender", "Side"}));
        click(shown, "cmdOK");
    });
    EXPECT_TRUE(dialog.Init());
    EXPECT_FALSE(dialog.isVisible());
    const Tables expected{{"Gender", {"M"}}, Side};
    EXPECT_EQ(formTables.tables(), expected);
    EXPECT_EQ(readBack(), expected);
    EXPECT_EQ(formTables.lastRenames(), (QHash<QString, QString>{{"Sex", "Gender"}}));
    for (const QString &layout : layoutPaths())
        EXPECT_EQ(namedIn(layout), (QStringList{"Side", "Gender"})) << layout.toStdString();
}

// Guards against unconfirmed work leaking out: after Cancel (or Escape),
// neither an added table nor a deletion may reach the form's drop-downs or
// the store.
TEST_F(TablesDialogTest, CancelPutsTheTablesBack)
{
    store({Sex});
    Kivo_TablesStore formTables;
    Kivo_TablesFrm dialog(formTables);
    whenModal<Kivo_TablesFrm>([](Kivo_TablesFrm *shown) {
        whenModal<Kivo_TableValuesFrm>([](Kivo_TableValuesFrm *editor) {
            replaceText(editor, "txtTableName", "Side");
            answerNewValue("Left", true);
            click(editor, "btnAdd");
            click(editor, "cmdOK");
        });
        click(shown, "btnAdd");
        QListWidget *tables = child(shown, "lstTables");
        EXPECT_EQ(rows(tables), (QStringList{"Sex", "Side"}));

        clickRow(tables, 0);
        MessageBoxAnswerer yes(text(ResourceIds::YES_CAPTION));
        click(shown, "btnDelete");
        EXPECT_EQ(rows(tables), QStringList{"Side"});
        click(shown, "cmdCancel");
    });
    EXPECT_FALSE(dialog.Init());
    EXPECT_EQ(formTables.GetTables(), QStringList{"Sex"});
    EXPECT_EQ(readBack(), Tables{Sex});

    whenModal<Kivo_TablesFrm>(
        [](Kivo_TablesFrm *shown) { QTest::keyClick(shown, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.Init());
}

// Guards deletion: the question names the table, and against deleting a
// table that fields use without naming them (asked by the name the fields
// know, although the table was renamed in the dialog); No keeps it
// (selection moves up), Yes deletes it; Yes on the only table leaves no
// tables and OK then stores none rather than a nameless table.
TEST_F(TablesDialogTest, DeleteAsksAndTheLastTableLeavesNone)
{
    store({Sex, Side});
    Kivo_TablesStore formTables;
    Kivo_TablesFrm dialog(formTables);
    dialog.setTableUsers([](const QString &table) {
        return table == QLatin1String("Sex") ? QStringList{"Sex:", "Gender:"} : QStringList();
    });
    whenModal<Kivo_TablesFrm>([](Kivo_TablesFrm *shown) {
        QListWidget *tables = child(shown, "lstTables");
        clickRow(tables, 1);
        {
            MessageBoxAnswerer no(text(ResourceIds::NO_CAPTION));
            click(shown, "btnDelete");
            const QStringList pieces = text(ResourceIds::DELETE_TABLE_QUESTION).split("%s");
            ASSERT_EQ(pieces.size(), 2);
            EXPECT_EQ(no.takeTexts(), QStringList{pieces.at(0) + "Side" + pieces.at(1)});
        }
        EXPECT_EQ(rows(tables), (QStringList{"Sex", "Side"}));
        EXPECT_EQ(selectedRowOf(tables), 0);

        whenModal<Kivo_TableValuesFrm>([](Kivo_TableValuesFrm *editor) {
            replaceText(editor, "txtTableName", "Kind");
            click(editor, "cmdOK");
        });
        click(shown, "btnEdit");
        const QStringList pieces = text(ResourceIds::DELETE_USED_TABLE_QUESTION).split("%s");
        ASSERT_EQ(pieces.size(), 3);
        const QStringList question{pieces.at(0) + "Kind" + pieces.at(1) + "\"Sex:\", \"Gender:\"" +
                                   pieces.at(2)};
        {
            MessageBoxAnswerer no(text(ResourceIds::NO_CAPTION));
            click(shown, "btnDelete");
            EXPECT_EQ(no.takeTexts(), question);
        }
        EXPECT_EQ(rows(tables), (QStringList{"Kind", "Side"}));

        MessageBoxAnswerer yes(text(ResourceIds::YES_CAPTION));
        click(shown, "btnDelete");
        EXPECT_EQ(yes.takeTexts(), question);
        EXPECT_EQ(rows(tables), QStringList{"Side"});
        EXPECT_EQ(selectedRowOf(tables), 0);
        click(shown, "btnDelete");
        EXPECT_EQ(tables->count(), 0);
        EXPECT_FALSE(buttonNamed(shown, "btnEdit")->isEnabled());
        EXPECT_FALSE(buttonNamed(shown, "btnDelete")->isEnabled());
        click(shown, "cmdOK");
    });
    EXPECT_TRUE(dialog.Init());
    EXPECT_TRUE(formTables.IsTablesDataEmpty());
    EXPECT_FALSE(ConfigDatabase().KeyExists(rootPath()));
}

// Guards the order of the name checks and that a refused name keeps the
// dialog open: no values closes silently as cancelled; then empty name (13),
// another table's name (16, even when it also begins with a blank), a
// leading blank (24); inner and trailing blanks and the table's own name
// are fine.
TEST_F(TablesDialogTest, ValuesEditorChecksTheName)
{
    Kivo_TablesStore owner;
    owner.setTables({Sex, {" Lead", {"x"}}});
    Kivo_TableValuesFrm editor;
    QStringList values;
    QString name;
    bool cancelled = false;
    whenModal<Kivo_TableValuesFrm>([](Kivo_TableValuesFrm *shown) {
        MessageBoxAnswerer answerer;
        replaceText(shown, "txtTableName", "Empty");
        click(shown, "cmdOK");
        EXPECT_TRUE(answerer.takeTexts().isEmpty());
        EXPECT_TRUE(closesSoon(shown));
    });
    editor.Init(values, name, cancelled, owner);
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(name.isEmpty());

    values = {"A"};
    whenModal<Kivo_TableValuesFrm>([](Kivo_TableValuesFrm *shown) {
        MessageBoxAnswerer answerer;
        const std::pair<QString, qint32> refused[] = {
            {QString(), ResourceIds::TABLE_NAME_EMPTY},
            {"Sex", ResourceIds::TABLE_NAME_TAKEN},
            {" Lead", ResourceIds::TABLE_NAME_TAKEN},
            {" New", ResourceIds::TABLE_NAME_LEADING_BLANK},
        };
        for (const auto &[typed, id] : refused) {
            replaceText(shown, "txtTableName", typed);
            click(shown, "cmdOK");
            const QString expected = text(id) + QStringLiteral(" (02-%1) ").arg(id);
            EXPECT_EQ(answerer.takeTexts(), QStringList{expected}) << typed.toStdString();
            EXPECT_TRUE(shown->isVisible());
        }
        replaceText(shown, "txtTableName", "New Side ");
        click(shown, "cmdOK");
        EXPECT_TRUE(answerer.takeTexts().isEmpty());
    });
    editor.Init(values, name, cancelled, owner);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(name, "New Side ");
    EXPECT_EQ(values, QStringList{"A"});

    values = Sex.TableValues;
    name = Sex.TableName;
    whenModal<Kivo_TableValuesFrm>([](Kivo_TableValuesFrm *shown) { click(shown, "cmdOK"); });
    editor.Init(values, name, cancelled, owner);
    EXPECT_FALSE(cancelled);
}

// Guards the value list editing: delete selects the row above (or the
// first), a cancelled or empty new value adds nothing, values keep their
// blanks, a double-click changes a value, and Escape
// leaves the caller's table untouched.
TEST_F(TablesDialogTest, ValuesEditorEditsTheList)
{
    Kivo_TablesStore owner;
    Kivo_TableValuesFrm editor;
    const QStringList original{"a", "b", "c"};
    const QStringList edited{"B", "  d "};
    QStringList values = original;
    QString name = "T";
    bool cancelled = false;

    for (const bool confirm : {false, true}) {
        whenModal<Kivo_TableValuesFrm>([confirm, edited](Kivo_TableValuesFrm *shown) {
            QListWidget *list = child(shown, "lstValues");
            clickRow(list, 2);
            click(shown, "btnDelete");
            EXPECT_EQ(selectedRowOf(list), 1);
            clickRow(list, 0);
            click(shown, "btnDelete");
            EXPECT_EQ(selectedRowOf(list), 0);

            answerNewValue("x", false);
            click(shown, "btnAdd");
            answerNewValue(QString(), true);
            click(shown, "btnAdd");
            answerNewValue("  d ", true);
            click(shown, "btnAdd");
            EXPECT_EQ(selectedRowOf(list), 1);
            answerNewValue("B", true);
            clickRow(list, 0, true);
            EXPECT_EQ(rows(list), edited);
            if (confirm)
                click(shown, "cmdOK");
            else
                QTest::keyClick(shown, Qt::Key_Escape);
        });
        editor.Init(values, name, cancelled, owner);
        EXPECT_EQ(cancelled, !confirm);
        EXPECT_EQ(values, confirm ? edited : original);
    }
}

// Guards the input box (the value dialog is driven by the editor tests):
// the edited text comes back even on Cancel, and a reused box does not
// report an earlier OK for a later Escape.
TEST_F(TablesDialogTest, InputBoxReturnsTextAndConfirmation)
{
    Kivo_InputBox box;
    QString caption = "History:";
    bool confirmed = true;
    whenModal<Kivo_InputBox>([](Kivo_InputBox *shown) {
        QLineEdit *input = child<QLineEdit>(shown, "txtInput");
        EXPECT_EQ(shown->focusWidget(), input);
        QTest::keyClick(input, Qt::Key_End);
        QTest::keyClicks(input, " 2");
        click(shown, "cmdCancel");
    });
    box.Init(caption, confirmed);
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(caption, "History: 2");
    whenModal<Kivo_InputBox>([](Kivo_InputBox *shown) { click(shown, "cmdOK"); });
    box.Init(caption, confirmed);
    EXPECT_TRUE(confirmed);
    whenModal<Kivo_InputBox>([](Kivo_InputBox *shown) { QTest::keyClick(shown, Qt::Key_Escape); });
    box.Init(caption, confirmed);
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(caption, "History: 2");
}

} // namespace
