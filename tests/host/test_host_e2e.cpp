#include "Bstr.h"
#include "FakeTFData.h"
#include "FormLookup.h"
#include "PgTestStore.h"
#include "RecordingUIListener.h"
#include "ScratchStore.h"
#include "tables/ModalDialogs.h"

#include "config/StoreSeed.h"
#include "drafts/DraftStore.h"

#include <kivo/TF_IUI.h>

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTranslator>

#include <dlfcn.h>

#include <gtest/gtest.h>

namespace {

const std::u16string History = u"KESTO_TF_HISTORY";
const std::u16string EntryKey = u"KIVO_ENTRY_KEY";
const bool started = startOnScratchStore();

DllGetClassObjectFn componentFactory()
{
    // Opened once and kept: Qt holds pointers into a library that made widgets.
    static void *library = dlopen(KIVO_COMPONENT_FILE, RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(library, nullptr) << dlerror();
    return library ? reinterpret_cast<DllGetClassObjectFn>(dlsym(library, KIVO_FACTORY_SYMBOL))
                   : nullptr;
}

std::u16string lastError()
{
    Bstr description;
    GetErrorDescription(description.out());
    return description.str();
}

QString catalogText(int id)
{
    static QTranslator catalog;
    static const bool loaded = catalog.load(QStringLiteral(KIVO_CATALOG_DIR "/QVLangEng.qm"));
    EXPECT_TRUE(loaded);
    return catalog.translate(nullptr, QByteArray::number(id).constData());
}

// A call that failed as expected and left a description holding words.
bool failedSaying(HRESULT result, HRESULT expected, std::u16string_view words)
{
    const std::u16string error = lastError();
    return result == expected && !error.empty() && error.find(words) != std::u16string::npos;
}

int timesBuilt()
{
    return TestLog::count("Kivo_Manager", "First time to show TF. Read layout from CFG");
}

// A seeded store of the test's own, as the seeded user with edit rights.
class HostEntry : public ScratchStore
{
protected:
    void SetUp() override
    {
        ScratchStore::SetUp();
        SetPlatformValue(u"CurrUser", u"radiologist");
        SetPlatformValue(u"CurrMachine", u"ws-test");
        // Each test starts without drafts, before the component opens them.
        QFile::remove(draftsFile());
        {
            ConfigDatabase store(m_file);
            ASSERT_TRUE(seedStore(store, false));
        }
        m_manager = createManager();
        ASSERT_NE(m_manager, nullptr);
        ASSERT_EQ(m_manager->Init(), S_OK) << QString::fromStdU16String(lastError()).toStdString();
        m_listener = RecordingUIListener::create();
        ASSERT_EQ(m_manager->put_UIListener(m_listener), S_OK);
        m_record = FakeTFData::create();
        m_record->set(History, u"Cough for three weeks");
        m_record->set(u"KESTO_TF_ANATOMY", u"6");
        m_record->set(u"KESTO_TF_PATHOLOGY", u"45");
    }

    void TearDown() override
    {
        m_manager->UnInitialize();
        m_manager->Release();
        m_listener->Release();
        m_record->Release();
        // The form goes with the next pass of the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ScratchStore::TearDown();
    }

    static TF_IUI *createManager()
    {
        const DllGetClassObjectFn getClassObject = componentFactory();
        if (!getClassObject)
            return nullptr;
        IClassFactory *factory = nullptr;
        EXPECT_EQ(getClassObject(CLSID_Kivo_Manager, IID_IClassFactory,
                                 reinterpret_cast<void **>(&factory)),
                  S_OK);
        TF_IUI *manager = nullptr;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_TF_IUI, reinterpret_cast<void **>(&manager)),
                  S_OK);
        factory->Release();
        return manager;
    }

