// The two code pickers as the user meets them: real dialogs on a store
// file, driven with the mouse and the keyboard.
#include "SampleCodeTrees.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "pickers/Kivo_ACRCodeFrm.h"
#include "pickers/Kivo_AngioCodeFrm.h"
#include "pickers/codetree/CodeKeyPath.h"
#include "platform/config/ConfigDatabase.h"

#include <ScratchStore.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const bool started = startOnScratchStore([] { QV_Resource::InitUISettings(); });

using UserPart = std::function<void(QDialog *)>;

template <typename Widget> Widget *control(QWidget *dialog, const char *name)
{
    auto *widget = dialog->findChild<Widget *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QString boxText(QWidget *dialog, const char *name)
{
    return control<QLineEdit>(dialog, name)->text();
}

QListWidget *mainList(QWidget *dialog)
{
    return control<QListWidget>(dialog, "mainList");
}

QStringList listTexts(QWidget *dialog)
{
    QStringList texts;
    for (int row = 0; row < mainList(dialog)->count(); ++row)
        texts << mainList(dialog)->item(row)->text();
    return texts;
}

// What a screen reader announces for the picker's list.
QString accessibleListName(QWidget *dialog)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(mainList(dialog));
    EXPECT_EQ(face->role(), QAccessible::List);
    return face->text(QAccessible::Name);
}

QStringList listCodes(QWidget *dialog)
{
    QStringList codes;
    for (const QString &text : listTexts(dialog))
        codes << text.section(QLatin1Char(' '), 0, 0);
    return codes;
}

QStringList captions(QWidget *dialog, int count)
{
    QStringList texts(count);
    for (auto *label : dialog->findChildren<QLabel *>(QStringLiteral("m_lbl"))) {
        if (label->property("index").toInt() < count)
            texts[label->property("index").toInt()] = label->text();
    }
    return texts;
}

// The rows of the hit list: "code        description\npath", or the line
// that says nothing matches.
QStringList hitTexts(QWidget *dialog)
{
    QAbstractItemModel *model = control<QListView>(dialog, "searchList")->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, 0).data().toString();
    return texts;
}

// Puts text into the search box and returns the codes of the hits.
QStringList findCodes(QWidget *dialog, const QString &text)
{
    control<QLineEdit>(dialog, "txtSearch")->setText(text);
    QStringList codes;
    for (const QString &hit : hitTexts(dialog))
        codes << hit.section(QString(8, QLatin1Char(' ')), 0, 0);
    return codes;
}

void clickEntry(QWidget *dialog, const QString &code)
{
    QListWidget *list = mainList(dialog);
    const int row = int(listCodes(dialog).indexOf(code));
    ASSERT_GE(row, 0) << code.toStdString();
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

void click(QWidget *dialog, const char *button)
{
    QTest::mouseClick(control<QPushButton>(dialog, button), Qt::LeftButton);
}

// A store with both code trees. run() plays the user's part once the
// picker's modal loop is up (cancelling whatever the part leaves open, so a
// failing test cannot hang the run) and checks that the picker closed and
// handed back through the code argument what it returned.
class PickerTest : public ScratchStore
{
protected:
    void SetUp() override
    {
        ScratchStore::SetUp();
        ConfigDatabase store(m_file);
        SampleCodeTrees::writeAcr(store, QLatin1String(CodeKeyPath::AcrTreePath));
        SampleCodeTrees::writeAngio(store, QLatin1String(CodeKeyPath::AngioTreePath));
    }

    template <typename Picker>
    QString run(Picker &picker, QString code, const UserPart &part, bool *cancelled = nullptr)
    {
        QTimer::singleShot(0, [part] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no modal picker";
                return;
            }
            part(dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the picker was left open";
                dialog->reject();
            }
        });
        bool wasCancelled = false;
        QString result;
        if constexpr (std::is_same_v<Picker, Kivo_ACRCodeFrm>)
            result = picker.Init(nullptr, code, wasCancelled);
        else
            result = picker.Init(code, wasCancelled);
        EXPECT_TRUE(QTest::qWaitFor([&picker] { return !picker.isVisible(); }));
        EXPECT_EQ(result, code);
        if (cancelled)
            *cancelled = wasCancelled;
        return result;
    }

    Kivo_ACRCodeFrm acr;
    Kivo_AngioCodeFrm angio;
};

} // namespace

