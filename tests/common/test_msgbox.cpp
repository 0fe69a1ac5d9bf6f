// Message boxes: texts, code suffixes, button captions, answers, background
// and placement, driven on real boxes under the offscreen platform.
#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "tables/ModalDialogs.h"

#include <ScratchStore.h>

#include <QDialog>
#include <QMessageBox>
#include <QScreen>

namespace {

using namespace QV_MsgBox;

const bool started = startOnScratchStore([] { QV_Resource::InitUISettings(); });

struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QColor background;
    QRect frame;
};

SeenBox describe(QMessageBox *box)
{
    SeenBox seen{
        box->windowTitle(),  box->text(), box->icon(), {}, box->palette().color(QPalette::Window),
        box->frameGeometry()};
    for (QAbstractButton *button : box->buttons())
        seen.buttons.append(button->text());
    seen.buttons.sort();
    return seen;
}

QAbstractButton *buttonWithText(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == text)
            return button;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

QString text(qint32 id)
{
    return QV_Resource::GetResString(id);
}

// Records the next box and answers it with the button of that caption (OK
// unless told; Escape when the caption is empty).
void answerNextBox(SeenBox &seen, const QString &caption = text(ResourceIds::OK_CAPTION))
{
    whenModal<QMessageBox>([&seen, caption](QMessageBox *box) {
        seen = describe(box);
        if (caption.isEmpty())
            QTest::keyClick(box, Qt::Key_Escape);
        else if (QAbstractButton *button = buttonWithText(box, caption))
            QTest::mouseClick(button, Qt::LeftButton);
    });
}

QPoint centreOf(const QRect &rect)
{
    return QPoint(rect.left() + rect.width() / 2, rect.top() + rect.height() / 2);
}

// Centring may differ by the rounding of one half pixel.
void expectCentredOn(const QRect &box, const QRect &reference)
{
    const QPoint offset = centreOf(box) - centreOf(reference);
    EXPECT_LE(offset.manhattanLength(), 2)
        << "box centre " << centreOf(box).x() << "," << centreOf(box).y() << " reference centre "
        << centreOf(reference).x() << "," << centreOf(reference).y();
}

class MsgBoxTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        SetOwnerWindow(nullptr);
        QV_Resource::SetDialogBackColor(0);
    }
};