    static QWidget *form()
    {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("Kivo_UIManager"))
                return window;
        }
        return nullptr;
    }

    template <typename Control> static Control *control(const char *name)
    {
        QWidget *window = form();
        return window ? window->findChild<Control *>(QLatin1String(name)) : nullptr;
    }

    static QPlainTextEdit *historyBox()
    {
        QWidget *window = form();
        return window ? qobject_cast<QPlainTextEdit *>(FormLookup::fieldTextBox(window, "History:"))
                      : nullptr;
    }

    LONG visible() const
    {
        LONG value = -1;
        EXPECT_EQ(m_manager->get_Visible(&value), S_OK);
        return value;
    }

    void showEntry()
    {
        ASSERT_EQ(m_manager->Show(m_record), S_OK)
            << QString::fromStdU16String(lastError()).toStdString();
        ASSERT_NE(historyBox(), nullptr);
    }

    void typeIntoHistory(const char *text)
    {
        QPlainTextEdit *box = historyBox();
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, QLatin1String(text));
    }

    // Asks HandleBeforeDone and answers its question (when one comes) with
    // the given button. Answers the returned record and whether a box came.
    std::pair<TFData *, bool> beforeDone(LONG skipQuestion, QMessageBox::StandardButton answer)
    {
        bool asked = false;
        QTimer::singleShot(0, [&asked, answer] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = true;
                box->button(answer)->click();
            }
        });
        TFData *returned = nullptr;
        EXPECT_EQ(m_manager->HandleBeforeDone(skipQuestion, &returned), S_OK);
        // Without a box the zero timer fires only now.
        QCoreApplication::processEvents();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }));
        return {returned, asked};
    }

    // The drafts file, beside the test's log.
    static QString draftsFile()
    {
        return qEnvironmentVariable("KIVO_LOG_DIR") + QStringLiteral("/teaching-file-drafts.db");
    }

    // The History the drafts file holds for the entry's key and login; none
    // without a draft.
    static std::optional<QString> draftedHistory(const QString &key,
                                                 const QString &login = "radiologist")
    {
        if (!QFile::exists(draftsFile()))
            return std::nullopt;
        const std::optional<Draft> draft = DraftStore(draftsFile()).read(key, login);
        return draft ? std::optional(draft->values.value("KESTO_TF_HISTORY")) : std::nullopt;
    }

    // Hides the window, which writes the draft at once; answers whether the
    // draft came to hold what History shows.
    bool hiddenWithDraft()
    {
        const QString history = historyBox()->toPlainText();
        return m_manager->put_Visible(0) == S_OK && QTest::qWaitFor([&] {
                   return draftedHistory(QString::fromStdU16String(m_record->value(EntryKey))) ==
                          history;
               });
    }

    bool typedAndHidden(const char *text)
    {
        if (m_manager->Show(m_record) != S_OK)
            return false;
        typeIntoHistory(text);
        return hiddenWithDraft();
    }

    bool draftGone() const
    {
        return QTest::qWaitFor([this] {
            return !draftedHistory(QString::fromStdU16String(m_record->value(EntryKey)));
        });
    }

    // Ends the object's form and starts a new one as login, as the next
    // session of a workstation.
    void restartAs(const char16_t *login)
    {
        ASSERT_EQ(m_manager->UnInitialize(), S_OK);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetPlatformValue(u"CurrUser", login);
        ASSERT_EQ(m_manager->Init(), S_OK) << QString::fromStdU16String(lastError()).toStdString();
        ASSERT_EQ(m_manager->put_UIListener(m_listener), S_OK);
    }

    // An end of the entry that neither asks nor hands a record back.
    bool endsWithNothingToKeep()
    {
        const auto [returned, asked] = beforeDone(0, QMessageBox::Yes);
        return !returned && !asked;
    }

    TF_IUI *m_manager = nullptr;
    RecordingUIListener *m_listener = nullptr;
    FakeTFData *m_record = nullptr;
};

} // namespace

