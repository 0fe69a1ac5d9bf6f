// The workstation's window in the test's process, with the component loaded
// from its library as kivo-host loads it.
#include "EntryController.h"
#include "FormLookup.h"
#include "HostWindow.h"
#include "RecordsDatabase.h"
#include "ScratchStore.h"
#include "TeachingFileComponent.h"

#include "config/StoreSeed.h"
#include "tables/ModalDialogs.h"

#include <QAction>
#include <QStatusBar>
#include <QTest>

#include <sqlite3.h>

#include <memory>

namespace {

const bool started = startOnScratchStore();

// A seeded store, a records database with the sample studies and the
// workstation's window on them, the first study selected.
class Workstation : public ScratchStore
{
protected:
    struct Station
    {
        explicit Station(const QString &recordsFile) : records(recordsFile) {}
        RecordsDatabase records;
        TeachingFileComponent component{QStringLiteral(KIVO_COMPONENT_FILE)};
        EntryController controller{component, records};
        HostWindow window{controller, records};
    };

    void SetUp() override
    {
        ScratchStore::SetUp();
        SetPlatformValue(u"CurrUser", u"radiologist");
        {
            ConfigDatabase store(m_file);
            ASSERT_TRUE(seedStore(store, false));
        }
        m_station = std::make_unique<Station>(m_dir.filePath("records.db"));
        controller().start();
        window().show();
        ASSERT_TRUE(controller().setOwner(window().winId()));
        // Keys reach only an application with an active window.
        ASSERT_TRUE(activate(&window()));
    }

    // The component ends while its store is still the current one.
    void TearDown() override
    {
        m_station.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ScratchStore::TearDown();
    }

    EntryController &controller() { return m_station->controller; }
    HostWindow &window() { return m_station->window; }

    // Activation is asynchronous, and qWaitForWindowActive does not wait for
    // it where the platform reports no activation support.
    static bool activate(QWidget *window)
    {
        window->activateWindow();
        return QTest::qWaitFor([window] { return window->isActiveWindow(); });
    }

    // The History box of the open entry's window, the window active and
    // the box focused.
    QWidget *activeHistoryBox()
    {
        QWidget *form = controller().window();
        if (!form)
            return nullptr;
        EXPECT_TRUE(activate(form));
        QWidget *history = FormLookup::fieldTextBox(form, "History:");
        if (history)
            history->setFocus();
        return history;
    }

    std::unique_ptr<Station> m_station;
};

} // namespace

// Guards against workstation keys that work only in the study list: from the
// teaching-file window Ctrl+M must minimise it and Ctrl+W end the entry; and
// against a Quit key that some platforms leave unbound.
TEST_F(Workstation, KeysWorkFromTheTeachingFileWindow)
{
    QTest::keyClick(&window(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(controller().hasEntry());
    QWidget *history = activeHistoryBox();
    ASSERT_NE(history, nullptr);

    QTest::keyClick(history, Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(controller().window()->isMinimized());
    controller().restore();

    QTest::keyClick(activeHistoryBox(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(controller().hasEntry());

    // Ctrl+Q quits on every platform, whatever its theme binds to Quit.
    ASSERT_TRUE(activate(&window()));
    QTest::keyClick(&window(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window().isVisible());
}

// Guards against a failed save whose reason only reached a terminal the user
// does not have: the status bar and a message box must give it.
TEST_F(Workstation, AFailedSaveShowsItsReasonInTheWindow)
{
    QTest::keyClick(&window(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClicks(activeHistoryBox(), "Night sweats");
    // Another program breaks the database under the workstation.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(m_dir.filePath("records.db").toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE teaching_file_values", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    // The question is answered Yes; the next box is the workstation's.
    QString shownReason;
    whenModal<QMessageBox>([&](QMessageBox *question) {
        question->button(QMessageBox::Yes)->click();
        whenModal<QMessageBox>([&](QMessageBox *box) {
            shownReason = box->text();
            box->close();
        });
    });
    QAction *submit = FormLookup::tool(controller().window(), FormLookup::SubmitTool);
    ASSERT_NE(submit, nullptr);
    submit->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shownReason.isEmpty(); }));
    EXPECT_TRUE(shownReason.startsWith("The teaching file was not saved: ") &&
                shownReason.contains("teaching_file_values"))
        << shownReason.toStdString();
    EXPECT_EQ(window().statusBar()->currentMessage(), shownReason);
}
