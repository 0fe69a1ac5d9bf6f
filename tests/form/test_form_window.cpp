#include "ScratchStore.h"

#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "config/Kivo_CFGManager.h"
#include "config/StoreSeed.h"
#include "form/Kivo_API.h"
#include "form/Kivo_UIManager.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/ui/FormScroller.h"
#include "platform/ui/ToolBand.h"
#include "platform/ui/ToolBarControl.h"

#include <kivo/runtime.h>

#include <QAction>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Every form reaches the configuration manager, here on a seeded scratch
// store of the test run's own.
const bool started = startOnScratchStore([] {
    static Kivo_CFGManager manager;
    ConfigDatabase database;
    seedStore(database, true);
    manager.Init();
    Kivo_CFGManager::setInstance(&manager);
});

int logged(const QString &message)
{
    return TestLog::count(QStringLiteral("Kivo_UIManager"), message);
}

class FormWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Kivo_API::setIdeProbe([] { return false; });
        m_form = std::make_unique<Kivo_UIManager>();
    }

    void TearDown() override
    {
        m_form->Uninitialize();
        m_form.reset();
        Kivo_API::setIdeProbe({});
    }

    void showForm()
    {
        m_form->AppShow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    }

    template <typename T> T *control(const char *name) const
    {
        return m_form->findChild<T *>(QLatin1String(name));
    }

    ToolBarControl *toolBar() const { return control<ToolBarControl>("m_TopToolBar"); }
    FormScroller *scroller() const { return control<FormScroller>("FormScroller1"); }

    // A wheel turn where the scroller would take it for itself.
    void turnWheel(int angleDelta) const
    {
        QWidget *viewport = scroller()->viewport();
        const QPointF at(5, 5);
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, angleDelta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }

    std::unique_ptr<Kivo_UIManager> m_form;
};

// Guards against the owner taking effect before the host positions the
// window or never, message boxes not owned by the shown form, a position
// code other than "keep" using the current place, and "keep" moving it.
TEST_F(FormWindowTest, ParentAndPlaceTakeEffectAtThePosition)
{
    QWidget host;
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    showForm();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QV_MsgBox::OwnerWindow() == m_form.get(); }));
    m_form->resize(400, 300);
    m_form->move(40, 30);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_form->frameGeometry().topLeft() == QPoint(40, 30); }));

    m_form->Parent(qint32(host.winId()));
    EXPECT_EQ(m_form->windowHandle()->transientParent(), nullptr);
    m_form->Position(11);
    EXPECT_EQ(m_form->windowHandle()->transientParent(), host.windowHandle());
    EXPECT_EQ(m_form->frameGeometry().topLeft(), QPoint(40, 30));

    m_form->Position(5);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((m_form->frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

// Guards against the design band showing outside design mode, after a
// minimise or a restore, and against layout bands other than the main and the
// design band showing at all.
TEST_F(FormWindowTest, DesignBandOnlyInDesignMode)
{
    // A root without a toolbar layout of its own takes the shipped one.
    QTemporaryDir root;
    SetPlatformValue(u"CorvalisRoot", reinterpret_cast<const OLECHAR *>(root.path().utf16()));
    showForm();
    SetPlatformValue(u"CorvalisRoot", nullptr);
    EXPECT_NO_THROW(toolBar()->tool(11));
    EXPECT_TRUE(toolBar()->band(QStringLiteral("Band1"))->isVisible());
    EXPECT_FALSE(toolBar()->band(QStringLiteral("TF Field Popup"))->isVisible());

    ToolBand *design = toolBar()->band(1);
    EXPECT_FALSE(design->isVisible());
    design->setVisible(true);
    m_form->Minimize();
    EXPECT_FALSE(design->isVisible());
    m_form->Restore();
    EXPECT_FALSE(m_form->isDesignModeOn());
    EXPECT_FALSE(design->isVisible());
}

// Guards against a hook left attached while hidden, not re-attached on the
// next show, or attached twice; and against a hook attached inside the
// development environment, where it would outlive the debugged window.
TEST_F(FormWindowTest, HideAndShowDetachAndReattachTheWheelHook)
{
    const char *lines[] = {
        "Start to attach Mouse Wheel Hook", "Start to detach mouse wheel hooking",
        "Already attached! mouse wheel hook", "Already detached! mouse wheel support"};
    QList<int> before;
    for (const char *line : lines)
        before << logged(QLatin1String(line));
    auto added = [&](int i) { return logged(QLatin1String(lines[i])) - before[i]; };

    m_form->DetachWheelHook(); // never attached: nothing to say
    showForm();
    m_form->AppHide();
    showForm();
    m_form->AttachWheelHook();
    m_form->AppHide();
    m_form->DetachWheelHook();
    EXPECT_EQ((QList<int>{added(0), added(1), added(2), added(3)}), (QList<int>{2, 2, 1, 1}));

    Kivo_API::setIdeProbe([] { return true; });
    showForm();
    m_form->AppHide();
    EXPECT_EQ(added(0), 2);
    EXPECT_EQ(added(1), 2);
}

// Guards against a wheel turn scrolling past the top, by the notch count, or
// by the scroller's own steps on top of the form's.
TEST_F(FormWindowTest, WheelScrollsOneStepPerTurn)
{
    showForm();
    m_form->resize(500, 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scroller()->ScrollMax() > 6000; }));

    turnWheel(120);
    EXPECT_EQ(scroller()->ScrollPosition(), 0);
    turnWheel(-120);
    EXPECT_EQ(scroller()->ScrollPosition(), 2500);
    turnWheel(-240);
    EXPECT_EQ(scroller()->ScrollPosition(), 5000);
    turnWheel(120);
    EXPECT_EQ(scroller()->ScrollPosition(), 2500);
}