// Guards against a later Show rebuilding the form (losing the design state)
// or re-deciding design rights, against a Show not filling what its record
// holds, and against a Show or Restore that leaves the window behind the
// host's, where the first keystrokes of the entry go nowhere.
TEST_F(HostEntry, FirstShowBuildsTheFormAndLaterShowsOnlyRefill)
{
    const int built = timesBuilt();
    showEntry();
    EXPECT_EQ(timesBuilt(), built + 1);
    EXPECT_EQ(visible(), 1);
    EXPECT_EQ(historyBox()->toPlainText(), "Cough for three weeks");
    QAction *designMode = FormLookup::tool(form(), 4);
    ASSERT_NE(designMode, nullptr);
    EXPECT_TRUE(designMode->isVisible());

    // The user loses the right to edit the layout; the open form keeps what
    // the first Show decided.
    ConfigDatabase(m_file).WriteLong("Corvalis\\system\\users\\radiologist\\edit_allowed", 0);
    FakeTFData *second = FakeTFData::create();
    second->set(History, u"Second entry");
    QWidget hostWindow;
    hostWindow.show();
    hostWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostWindow.isActiveWindow(); }));
    ASSERT_EQ(m_manager->Show(second), S_OK);
    EXPECT_TRUE(QTest::qWaitFor([] { return form()->isActiveWindow(); }));
    EXPECT_EQ(QApplication::focusWidget(), historyBox());
    EXPECT_EQ(timesBuilt(), built + 1);
    EXPECT_EQ(historyBox()->toPlainText(), "Second entry");
    EXPECT_TRUE(designMode->isVisible());

    ASSERT_EQ(m_manager->Minimize(), S_OK);
    hostWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostWindow.isActiveWindow(); }));
    ASSERT_EQ(m_manager->Restore(), S_OK);
    EXPECT_TRUE(QTest::qWaitFor([] { return form()->isActiveWindow(); }));
    EXPECT_EQ(QApplication::focusWidget(), historyBox());
    EXPECT_EQ(m_manager->CloseSession(), S_OK);
    second->Release();
}

// Guards against a toolbar submit that does not reach the host or hands it
// another record than the one filled, against the host's answer not
// reaching the status line, against a stamp that stays blank after a
// submit the host kept, and against the entry still counting as modified
// afterwards.
TEST_F(HostEntry, SubmitFromTheToolbarReachesTheHostAndItsAnswerTheForm)
{
    showEntry();
    typeIntoHistory(" and fever");
    whenModal<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
    FormLookup::tool(form(), 1)->trigger();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_EQ(m_listener->submitted().size(), 1u);
    EXPECT_EQ(m_listener->submitted().front(), m_record);
    EXPECT_EQ(m_record->value(History), u"Cough for three weeks and fever");

    ASSERT_EQ(m_manager->SubmitCompleted(2), S_OK);
    EXPECT_EQ(control<QLabel>("lblInfo")->text(), catalogText(1134));
    EXPECT_TRUE(control<QLabel>("lblDate")->text().isEmpty());
    ASSERT_EQ(m_manager->SubmitCompleted(0), S_OK);
    EXPECT_EQ(control<QLabel>("lblDate")->text(), QDate::currentDate().toString("yyyyMMdd"));
    EXPECT_FALSE(control<QLabel>("lblSubmittedBy")->text().isEmpty());
    EXPECT_TRUE(endsWithNothingToKeep());
}

// Guards against losing the user's changes at the end of an entry, asking
// when nothing changed or the entry is read-only, and handing back a record
// without the reference the host will release.
TEST_F(HostEntry, HandleBeforeDoneKeepsOrDiscardsChangesAsTheUserSays)
{
    showEntry();
    ASSERT_EQ(m_manager->put_Visible(0), S_OK);
    EXPECT_TRUE(endsWithNothingToKeep());
    EXPECT_EQ(visible(), 0) << "an unmodified entry must not show the window";

    ASSERT_EQ(m_manager->Show(m_record), S_OK);
    typeIntoHistory("!");
    ASSERT_EQ(m_manager->ViewOnly(1), S_OK);
    EXPECT_TRUE(endsWithNothingToKeep());
    // Any other value is an editable entry, whose edits must be kept.
    ASSERT_EQ(m_manager->ViewOnly(2), S_OK);

    // Skipping the question keeps the changes without asking.
    const ULONG references = m_record->refCount();
    auto [returned, asked] = beforeDone(1, QMessageBox::Yes);
    EXPECT_FALSE(asked);
    ASSERT_EQ(returned, m_record);
    EXPECT_EQ(m_record->refCount(), references + 1);
    returned->Release();
    EXPECT_EQ(m_record->value(History), u"Cough for three weeks!");
    EXPECT_TRUE(endsWithNothingToKeep()) << "the modified flag must be cleared";

    typeIntoHistory("?");
    ASSERT_EQ(m_manager->put_Visible(0), S_OK);
    std::tie(returned, asked) = beforeDone(0, QMessageBox::Yes);
    EXPECT_TRUE(asked);
    ASSERT_EQ(returned, m_record);
    returned->Release();
    EXPECT_EQ(m_record->value(History), u"Cough for three weeks!?");
    EXPECT_EQ(visible(), 1) << "the user must see what is being kept";

    typeIntoHistory("#");
    std::tie(returned, asked) = beforeDone(0, QMessageBox::No);
    EXPECT_TRUE(asked);
    EXPECT_EQ(returned, nullptr);
    EXPECT_EQ(m_record->value(History), u"Cough for three weeks!?");
    EXPECT_EQ(visible(), 0);
    EXPECT_TRUE(endsWithNothingToKeep()) << "discarded changes must not be asked about again";
}