// Guards against an incoming code not being shown where it lives, against
// OK handing back anything but the code shown and the descriptions of every
// level, and against a list a screen reader cannot name.
TEST_F(PickerTest, AcrIncomingCodeIsShownAndReturnedByOk)
{
    bool cancelled = true;
    const QString code = run(
        acr, QStringLiteral("123 - 45"),
        [](QDialog *dialog) {
            EXPECT_EQ(boxText(dialog, "txtAnat"), QStringLiteral("123"));
            EXPECT_EQ(boxText(dialog, "txtPath"), QStringLiteral("45"));
            const QStringList shown = captions(dialog, 8);
            EXPECT_EQ(shown.mid(0, 3), (QStringList{" 1        Skull and contents",
                                                    " 12        Brain", " 123        Cerebrum"}));
            EXPECT_EQ(shown.mid(6, 2),
                      (QStringList{" 4        Neoplasm", " 45        Benign neoplasm"}));
            EXPECT_EQ(listCodes(dialog), QStringList{"45"});
            EXPECT_EQ(accessibleListName(dialog), QStringLiteral("ACR codes"));
            click(dialog, "cmdOK");
        },
        &cancelled);
    EXPECT_EQ(code, QStringLiteral("123 - 45"));
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(acr.AnatomyDesc(), QStringLiteral("\r\n 1        Skull and contents\r\n 12        "
                                                "Brain\r\n 123        Cerebrum"));
    EXPECT_EQ(acr.PathologicDesc(),
              QStringLiteral("\r\n 4        Neoplasm\r\n 45        Benign neoplasm"));
}

// Guards against a dangling " - " when no pathology is chosen, against a
// double click descending twice, against a lost description stand-in, and
// against up at the top leaving Pathologic offered without a region.
TEST_F(PickerTest, AcrMouseChoiceWithoutPathologyReturnsAnatomyAlone)
{
    const QString code = run(acr, QString(), [](QDialog *dialog) {
        EXPECT_EQ(listCodes(dialog), (QStringList{"1", "2"}));
        // What a real double click delivers: press, release, double click,
        // release.
        QListWidget *list = mainList(dialog);
        const QPoint first = list->visualItemRect(list->item(0)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, first);
        EXPECT_EQ(boxText(dialog, "txtAnat"), QStringLiteral("1"));
        EXPECT_EQ(listTexts(dialog).first(), QStringLiteral("11        ") + QString(29, '?'));
        // Up from the first level shows the top again and withdraws
        // Pathologic: no region is chosen any more.
        click(dialog, "cmdUp");
        EXPECT_EQ(listCodes(dialog), (QStringList{"1", "2"}));
        EXPECT_TRUE(dialog->findChild<QWidget *>(QStringLiteral("cmdPathology"))->isHidden());
        clickEntry(dialog, QStringLiteral("1"));
        clickEntry(dialog, QStringLiteral("12"));
        click(dialog, "cmdOK");
    });
    EXPECT_EQ(code, QStringLiteral("12"));
    EXPECT_EQ(acr.PathologicDesc(), QString());
}

// Guards against Cancel or the close box handing back a code, and against
// the close box destroying the dialog.
TEST_F(PickerTest, AcrCancelAndCloseBoxCancel)
{
    bool cancelled = false;
    const UserPart cancel = [](QDialog *dialog) {
        clickEntry(dialog, QStringLiteral("124"));
        click(dialog, "cmdCancel");
    };
    EXPECT_EQ(run(acr, QStringLiteral("123"), cancel, &cancelled), QString());
    EXPECT_TRUE(cancelled);
    cancelled = false;
    EXPECT_EQ(run(
                  acr, QStringLiteral("12"), [](QDialog *dialog) { dialog->close(); }, &cancelled),
              QString());
    EXPECT_TRUE(cancelled);
}

// Guards against letters getting into a code box by typing or by paste,
// against Backspace being refused, and against Enter in a box not meaning OK.
TEST_F(PickerTest, AcrCodeBoxesTakeDigitsOnly)
{
    const QString code = run(acr, QString(), [](QDialog *dialog) {
        auto *anatomy = control<QLineEdit>(dialog, "txtAnat");
        QTest::keyClicks(anatomy, QStringLiteral("1a2 -3"));
        EXPECT_EQ(anatomy->text(), QStringLiteral("123"));
        QTest::keyClick(anatomy, Qt::Key_Backspace);
        QApplication::clipboard()->setText(QStringLiteral("4x"));
        anatomy->paste();
        EXPECT_EQ(anatomy->text(), QStringLiteral("12"));
        QApplication::clipboard()->setText(QStringLiteral("45"));
        anatomy->paste();
        QTest::keyClicks(control<QLineEdit>(dialog, "txtPath"), QStringLiteral("7.8"));
        QTest::keyClick(anatomy, Qt::Key_Return);
    });
    EXPECT_EQ(code, QStringLiteral("1245 - 78"));
}