// Guards against the wrong message for the host's answer, above all a
// failure reported as success; against a second message that restarts the
// running timer, so a quick run of messages never goes; and against a
// message that never goes away.
TEST_F(FormWindowTest, StatusMessageMatchesTheAnswerAndGoesFourSecondsFromTheFirst)
{
    showForm();
    auto *info = control<QLabel>("lblInfo");
    auto *timer = control<QTimer>("Timer1");
    const std::pair<qint32, qint32> answers[] = {{0, ResourceIds::SUBMIT_SUCCEEDED},
                                                 {2, ResourceIds::SUBMIT_FAILED},
                                                 {1, ResourceIds::SUBMIT_REJECTED}};
    for (const auto &[answer, textId] : answers) {
        ASSERT_FALSE(QV_Resource::GetResString(textId).isEmpty()) << textId;
        m_form->SubmitCompleted(answer);
        EXPECT_EQ(info->text(), QV_Resource::GetResString(textId)) << answer;
    }
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(timer->interval(), 4000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timer->remainingTime() < 3500; }));

    m_form->SubmitCompleted(2);
    EXPECT_TRUE(timer->isActive());
    EXPECT_LT(timer->remainingTime(), 3500);
    EXPECT_EQ(info->text(), QV_Resource::GetResString(ResourceIds::SUBMIT_FAILED));

    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_FALSE(info->isVisible());
    EXPECT_TRUE(info->text().isEmpty());
}

// The decisions of the window procedure, free of any window.

// Guards against a turn toward the user scrolling up, scrolling past the
// bottom, and a fine-grained wheel's part notches scrolling the wrong way.
TEST(WindowProcTest, WheelTurnsMakeOneBoundedStep)
{
    EXPECT_EQ(Kivo_API::takeWheelNotches(120), 1);
    EXPECT_EQ(Kivo_API::takeWheelNotches(-240), -2);
    EXPECT_EQ(Kivo_API::takeWheelNotches(60), 0);
    EXPECT_EQ(Kivo_API::takeWheelNotches(60), 1);
    EXPECT_EQ(Kivo_API::takeWheelNotches(100), 0);
    EXPECT_EQ(Kivo_API::takeWheelNotches(-120), -1); // the part notch up is dropped
    EXPECT_EQ(Kivo_API::takeWheelNotches(0), 0);

    // The scrolled form covers the other bounds and the step.
    EXPECT_EQ(Kivo_API::wheelScrollAmount(-1, 9000, 9000), 0);
    EXPECT_EQ(Kivo_API::wheelScrollAmount(0, 3000, 9000), 0);
}

// Guards against scrolling by the whole saved position when the scroller
// kept its place, and against a mere move scrolling at all.
TEST(WindowProcTest, SizingPutsBackOnlyWhatTheResizeChanged)
{
    Kivo_API::enterSizeMove(3000);
    Kivo_API::sizeChanged();
    EXPECT_TRUE(Kivo_API::inSizeMove());
    EXPECT_EQ(Kivo_API::exitSizeMove(3000), 0);
    EXPECT_FALSE(Kivo_API::inSizeMove());

    Kivo_API::enterSizeMove(3000);
    Kivo_API::sizeChanged();
    EXPECT_EQ(Kivo_API::exitSizeMove(0), 3000);

    Kivo_API::enterSizeMove(3000);
    EXPECT_EQ(Kivo_API::exitSizeMove(0), 0);
}

} // namespace