// Guards against ViewOnly failing, or being forgotten, when a host sets it
// before the first Show, as hosts open a read-only entry.
TEST_F(HostEntry, AnEntryOpenedReadOnlyCannotBeChanged)
{
    ASSERT_EQ(m_manager->ViewOnly(1), S_OK) << QString::fromStdU16String(lastError()).toStdString();
    showEntry();
    EXPECT_TRUE(historyBox()->isReadOnly());
    EXPECT_FALSE(FormLookup::tool(form(), 1)->isEnabled());
}

// Guards against a close that unloads the form or tells the host twice, and
// against CloseSession leaving the last entry's text or record behind.
TEST_F(HostEntry, UserCloseTellsTheHostOnceAndCloseSessionEmptiesTheForm)
{
    showEntry();
    form()->close();
    EXPECT_EQ(m_listener->formClosedCount(), 1);
    ASSERT_NE(form(), nullptr);
    EXPECT_FALSE(form()->isVisible());

    ASSERT_EQ(m_manager->put_Visible(1), S_OK);
    FormLookup::tool(form(), 7)->trigger();
    EXPECT_EQ(m_listener->formClosedCount(), 2);
    EXPECT_FALSE(form()->isVisible());

    ASSERT_EQ(m_manager->Show(m_record), S_OK);
    typeIntoHistory("x");
    const ULONG references = m_record->refCount();
    ASSERT_EQ(m_manager->CloseSession(), S_OK);
    EXPECT_TRUE(historyBox()->toPlainText().isEmpty());
    EXPECT_TRUE(control<QLabel>("lblACRCode")->text().isEmpty());
    EXPECT_FALSE(historyBox()->isEnabled()) << "nothing may be typed without a record";
    EXPECT_EQ(m_record->refCount(), references - 1) << "the form must let go of the record";
    EXPECT_TRUE(endsWithNothingToKeep());

    // A null listener keeps the one set before.
    EXPECT_EQ(m_manager->put_UIListener(nullptr), S_OK);
    form()->close();
    EXPECT_EQ(m_listener->formClosedCount(), 3);
}

