// The two code pickers as the user meets them: real dialogs on a store
// file, driven with the mouse and the keyboard.
#include "SampleCodeTrees.h"
#include "TestLog.h"
#include "common/QV_Resource.h"
#include "pickers/Kivo_ACRCodeFrm.h"
#include "pickers/Kivo_AngioCodeFrm.h"
#include "pickers/codetree/CodeKeyPath.h"
#include "platform/config/ConfigDatabase.h"

#include <kivo/runtime.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString AcrSource = QStringLiteral("Kivo_ACRCodeFrm");

template <typename Widget> Widget *control(QWidget *dialog, const char *name)
{
    auto *widget = dialog->findChild<Widget *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QStringList listTexts(QWidget *dialog)
{
    QStringList texts;
    auto *list = control<QListWidget>(dialog, "mainList");
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

QStringList listCodes(QWidget *dialog)
{
    QStringList codes;
    for (const QString &text : listTexts(dialog))
        codes << text.section(QLatin1Char(' '), 0, 0);
    return codes;
}

QString caption(QWidget *dialog, int index)
{
    for (auto *label : dialog->findChildren<QLabel *>(QStringLiteral("m_lbl"))) {
        if (label->property("index").toInt() == index)
            return label->text();
    }
    ADD_FAILURE() << "no caption " << index;
    return {};
}

void clickEntry(QWidget *dialog, const QString &code)
{
    auto *list = control<QListWidget>(dialog, "mainList");
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

// Runs the user's part once the picker's modal loop is up. Whatever the
// part leaves open is cancelled, so a failing test cannot hang the run.
void asUser(const std::function<void(QDialog *)> &part)
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
}

QColor textColor(QWidget *dialog, const char *label)
{
    return control<QLabel>(dialog, label)->palette().color(QPalette::WindowText);
}

// Each test gets a store file of its own, named through the platform value
// that makes ConfigDatabase() open it.
class PickerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("config.db"));
        SetPlatformValue(u"ConfigStoreFile", reinterpret_cast<const OLECHAR *>(m_file.utf16()));
    }
    void TearDown() override { SetPlatformValue(u"ConfigStoreFile", nullptr); }

    void writeTrees()
    {
        ConfigDatabase store(m_file);
        SampleCodeTrees::writeAcr(store, QLatin1String(CodeKeyPath::AcrTreePath));
        SampleCodeTrees::writeAngio(store, QLatin1String(CodeKeyPath::AngioTreePath));
    }

    QTemporaryDir m_dir;
    QString m_file;
};

class AcrPicker : public PickerTest
{
protected:
    void SetUp() override
    {
        PickerTest::SetUp();
        writeTrees();
    }

    QString run(QString code, const std::function<void(QDialog *)> &part, bool *cancelled = nullptr)
    {
        bool wasCancelled = false;
        asUser(part);
        const QString result = picker.Init(nullptr, code, wasCancelled);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !picker.isVisible(); }));
        EXPECT_EQ(result, code);
        if (cancelled)
            *cancelled = wasCancelled;
        return result;
    }

    Kivo_ACRCodeFrm picker;
};

class AngioPicker : public PickerTest
{
protected:
    void SetUp() override
    {
        PickerTest::SetUp();
        writeTrees();
    }

    QString run(QString code, const std::function<void(QDialog *)> &part, bool *cancelled = nullptr)
    {
        bool wasCancelled = false;
        asUser(part);
        const QString result = picker.Init(code, wasCancelled);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !picker.isVisible(); }));
        EXPECT_EQ(result, code);
        if (cancelled)
            *cancelled = wasCancelled;
        return result;
    }

    Kivo_AngioCodeFrm picker;
};

} // namespace