// Guards against Up leaving the chosen code under the box a level deeper than
// the code in it; against Enter in the list pressing OK (handing back a code
// the user never chose) instead of choosing the entry, and Enter on a leaf
// only moving the highlight instead of confirming the choice as OK does.
TEST_F(PickerTest, AcrUpKeepsCodeAndChoiceTogetherAndEnterChoosesOrConfirms)
{
    bool cancelled = true;
    const QString code = run(
        acr, QStringLiteral("123 - 45"),
        [](QDialog *dialog) {
            const auto chosen = [dialog] { return control<QLabel>(dialog, "lblPath")->text(); };
            EXPECT_EQ(chosen(), QStringLiteral("45"));
            for (const char *level : {"4", ""}) {
                click(dialog, "cmdUp");
                EXPECT_EQ(boxText(dialog, "txtPath"), QLatin1String(level));
                EXPECT_EQ(chosen(), QLatin1String(level));
            }
            QListWidget *list = mainList(dialog);
            list->setCurrentRow(int(listCodes(dialog).indexOf(QStringLiteral("4"))));
            QTest::keyClick(list, Qt::Key_Return);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(boxText(dialog, "txtPath"), QStringLiteral("4"));
            click(dialog, "cmdUp");
            list->setCurrentRow(int(listCodes(dialog).indexOf(QStringLiteral("5"))));
            QTest::keyClick(list, Qt::Key_Return);
            EXPECT_FALSE(dialog->isVisible());
        },
        &cancelled);
    EXPECT_EQ(code, QStringLiteral("123 - 5"));
    EXPECT_FALSE(cancelled);
}

// Guards against a store without a tree failing the dialog: the list is
// empty and a typed code still comes back.
TEST_F(PickerTest, AcrWithoutTreeReturnsTypedCode)
{
    ConfigDatabase(m_file).DeleteKey(QLatin1String(CodeKeyPath::AcrTreePath));
    bool cancelled = true;
    const QString code = run(
        acr, QStringLiteral("9"),
        [](QDialog *dialog) {
            EXPECT_EQ(mainList(dialog)->count(), 0);
            QTest::keyClicks(control<QLineEdit>(dialog, "txtAnat"), QStringLiteral("123"));
            click(dialog, "cmdOK");
        },
        &cancelled);
    EXPECT_EQ(code, QStringLiteral("9123"));
    EXPECT_FALSE(cancelled);
}

// Guards against the incoming code being lost or changed, the description
// missing a level, siblings shown with padding, Cancel returning a code, and
// a list a screen reader cannot name.
TEST_F(PickerTest, AngioIncomingCodeOkAndCancel)
{
    const QString code = run(angio, QStringLiteral("4.12.3"), [](QDialog *dialog) {
        EXPECT_EQ(boxText(dialog, "txtAngio"), QStringLiteral("4.12.3"));
        EXPECT_EQ(captions(dialog, 3),
                  (QStringList{" 4        Abdominal aorta", " 4.12        Renal artery",
                               " 4.12.3        Segmental branch"}));
        EXPECT_EQ(listCodes(dialog), QStringList{"4.12.3"});
        EXPECT_EQ(accessibleListName(dialog), QStringLiteral("Angiography codes"));
        click(dialog, "cmdOK");
    });
    EXPECT_EQ(code, QStringLiteral("4.12.3"));
    EXPECT_EQ(angio.AngioDesc(), QStringLiteral(" 4        Abdominal aorta\r\n 4.12        Renal "
                                                "artery\r\n 4.12.3        Segmental branch"));

    // A leaf stays listed among its siblings; the list must show which one
    // was chosen, not the first.
    run(angio, QStringLiteral("4.2"), [](QDialog *dialog) {
        EXPECT_TRUE(mainList(dialog)->currentItem()->text().startsWith(QStringLiteral("4.2 ")));
        click(dialog, "cmdOK");
    });

    bool cancelled = false;
    const UserPart cancel = [](QDialog *dialog) {
        EXPECT_EQ(listTexts(dialog).at(2), QStringLiteral("4.10        Tenth branch"));
        clickEntry(dialog, QStringLiteral("4.2"));
        click(dialog, "cmdCancel");
    };
    EXPECT_EQ(run(angio, QStringLiteral("4"), cancel, &cancelled), QString());
    EXPECT_TRUE(cancelled);
}