// Guards against a torn-down object that still acts on a deleted form, and
// against a second Init that would orphan a live window.
TEST_F(HostEntry, UnInitializeTearsDownAndLaterCallsFailCleanly)
{
    showEntry();
    QPointer<QWidget> window = form();
    ASSERT_TRUE(failedSaying(m_manager->Init(), E_UNEXPECTED, u"already"));

    ASSERT_EQ(m_manager->UnInitialize(), S_OK);
    EXPECT_TRUE(!window || !window->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
    EXPECT_EQ(m_record->refCount(), 1u);

    EXPECT_TRUE(failedSaying(m_manager->Show(m_record), E_UNEXPECTED, u"after UnInitialize"));
    EXPECT_TRUE(failedSaying(m_manager->SubmitCompleted(0), E_UNEXPECTED, u""));

    // The object can start over, and builds its new form afresh.
    const int built = timesBuilt();
    ASSERT_EQ(m_manager->Init(), S_OK);
    showEntry();
    EXPECT_EQ(timesBuilt(), built + 1);
    EXPECT_EQ(historyBox()->toPlainText(), "Cough for three weeks");
}

// Guards against a PostgreSQL outage between two host calls that hangs or
// crashes the component, passes for success, shows the user nothing or
// leaves half a layout behind, and against a component that stays broken
// once the server is back instead of connecting again by itself.
TEST_F(HostEntry, AServerOutageFailsCleanlyAndTheStoreConnectsAgain)
{
    KIVO_REQUIRE_PG_SERVER();
    const TempPgStore site;
    {
        ConfigDatabase store(site.uri);
        ASSERT_TRUE(seedStore(store, false));
    }
    ASSERT_EQ(m_manager->UnInitialize(), S_OK);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(useStoreFile(site.uri));
    ASSERT_EQ(m_manager->Init(), S_OK) << QString::fromStdU16String(lastError()).toStdString();
    showEntry();
    FormLookup::tool(form(), FormLookup::DesignModeTool)->trigger();
    QLabel *history = FormLookup::fieldLabel(form(), QStringLiteral("History:"));
    ASSERT_NE(history, nullptr);
    history->move(history->pos() + QPoint(0, 30));

    pgServer().stop();
    {
        MessageBoxAnswerer answerer;
        FormLookup::tool(form(), FormLookup::SaveLayoutTool)->trigger();
        const QStringList shown = answerer.takeTexts();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].contains(QStringLiteral("configuration store")))
            << qPrintable(shown[0]);
    }
    ASSERT_EQ(m_manager->UnInitialize(), S_OK);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const HRESULT duringOutage = m_manager->Init();
    const QString description = QString::fromStdU16String(lastError());
    EXPECT_TRUE(FAILED(duringOutage));
    EXPECT_TRUE(description.contains(QStringLiteral("configuration store")))
        << qPrintable(description);

    ASSERT_TRUE(pgServer().start()) << qPrintable(pgServer().error());
    EXPECT_FALSE(ConfigDatabase(site.uri).KeyExists(
        QStringLiteral("Corvalis\\system\\applications\\quovira\\teachingfile\\appearance\\form_"
                       "layout")));
    ASSERT_EQ(m_manager->Init(), S_OK) << QString::fromStdU16String(lastError()).toStdString();
    showEntry();
    EXPECT_EQ(historyBox()->toPlainText(), "Cough for three weeks");
}