// Guards against an incoming code not being shown where it lives, and
// against OK handing back anything but the code shown.
TEST_F(AcrPicker, IncomingCodeIsShownAndReturnedByOk)
{
    bool cancelled = true;
    const QString code = run(
        QStringLiteral("123 - 45"),
        [](QDialog *dialog) {
            EXPECT_EQ(control<QLineEdit>(dialog, "txtAnat")->text(), QStringLiteral("123"));
            EXPECT_EQ(control<QLineEdit>(dialog, "txtPath")->text(), QStringLiteral("45"));
            EXPECT_EQ(caption(dialog, 0), QStringLiteral(" 1        Skull and contents"));
            EXPECT_EQ(caption(dialog, 1), QStringLiteral(" 12        Brain"));
            EXPECT_EQ(caption(dialog, 2), QStringLiteral(" 123        Cerebrum"));
            EXPECT_EQ(caption(dialog, 6), QStringLiteral(" 4        Neoplasm"));
            EXPECT_EQ(caption(dialog, 7), QStringLiteral(" 45        Benign neoplasm"));
            EXPECT_EQ(listCodes(dialog), QStringList{"45"});
            EXPECT_TRUE(control<QPushButton>(dialog, "cmdPathology")->isVisible());
            EXPECT_EQ(textColor(dialog, "lblPatho"), QColor(128, 0, 0));
            EXPECT_EQ(textColor(dialog, "lblAnato"), QColor(0, 0, 0));
            click(dialog, "cmdOK");
        },
        &cancelled);
    EXPECT_EQ(code, QStringLiteral("123 - 45"));
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(picker.AnatomyCode(), QStringLiteral("123"));
    EXPECT_EQ(picker.PathologicCode(), QStringLiteral("45"));
    EXPECT_EQ(picker.AnatomyDesc(), QStringLiteral("\r\n 1        Skull and contents\r\n 12        "
                                                   "Brain\r\n 123        Cerebrum"));
    EXPECT_EQ(picker.PathologicDesc(),
              QStringLiteral("\r\n 4        Neoplasm\r\n 45        Benign neoplasm"));
    EXPECT_EQ(TestLog::count(AcrSource, QStringLiteral("Returning ACRCode= 123 - 45")), 1);
}

// Guards against a dangling " - " when no pathology is chosen, against a
// double click descending twice, and against a lost description stand-in.
TEST_F(AcrPicker, MouseChoiceWithoutPathologyReturnsAnatomyAlone)
{
    const QString code = run(QString(), [](QDialog *dialog) {
        EXPECT_EQ(listCodes(dialog), (QStringList{"1", "2"}));
        EXPECT_FALSE(control<QPushButton>(dialog, "cmdPathology")->isVisible());
        // What a real double click delivers: press, release, double click,
        // release.
        auto *list = control<QListWidget>(dialog, "mainList");
        const QPoint first = list->visualItemRect(list->item(0)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, first);
        EXPECT_EQ(control<QLineEdit>(dialog, "txtAnat")->text(), QStringLiteral("1"));
        EXPECT_EQ(listTexts(dialog).first(), QStringLiteral("11        ") + QString(29, '?'));
        EXPECT_EQ(textColor(dialog, "lblAnato"), QColor(128, 0, 0));
        clickEntry(dialog, QStringLiteral("12"));
        EXPECT_EQ(control<QLabel>(dialog, "lblInfo")->text(), QStringLiteral("12        Brain"));
        click(dialog, "cmdOK");
    });
    EXPECT_EQ(code, QStringLiteral("12"));
    EXPECT_EQ(picker.PathologicDesc(), QString());
}