// Guards against a search that misses a code by the start of its words, in
// any order, case or accents, or by its digits in each form; that reaches
// codes outside the current mode; that shows stale hits or an error when
// nothing matches; that loses the walk's level when the box is emptied; and
// against Escape cancelling the picker while the box holds text.
TEST_F(PickerTest, AcrSearchFindsByWordsAndDigitsInTheCurrentMode)
{
    ConfigDatabase(m_file).WriteString(QLatin1String(CodeKeyPath::AcrTreePath) +
                                           QStringLiteral("\\2\\23\\231\\description"),
                                       QStringLiteral("Glande thyro\u00EFde, lobe droit"));
    bool cancelled = false;
    run(
        acr, QString(),
        [](QDialog *dialog) {
            auto *box = control<QLineEdit>(dialog, "txtSearch");
            EXPECT_TRUE(QTest::qWaitFor([box] { return box->hasFocus(); }));
            clickEntry(dialog, QStringLiteral("1"));
            QTest::keyClicks(box, QStringLiteral("cereb"));
            EXPECT_EQ(findCodes(dialog, box->text()), (QStringList{"123", "124"}));
            EXPECT_EQ(findCodes(dialog, QStringLiteral("C\u00C9R\u00C9BELL")), QStringList{"124"});
            EXPECT_EQ(findCodes(dialog, QStringLiteral("NECK face")), QStringList{"2"});
            EXPECT_EQ(findCodes(dialog, QStringLiteral("thyroide dr")), QStringList{"231"});
            EXPECT_EQ(hitTexts(dialog),
                      QStringList{"231        Glande thyro\u00EFde, lobe droit\nFace and neck "
                                  "\u203A Neck"});
            EXPECT_EQ(findCodes(dialog, QStringLiteral("12")), (QStringList{"12", "123", "124"}));
            EXPECT_EQ(findCodes(dialog, QStringLiteral("1 - 4")), (QStringList{"1 - 4", "1 - 45"}));
            EXPECT_EQ(findCodes(dialog, QStringLiteral("1.45")), QStringList{"1 - 45"});
            // Pathology codes are not anatomy codes: nothing matches.
            const QStringList noMatch{QV_Resource::GetResString(ResourceIds::CODE_SEARCH_NO_MATCH)};
            EXPECT_EQ(findCodes(dialog, QStringLiteral("9 - 4")), noMatch);
            findCodes(dialog, QStringLiteral("neo"));
            EXPECT_EQ(hitTexts(dialog), noMatch);
            EXPECT_EQ(QApplication::activeModalWidget(), dialog);

            QTest::keyClick(box, Qt::Key_Escape);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(box->text(), QString());
            EXPECT_TRUE(mainList(dialog)->isVisible());
            EXPECT_EQ(listCodes(dialog), (QStringList{"11", "12"}));

            click(dialog, "cmdPathology");
            EXPECT_EQ(findCodes(dialog, QStringLiteral("neo")), (QStringList{"4", "45"}));
            EXPECT_EQ(findCodes(dialog, QStringLiteral("5")), QStringList{"5"});
            QTest::keyClick(box, Qt::Key_Escape);
            QTest::keyClick(box, Qt::Key_Escape);
        },
        &cancelled);
    EXPECT_TRUE(cancelled);
}

// Guards against a hit chosen with the keyboard or a double click returning
// another code or other descriptions than walking there with the mouse, and
// against the search box taking the focus from an incoming code's level.
TEST_F(PickerTest, ChosenHitReturnsWhatWalkingThereReturns)
{
    const QString walked = run(acr, QString(), [](QDialog *dialog) {
        clickEntry(dialog, QStringLiteral("1"));
        click(dialog, "cmdPathology");
        clickEntry(dialog, QStringLiteral("4"));
        clickEntry(dialog, QStringLiteral("45"));
        click(dialog, "cmdOK");
    });
    const QStringList walkedDescriptions{acr.AnatomyDesc(), acr.PathologicDesc()};
    const QString searched = run(acr, QStringLiteral("2"), [](QDialog *dialog) {
        EXPECT_TRUE(QTest::qWaitFor([dialog] { return mainList(dialog)->hasFocus(); }));
        auto *box = control<QLineEdit>(dialog, "txtSearch");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("1.45"));
        QTest::keyClick(box, Qt::Key_Down);
        auto *hits = control<QListView>(dialog, "searchList");
        EXPECT_TRUE(hits->hasFocus());
        QTest::keyClick(hits, Qt::Key_Return);
        EXPECT_EQ(box->text(), QString());
        EXPECT_EQ(listCodes(dialog), QStringList{"45"});
        click(dialog, "cmdOK");
    });
    EXPECT_EQ(searched, walked);
    EXPECT_EQ((QStringList{acr.AnatomyDesc(), acr.PathologicDesc()}), walkedDescriptions);

    const QString angioCode = run(angio, QString(), [](QDialog *dialog) {
        EXPECT_EQ(findCodes(dialog, QStringLiteral("4.1")),
                  (QStringList{"4.1", "4.10", "4.12", "4.12.3"}));
        auto *hits = control<QListView>(dialog, "searchList");
        const QPoint at = hits->visualRect(hits->model()->index(3, 0)).center();
        QTest::mousePress(hits->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(hits->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(hits->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(hits->viewport(), Qt::LeftButton, {}, at);
        click(dialog, "cmdOK");
    });
    EXPECT_EQ(angioCode, QStringLiteral("4.12.3"));
    EXPECT_EQ(angio.AngioDesc(), QStringLiteral(" 4        Abdominal aorta\r\n 4.12        Renal "
                                                "artery\r\n 4.12.3        Segmental branch"));
}