// Guards against crashes and silent successes on calls out of order, null
// pointers and unknown identifiers: each must fail with a readable reason,
// the class factory's failures too.
TEST_F(HostEntry, CallsOutOfOrderAndBadArgumentsFailWithADescription)
{
    TF_IUI *fresh = createManager();
    EXPECT_TRUE(failedSaying(fresh->Show(m_record), E_UNEXPECTED, u"before Init"));
    LONG value = 0;
    EXPECT_EQ(fresh->get_Visible(&value), E_UNEXPECTED);
    EXPECT_EQ(fresh->put_UIListener(m_listener), E_UNEXPECTED);
    // One window per process: a second object waits for the first to go.
    EXPECT_TRUE(failedSaying(fresh->Init(), E_UNEXPECTED, u"another"));
    fresh->Release();

    EXPECT_EQ(m_manager->get_Visible(nullptr), E_POINTER);
    EXPECT_EQ(m_manager->get_HWND(nullptr), E_POINTER);
    EXPECT_EQ(m_manager->HandleBeforeDone(0, nullptr), E_POINTER);
    EXPECT_FALSE(lastError().empty());
    EXPECT_EQ(m_manager->get_HWND(&value), S_OK);
    EXPECT_NE(value, 0);

    void *other = reinterpret_cast<void *>(1);
    EXPECT_EQ(m_manager->QueryInterface(IID_TFData, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(m_manager->QueryInterface(IID_TF_IUI, nullptr), E_POINTER);
    IUnknown *unknown = nullptr;
    ASSERT_EQ(m_manager->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 1u);

    const DllGetClassObjectFn getClassObject = componentFactory();
    void *factory = reinterpret_cast<void *>(1);
    EXPECT_TRUE(failedSaying(getClassObject(IID_TF_IUI, IID_IClassFactory, &factory),
                             CLASS_E_CLASSNOTAVAILABLE, u"DllGetClassObject failed: "));
    EXPECT_EQ(factory, nullptr);
    EXPECT_TRUE(failedSaying(getClassObject(CLSID_Kivo_Manager, IID_IClassFactory, nullptr),
                             E_POINTER, u"pointer is null"));
    ASSERT_EQ(getClassObject(CLSID_Kivo_Manager, IID_IClassFactory, &factory), S_OK);
    auto *classFactory = static_cast<IClassFactory *>(factory);
    void *created = reinterpret_cast<void *>(1);
    EXPECT_TRUE(failedSaying(classFactory->CreateInstance(unknown, IID_TF_IUI, &created),
                             CLASS_E_NOAGGREGATION, u"CreateInstance failed: "));
    EXPECT_TRUE(failedSaying(classFactory->CreateInstance(nullptr, IID_TFData, &created),
                             E_NOINTERFACE, u"interface"));
    EXPECT_TRUE(failedSaying(classFactory->CreateInstance(nullptr, IID_TF_IUI, nullptr), E_POINTER,
                             u"pointer is null"));
    EXPECT_EQ(created, nullptr);
    classFactory->Release();
}

// Guards against a window that does not say whose entry it shows, a
// read-only caption that drops it, a title left from the entry before, and a
// close question that does not name the entry it asks about.
TEST_F(HostEntry, TheTitleAndTheCloseQuestionNameTheEntry)
{
    showEntry();
    EXPECT_EQ(form()->windowTitle(), catalogText(15398));
    const QString entry = QStringLiteral("DOE^JOHN \u00b7 CT CHEST \u00b7 2026-12-01");
    m_record->set(u"KIVO_ENTRY_TITLE", entry.toStdU16String());
    ASSERT_EQ(m_manager->Show(m_record), S_OK);
    EXPECT_EQ(form()->windowTitle(), catalogText(15398) + " - " + entry);
    ASSERT_EQ(m_manager->ViewOnly(1), S_OK);
    EXPECT_EQ(form()->windowTitle(), catalogText(15399) + " - " + entry);
    ASSERT_EQ(m_manager->ViewOnly(0), S_OK);

    typeIntoHistory("!");
    MessageBoxAnswerer answerer(catalogText(15402));
    TFData *returned = nullptr;
    ASSERT_EQ(m_manager->HandleBeforeDone(0, &returned), S_OK);
    ASSERT_EQ(returned, m_record);
    returned->Release();
    EXPECT_EQ(answerer.takeTexts(), QStringList{catalogText(15981).arg(entry)});
    ASSERT_EQ(m_manager->CloseSession(), S_OK);
    EXPECT_EQ(form()->windowTitle(), catalogText(15398));
}

// Guards against a drafts file written for a host that gave no key, and a
// draft outliving an entry that ended cleanly (a completed submit, the close
// question answered either way, HandleBeforeDone told to skip it, CloseSession
// after one of those) or lost by one that did not (CloseSession alone).
TEST_F(HostEntry, DraftsAreKeptForKeyedEntriesUntilTheyEndCleanly)
{
    showEntry();
    typeIntoHistory(" no key");
    ASSERT_EQ(m_manager->put_Visible(0), S_OK);
    EXPECT_FALSE(QFile::exists(draftsFile()));
    ASSERT_EQ(m_manager->CloseSession(), S_OK);

    m_record->set(EntryKey, u"study-1");
    ASSERT_TRUE(typedAndHidden(" submitted"));
    whenModal<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
    FormLookup::tool(form(), 1)->trigger();
    ASSERT_EQ(m_manager->SubmitCompleted(0), S_OK);
    EXPECT_TRUE(draftGone()) << "a completed submit";

    for (const auto &[skip, answer] :
         {std::pair(0, QMessageBox::Yes), std::pair(0, QMessageBox::No),
          std::pair(1, QMessageBox::Yes)}) {
        ASSERT_TRUE(typedAndHidden(" ended"));
        const auto [returned, asked] = beforeDone(skip, answer);
        if (returned)
            returned->Release();
        EXPECT_TRUE(draftGone()) << "skip " << skip << ", answer " << answer;
    }
    // Typed after the end was settled: CloseSession ends it.
    typeIntoHistory(" after");
    ASSERT_TRUE(hiddenWithDraft());
    ASSERT_EQ(m_manager->CloseSession(), S_OK);
    EXPECT_TRUE(draftGone()) << "CloseSession after a settled end";

    // CloseSession alone settles nothing: the draft is offered next time.
    ASSERT_TRUE(typedAndHidden(" kept"));
    ASSERT_EQ(m_manager->CloseSession(), S_OK);
    MessageBoxAnswerer answerer(catalogText(15403));
    showEntry();
    EXPECT_EQ(answerer.takeTexts().size(), 1);
}

// Guards against a draft offered to another login, a declined draft offered
// again, and a restored draft that does not show every field as it was, is
// not protected as unsaved work, or does not reach the record.
TEST_F(HostEntry, ADraftIsOfferedToItsLoginAndRestoredAsItWas)
{
    m_record->set(EntryKey, u"study-2");
    showEntry();
    control<QCheckBox>("chkAFIP")->click();
    typeIntoHistory(" and fever");
    ASSERT_TRUE(hiddenWithDraft());
    ASSERT_EQ(m_manager->CloseSession(), S_OK);

    {
        MessageBoxAnswerer no(catalogText(15403));
        restartAs(u"visitor");
        showEntry();
        EXPECT_TRUE(no.takeTexts().isEmpty()) << "offered to another login";
        restartAs(u"radiologist");
        showEntry();
        const QStringList asked = no.takeTexts();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].contains("History, AFIP")) << asked[0].toStdString();
    }
    EXPECT_EQ(historyBox()->toPlainText(), "Cough for three weeks");
    EXPECT_TRUE(draftGone()) << "declined";

    control<QCheckBox>("chkAFIP")->click();
    typeIntoHistory(" and fever");
    ASSERT_TRUE(hiddenWithDraft());
    ASSERT_EQ(m_manager->CloseSession(), S_OK);
    {
        MessageBoxAnswerer yes(catalogText(15402));
        showEntry();
        EXPECT_EQ(yes.takeTexts().size(), 1);
    }
    EXPECT_EQ(historyBox()->toPlainText(), "Cough for three weeks and fever");
    EXPECT_TRUE(control<QCheckBox>("chkAFIP")->isChecked());
    EXPECT_EQ(control<QLabel>("lblACRCode")->text(), "6 - 45");
    const auto [returned, kept] = beforeDone(1, QMessageBox::Yes);
    ASSERT_EQ(returned, m_record) << "a restored draft is unsaved work";
    returned->Release();
    EXPECT_EQ(m_record->value(History), u"Cough for three weeks and fever");
    EXPECT_EQ(m_record->value(u"KESTO_TF_AFIP"), u"Y");
}

// Guards against a damaged drafts file that stops the entry, is overwritten
// or lost without a word, or is told about more than once.
TEST_F(HostEntry, ADamagedDraftsFileIsSetAsideAndTheEntryGoesOn)
{
    const QByteArray damaged = "not a database, but a patient's name";
    {
        QFile file(draftsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    m_record->set(EntryKey, u"study-3");
    MessageBoxAnswerer answerer;
    showEntry();
    const QStringList told = answerer.takeTexts();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(catalogText(15983).section("%1", 0, 0)));
    const QFileInfoList aside =
        QFileInfo(draftsFile())
            .dir()
            .entryInfoList({QFileInfo(draftsFile()).fileName() + ".damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(told[0].contains(aside[0].filePath())) << told[0].toStdString();
    QFile setAside(aside[0].filePath());
    ASSERT_TRUE(setAside.open(QIODevice::ReadOnly));
    EXPECT_EQ(setAside.readAll(), damaged);
    ASSERT_TRUE(typedAndHidden(" still kept"));
    ASSERT_EQ(m_manager->CloseSession(), S_OK);
    showEntry();
    EXPECT_EQ(answerer.takeTexts().size(), 1) << "only the draft's question, not the notice again";
}