// Guards against Cancel or the close box handing back a code, against the
// close box destroying the dialog, and against reading the tree at every
// Init; after Uninitialize the next Init reads it again.
TEST_F(AcrPicker, CancelAndCloseBoxCancelAndTheTreeIsReadOnce)
{
    const QString reading = QStringLiteral("Before reading ACR code tree");
    const int readsBefore = TestLog::count(AcrSource, reading);
    bool cancelled = false;
    EXPECT_EQ(run(
                  QStringLiteral("123"),
                  [](QDialog *dialog) {
                      clickEntry(dialog, QStringLiteral("124"));
                      click(dialog, "cmdCancel");
                  },
                  &cancelled),
              QString());
    EXPECT_TRUE(cancelled);

    cancelled = false;
    EXPECT_EQ(run(
                  QStringLiteral("12"), [](QDialog *dialog) { dialog->close(); }, &cancelled),
              QString());
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(TestLog::count(AcrSource, reading), readsBefore + 1);

    // The store changes; a loaded dialog keeps walking the tree it read.
    ConfigDatabase(m_file).WriteString(QLatin1String(CodeKeyPath::AcrTreePath) + "\\3\\description",
                                       "Spine");
    run(QString(), [](QDialog *dialog) {
        EXPECT_EQ(listCodes(dialog), (QStringList{"1", "2"}));
        dialog->close();
    });
    picker.Uninitialize();
    run(QString(), [](QDialog *dialog) {
        EXPECT_EQ(listCodes(dialog), (QStringList{"1", "2", "3"}));
        dialog->close();
    });
    EXPECT_EQ(TestLog::count(AcrSource, reading), readsBefore + 2);
}

// Guards against up leaving the pathology button on at the top, where no
// region is chosen, and against up at the top doing anything but staying.
TEST_F(AcrPicker, UpAtTheTopHidesPathologyAndShowsTheTopLevel)
{
    run(QString(), [](QDialog *dialog) {
        clickEntry(dialog, QStringLiteral("1"));
        EXPECT_TRUE(control<QPushButton>(dialog, "cmdPathology")->isVisible());
        EXPECT_EQ(control<QPushButton>(dialog, "cmdUp")->toolTip(),
                  QStringLiteral("Go up one level"));
        click(dialog, "cmdUp");
        EXPECT_EQ(listCodes(dialog), (QStringList{"1", "2"}));
        EXPECT_FALSE(control<QPushButton>(dialog, "cmdPathology")->isVisible());
        EXPECT_EQ(control<QLineEdit>(dialog, "txtAnat")->text(), QString());
        click(dialog, "cmdUp");
        EXPECT_EQ(listCodes(dialog), (QStringList{"1", "2"}));
        EXPECT_EQ(caption(dialog, 0), QString());
        click(dialog, "cmdCancel");
    });
}

// Guards against letters getting into a code box by typing or by paste,
// against Backspace being refused, and against Enter in a box not meaning OK.
TEST_F(AcrPicker, CodeBoxesTakeDigitsOnly)
{
    const QString code = run(QString(), [](QDialog *dialog) {
        auto *anatomy = control<QLineEdit>(dialog, "txtAnat");
        QTest::keyClicks(anatomy, QStringLiteral("1a2 -3"));
        EXPECT_EQ(anatomy->text(), QStringLiteral("123"));
        QTest::keyClick(anatomy, Qt::Key_Backspace);
        QApplication::clipboard()->setText(QStringLiteral("4x"));
        anatomy->paste();
        EXPECT_EQ(anatomy->text(), QStringLiteral("12"));
        QApplication::clipboard()->setText(QStringLiteral("45"));
        anatomy->paste();
        auto *pathology = control<QLineEdit>(dialog, "txtPath");
        QTest::keyClicks(pathology, QStringLiteral("7.8"));
        EXPECT_EQ(pathology->text(), QStringLiteral("78"));
        QTest::keyClick(anatomy, Qt::Key_Return);
    });
    EXPECT_EQ(code, QStringLiteral("1245 - 78"));
}