// Guards the wrappers' looks (title 2173, icon, OK captioned 15031, Yes and
// No captioned from the catalog, markup shown as typed since table names
// reach these texts), the code suffix callers and support staff match on
// (exact blanks, "02-", none for codes below 1), the answers callers compare
// against (6 Yes, 7 No, Escape meaning No rather than some third value), and
// the background: an unset colour becomes grey and stays for later dialogs; a
// configured one is used as 0x00BBGGRR, not swapped. Guards too against
// silently showing a box with buttons the caller cannot interpret.
TEST_F(MsgBoxTest, BoxesShowCaptionedButtonsAndAnswer)
{
    const QString ok = text(ResourceIds::OK_CAPTION);
    const QString yes = text(ResourceIds::YES_CAPTION);
    const QString no = text(ResourceIds::NO_CAPTION);
    ASSERT_FALSE(ok.isEmpty() || yes.isEmpty() || no.isEmpty()) << "catalog not found";
    const QString title = text(ResourceIds::MSGBOX_TITLE);
    using Seen = std::tuple<QString, QString, QMessageBox::Icon, QStringList>;
    const auto seenAs = [](const SeenBox &box) {
        return Seen(box.title, box.text, box.icon, box.buttons);
    };
    SeenBox seen;
    QV_Resource::SetDialogBackColor(0);
    answerNextBox(seen);
    ShowErrorMsgCode(QStringLiteral("Bad name"), 13);
    EXPECT_EQ(seenAs(seen), Seen(title, "Bad name (02-13) ", QMessageBox::Critical, {ok}));
    EXPECT_EQ(seen.background, QColor(192, 192, 192));
    EXPECT_EQ(QV_Resource::DialogBackColor(), 0x00C0C0C0u);
    answerNextBox(seen);
    ShowErrorMsgCode(QStringLiteral("No code"), -4);
    EXPECT_EQ(seen.text, QStringLiteral("No code"));
    answerNextBox(seen);
    ShowInfoMsgCode(QStringLiteral("<b>Note</b>"), 17);
    EXPECT_EQ(seenAs(seen), Seen(title, "<b>Note</b> (02-17) ", QMessageBox::Information, {ok}));

    QStringList yesNo{yes, no};
    yesNo.sort();
    answerNextBox(seen, yes);
    EXPECT_EQ(AskQuestionCode(QStringLiteral("Submit?"), 1154), AnswerYes);
    EXPECT_EQ(seenAs(seen), Seen(title, "Submit? (02-1154)", QMessageBox::Question, yesNo));
    answerNextBox(seen, no);
    EXPECT_EQ(AskQuestion(QStringLiteral("Keep?")), AnswerNo);
    answerNextBox(seen, QString());
    EXPECT_EQ(AskQuestionCode(QStringLiteral("Delete?"), 0), AnswerNo);
    EXPECT_EQ(seen.text, QStringLiteral("Delete?"));

    // Called directly with OK only and no title: the application's name
    // stands in.
    QV_Resource::SetDialogBackColor(0x00112233);
    answerNextBox(seen);
    EXPECT_EQ(HookedMsgBox(QStringLiteral("Saved"), -1, -1, PositionLeave, MsgOkOnly), AnswerOk);
    EXPECT_EQ(seenAs(seen), Seen(QGuiApplication::applicationDisplayName(), "Saved",
                                 QMessageBox::NoIcon, {ok}));
    EXPECT_EQ(seen.background, QColor(0x33, 0x22, 0x11));

    EXPECT_THROW(HookedMsgBox(QStringLiteral("abort?"), -1, -1, PositionLeave, 2), std::exception);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Guards the three position modes: 1 centres on the owner window even when
// another window is the parent, falls back to the parent once the owner is
// gone; 2 places at X, Y or centres on the screen for -1; 0 leaves the box
// where Qt puts it (over its parent), not over the owner.
TEST_F(MsgBoxTest, Placement)
{
    QWidget owner;
    owner.setGeometry(40, 30, 500, 300);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    SetOwnerWindow(&owner);

    QDialog parent;
    parent.setGeometry(600, 400, 300, 200);
    parent.setModal(true);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    ASSERT_EQ(QApplication::activeModalWidget(), &parent);

    SeenBox seen;
    answerNextBox(seen);
    ShowInfoMsg(QStringLiteral("over the owner"));
    expectCentredOn(seen.frame, owner.frameGeometry());

    answerNextBox(seen);
    HookedMsgBox(QStringLiteral("left alone"), -1, -1, PositionLeave, MsgOkOnly);
    // Qt places it over its parent by its own rule; it must not be moved to the owner.
    EXPECT_TRUE(seen.frame.contains(centreOf(parent.frameGeometry())));
    EXPECT_FALSE(seen.frame.contains(centreOf(owner.frameGeometry())));

    answerNextBox(seen);
    HookedMsgBox(QStringLiteral("at 30, 40"), 30, 40, PositionAt, MsgOkOnly);
    EXPECT_EQ(seen.frame.topLeft(), QPoint(30, 40));

    answerNextBox(seen);
    HookedMsgBox(QStringLiteral("centred across"), -1, 40, PositionAt, MsgOkOnly);
    const QRect screen = parent.screen()->geometry();
    EXPECT_EQ(seen.frame.top(), 40);
    EXPECT_LE(std::abs(centreOf(seen.frame).x() - centreOf(screen).x()), 1);

    // The owner is destroyed without anyone clearing it: the box must fall
    // back to its parent instead of using a dangling window.
    auto *shortLived = new QWidget;
    shortLived->setGeometry(0, 0, 100, 100);
    SetOwnerWindow(shortLived);
    delete shortLived;
    EXPECT_EQ(OwnerWindow(), nullptr);
    answerNextBox(seen);
    ShowErrorMsg(QStringLiteral("over the parent"));
    expectCentredOn(seen.frame, parent.frameGeometry());
}

} // namespace