// Guards against Enter in the list pressing OK instead of choosing, and
// against Backspace and Escape not doing what they do everywhere else.
TEST_F(AcrPicker, KeyboardWalksTheList)
{
    bool cancelled = false;
    run(
        QString(),
        [](QDialog *dialog) {
            auto *list = control<QListWidget>(dialog, "mainList");
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(control<QLineEdit>(dialog, "txtAnat")->text(), QStringLiteral("2"));
            EXPECT_EQ(listCodes(dialog), QStringList{"23"});
            QTest::keyClick(list, Qt::Key_Backspace);
            EXPECT_EQ(control<QLineEdit>(dialog, "txtAnat")->text(), QString());
            EXPECT_EQ(listCodes(dialog), (QStringList{"1", "2"}));
            QTest::keyClick(list, Qt::Key_Escape);
        },
        &cancelled);
    EXPECT_TRUE(cancelled);
}

// Guards against a store without a tree failing the dialog: the missing
// tree is logged and a typed code still comes back.
TEST_F(PickerTest, AcrPickerWithoutTreeReturnsTypedCode)
{
    Kivo_ACRCodeFrm picker;
    const QString missing = QStringLiteral("No ACR code tree is exists!");
    const int before = TestLog::count(AcrSource, missing);
    asUser([](QDialog *dialog) {
        EXPECT_EQ(control<QListWidget>(dialog, "mainList")->count(), 0);
        QTest::keyClicks(control<QLineEdit>(dialog, "txtAnat"), QStringLiteral("123"));
        click(dialog, "cmdOK");
    });
    QString code = QStringLiteral("9");
    bool cancelled = true;
    EXPECT_EQ(picker.Init(nullptr, code, cancelled), QStringLiteral("9123"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !picker.isVisible(); }));
    EXPECT_FALSE(cancelled);
    EXPECT_GT(TestLog::count(AcrSource, missing), before);
}

// Guards against the incoming code being lost or changed and against the
// description missing a level.
TEST_F(AngioPicker, IncomingCodeIsShownAndReturnedByOk)
{
    const QString code = run(QStringLiteral("4.12.3"), [](QDialog *dialog) {
        EXPECT_EQ(control<QLineEdit>(dialog, "txtAngio")->text(), QStringLiteral("4.12.3"));
        EXPECT_EQ(caption(dialog, 0), QStringLiteral(" 4        Abdominal aorta"));
        EXPECT_EQ(caption(dialog, 1), QStringLiteral(" 4.12        Renal artery"));
        EXPECT_EQ(caption(dialog, 2), QStringLiteral(" 4.12.3        Segmental branch"));
        EXPECT_EQ(listCodes(dialog), QStringList{"4.12.3"});
        click(dialog, "cmdOK");
    });
    EXPECT_EQ(code, QStringLiteral("4.12.3"));
    EXPECT_EQ(picker.AngioCode(), QStringLiteral("4.12.3"));
    EXPECT_EQ(picker.AngioDesc(), QStringLiteral(" 4        Abdominal aorta\r\n 4.12        Renal "
                                                 "artery\r\n 4.12.3        Segmental branch"));
}

// Guards against siblings in text order (4.10 before 4.2) or shown with
// padding, against up keeping a one-part code, and against Cancel returning
// a code.
TEST_F(AngioPicker, NumericOrderUpAndCancel)
{
    bool cancelled = false;
    const QString code = run(
        QStringLiteral("4"),
        [](QDialog *dialog) {
            EXPECT_EQ(listCodes(dialog), (QStringList{"4.1", "4.2", "4.10", "4.12", "4.x"}));
            EXPECT_EQ(listTexts(dialog).at(2), QStringLiteral("4.10        Tenth branch"));
            click(dialog, "cmdUp");
            EXPECT_EQ(control<QLineEdit>(dialog, "txtAngio")->text(), QString());
            EXPECT_EQ(listCodes(dialog), (QStringList{"4", "5"}));
            clickEntry(dialog, QStringLiteral("5"));
            click(dialog, "cmdCancel");
        },
        &cancelled);
    EXPECT_EQ(code, QString());
    EXPECT_TRUE(cancelled);
}

int main(int argc, char **argv)
{
    TestLog::useTemporaryFolder();
    QV_Resource::InitUISettings();
    // Test discovery runs this program without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
