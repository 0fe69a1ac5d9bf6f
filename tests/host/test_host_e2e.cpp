#include "Bstr.h"
#include "FakeTFData.h"
#include "FormLookup.h"
#include "RecordingUIListener.h"
#include "tables/ModalDialogs.h"

#include "config/StoreSeed.h"

#include <kivo/TF_IUI.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>

#include <dlfcn.h>

#include <gtest/gtest.h>

namespace {

const std::u16string History = u"KESTO_TF_HISTORY";
const QString FirstShowLine =
    QStringLiteral("Kivo_Manager: First time to show TF. Read layout from CFG");

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

void setPlatformValue(const char16_t *name, const QString &value)
{
    SetPlatformValue(name, reinterpret_cast<const OLECHAR *>(value.utf16()));
}

// Each test works on a store and a log folder of its own, as the seeded user
// with edit rights.
class HostEntry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        qputenv("KIVO_LOG_DIR", QFile::encodeName(m_dir.path()));
        setPlatformValue(u"ConfigStoreFile", m_dir.filePath(QStringLiteral("config.db")));
        setPlatformValue(u"CurrUser", QStringLiteral("radiologist"));
        setPlatformValue(u"CurrMachine", QStringLiteral("ws-test"));
        {
            ConfigDatabase store;
            ASSERT_TRUE(seedStore(store, false));
        }
        m_manager = createManager();
        ASSERT_NE(m_manager, nullptr);
        ASSERT_EQ(m_manager->Init(), S_OK) << QString::fromStdU16String(lastError()).toStdString();
        m_listener = RecordingUIListener::create();
        ASSERT_EQ(m_manager->put_UIListener(m_listener), S_OK);
        m_record = FakeTFData::create();
        m_record->set(History, u"Cough for three weeks");
        m_record->set(u"KESTO_TF_MODALITY", u"CT");
        m_record->set(u"KESTO_TF_AFIP", u"Y");
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
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            if (window->objectName() == QLatin1String("Kivo_UIManager"))
                return window;
        }
        return nullptr;
    }

    template <typename Control> static Control *control(const QString &name)
    {
        QWidget *window = form();
        return window ? window->findChild<Control *>(name) : nullptr;
    }

    static QPlainTextEdit *historyBox()
    {
        QWidget *window = form();
        return window ? qobject_cast<QPlainTextEdit *>(
                            FormLookup::fieldTextBox(window, QStringLiteral("History:")))
                      : nullptr;
    }

    static QComboBox *comboOf(const QString &caption)
    {
        const auto labels = form()->findChildren<QLabel *>(QStringLiteral("m_aLabels"));
        for (const QLabel *label : labels) {
            if (label->text() != caption)
                continue;
            for (QComboBox *combo : form()->findChildren<QComboBox *>(QStringLiteral("m_aCombo")))
                if (combo->property("index") == label->property("index"))
                    return combo;
        }
        return nullptr;
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

    // Chooses Submit on the toolbar and answers the confirmation.
    void submit(QMessageBox::StandardButton answer)
    {
        QAction *tool = FormLookup::tool(form(), 1);
        ASSERT_NE(tool, nullptr);
        whenModal<QMessageBox>([answer](QMessageBox *box) { box->button(answer)->click(); });
        tool->trigger();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    // What was logged since the log was last read, as "source: message".
    QStringList newLogMessages()
    {
        QFile file(m_dir.filePath(QStringLiteral("quovira.log")));
        QStringList messages;
        if (!file.open(QIODevice::ReadOnly))
            return messages;
        file.seek(m_logOffset);
        static const QRegularExpression entry(
            QStringLiteral("\\[(\\w+)\\] \\[\\d+\\] \\[\\d+\\] (.*)$"));
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            const auto match = entry.match(line);
            if (match.hasMatch())
                messages << match.captured(1) + QStringLiteral(": ") + match.captured(2);
        }
        m_logOffset = file.pos();
        return messages;
    }

    QTemporaryDir m_dir;
    qint64 m_logOffset = 0;
    TF_IUI *m_manager = nullptr;
    RecordingUIListener *m_listener = nullptr;
    FakeTFData *m_record = nullptr;
};

} // namespace

// Guards against a later Show rebuilding the form (losing the design state
// and reading the store) or re-deciding design rights, and against the first
// Show not filling what the record holds.
TEST_F(HostEntry, FirstShowBuildsFromTheDefaultLayoutAndLaterShowsOnlyRefill)
{
    showEntry();
    const QStringList first = newLogMessages();
    EXPECT_TRUE(first.contains(FirstShowLine)) << first.join('\n').toStdString();
    EXPECT_TRUE(first.contains(
        QStringLiteral("Kivo_CFGManager: No Form Layout tree exists. Read default")));
    LONG visible = 0;
    EXPECT_EQ(m_manager->get_Visible(&visible), S_OK);
    EXPECT_EQ(visible, 1);
    EXPECT_EQ(historyBox()->toPlainText(), QStringLiteral("Cough for three weeks"));
    EXPECT_EQ(comboOf(QStringLiteral("Modality:"))->currentText(), QStringLiteral("CT"));
    EXPECT_TRUE(control<QCheckBox>(QStringLiteral("chkAFIP"))->isChecked());
    EXPECT_EQ(control<QLabel>(QStringLiteral("lblACRCode"))->text(), QStringLiteral("6 - 45"));
    QAction *designMode = FormLookup::tool(form(), 4);
    ASSERT_NE(designMode, nullptr);
    EXPECT_TRUE(designMode->isVisible());

    // The user loses the right to edit the layout; the open form keeps what
    // the first Show decided.
    ConfigDatabase().WriteLong(QStringLiteral("Corvalis\\system\\users\\radiologist\\edit_allowed"),
                               0);
    FakeTFData *second = FakeTFData::create();
    second->set(History, u"Second entry");
    ASSERT_EQ(m_manager->Show(second), S_OK);
    const QStringList later = newLogMessages();
    EXPECT_FALSE(later.contains(FirstShowLine));
    EXPECT_FALSE(later.contains(QStringLiteral("Kivo_CFGManager: Start InitBeforeReadLayout")));
    EXPECT_FALSE(later.isEmpty()) << "the refill must have been logged";
    EXPECT_EQ(historyBox()->toPlainText(), QStringLiteral("Second entry"));
    EXPECT_FALSE(control<QCheckBox>(QStringLiteral("chkAFIP"))->isChecked());
    EXPECT_TRUE(designMode->isVisible());
    EXPECT_EQ(m_manager->CloseSession(), S_OK);
    second->Release();
}

// Guards against a submit that skips the question, writes the wrong tag
// formats, or does not reach the host; and against No changing anything.
TEST_F(HostEntry, SubmitFromTheToolbarFillsEveryTagAndReachesTheHost)
{
    showEntry();
    typeIntoHistory(" and fever");
    QTest::mouseClick(control<QCheckBox>(QStringLiteral("chkAFIP")), Qt::LeftButton);
    const auto before = m_record->values();

    submit(QMessageBox::No);
    EXPECT_EQ(m_record->values(), before);
    EXPECT_TRUE(m_listener->submitted().empty());

    submit(QMessageBox::Yes);
    ASSERT_EQ(m_listener->submitted().size(), 1u);
    EXPECT_EQ(m_listener->submitted().front(), m_record);
    EXPECT_EQ(m_record->value(History), u"Cough for three weeks and fever");
    EXPECT_EQ(m_record->value(u"KESTO_TF_MODALITY"), u"CT");
    EXPECT_EQ(m_record->value(u"KESTO_TF_SUBMITTED_BY"), u"RADIOLOGIST");
    EXPECT_EQ(QString::fromStdU16String(m_record->value(u"KESTO_TF_DATE_SUBMITTED")),
              QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    EXPECT_EQ(m_record->value(u"KESTO_TF_AFIP"), u"N"); // unticked by the click
    EXPECT_EQ(m_record->value(u"KESTO_TF_ANATOMY"), u"6");
    EXPECT_EQ(m_record->value(u"KESTO_TF_PATHOLOGY"), u"45");
    EXPECT_EQ(m_record->value(u"KESTO_TF_TEACHING_INDICATION"), u"Y");
    for (const char16_t *tag :
         {u"KESTO_TF_DIAGNOSIS", u"KESTO_TF_FINDINGS", u"KESTO_TF_DIFFERENTIAL_DIAGNOSIS",
          u"KESTO_TF_DISCUSSION", u"KESTO_TF_BODY_REGION", u"KESTO_TF_SEX", u"KESTO_TF_SIDE",
          u"KESTO_TF_DIFFICULTY", u"KESTO_TF_KEYWORDS", u"KESTO_TF_ACR_CODE_DESCRIPTION",
          u"KESTO_TF_ANGIOGRAPHY", u"KESTO_TF_ANGIO_DESCRIPTION"})
        EXPECT_EQ(m_record->values().count(tag), 1u)
            << QString::fromStdU16String(tag).toStdString();

    // Submitting cleared the modified flag: nothing is left to keep.
    const auto [returned, asked] = beforeDone(0, QMessageBox::Yes);
    EXPECT_EQ(returned, nullptr);
    EXPECT_FALSE(asked);
}

// Guards against the wrong status text, or a status line that never goes.
TEST_F(HostEntry, SubmitCompletedShowsTheStatusUntilTheTimerFires)
{
    showEntry();
    auto *status = control<QLabel>(QStringLiteral("lblInfo"));
    auto *timer = control<QTimer>(QStringLiteral("Timer1"));
    ASSERT_NE(status, nullptr);
    ASSERT_NE(timer, nullptr);
    const std::pair<LONG, int> cases[] = {{0, 15426}, {1, 1135}, {2, 1134}};
    for (const auto &[code, text] : cases) {
        ASSERT_EQ(m_manager->SubmitCompleted(code), S_OK);
        EXPECT_TRUE(status->isVisible());
        EXPECT_EQ(status->text(), catalogText(text)) << code;
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 4000);
    }
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_FALSE(status->isVisible());
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_FALSE(timer->isActive());
}

// Guards against losing the user's changes at the end of an entry, asking
// when nothing changed or the entry is read-only, and handing back a record
// without the reference the host will release.
TEST_F(HostEntry, HandleBeforeDoneKeepsOrDiscardsChangesAsTheUserSays)
{
    showEntry();
    ASSERT_EQ(m_manager->put_Visible(0), S_OK);
    auto [returned, asked] = beforeDone(0, QMessageBox::Yes);
    EXPECT_EQ(returned, nullptr);
    EXPECT_FALSE(asked);
    LONG visible = 1;
    m_manager->get_Visible(&visible);
    EXPECT_EQ(visible, 0) << "an unmodified entry must not show the window";

    ASSERT_EQ(m_manager->Show(m_record), S_OK);
    typeIntoHistory("!");
    ASSERT_EQ(m_manager->ViewOnly(1), S_OK);
    std::tie(returned, asked) = beforeDone(0, QMessageBox::Yes);
    EXPECT_EQ(returned, nullptr);
    EXPECT_FALSE(asked);
    ASSERT_EQ(m_manager->ViewOnly(0), S_OK);

    // Skipping the question keeps the changes without asking.
    const ULONG references = m_record->refCount();
    std::tie(returned, asked) = beforeDone(1, QMessageBox::Yes);
    EXPECT_FALSE(asked);
    ASSERT_EQ(returned, m_record);
    EXPECT_EQ(m_record->refCount(), references + 1);
    returned->Release();
    EXPECT_EQ(m_record->value(History), u"Cough for three weeks!");
    std::tie(returned, asked) = beforeDone(0, QMessageBox::Yes);
    EXPECT_EQ(returned, nullptr) << "the modified flag must be cleared";
    EXPECT_FALSE(asked);

    typeIntoHistory("?");
    ASSERT_EQ(m_manager->put_Visible(0), S_OK);
    std::tie(returned, asked) = beforeDone(0, QMessageBox::Yes);
    EXPECT_TRUE(asked);
    ASSERT_EQ(returned, m_record);
    returned->Release();
    EXPECT_EQ(m_record->value(History), u"Cough for three weeks!?");
    m_manager->get_Visible(&visible);
    EXPECT_EQ(visible, 1) << "the user must see what is being kept";

    typeIntoHistory("#");
    std::tie(returned, asked) = beforeDone(0, QMessageBox::No);
    EXPECT_TRUE(asked);
    EXPECT_EQ(returned, nullptr);
    EXPECT_EQ(m_record->value(History), u"Cough for three weeks!?");
    m_manager->get_Visible(&visible);
    EXPECT_EQ(visible, 0);
    std::tie(returned, asked) = beforeDone(0, QMessageBox::Yes);
    EXPECT_FALSE(asked) << "discarded changes must not be asked about again";
}

// Guards against a read-only entry that can still be changed or submitted,
// and against ViewOnly failing when a host sets it before the first Show, as
// hosts open a read-only entry.
TEST_F(HostEntry, AnEntryOpenedReadOnlyCannotBeChanged)
{
    ASSERT_EQ(m_manager->ViewOnly(1), S_OK) << QString::fromStdU16String(lastError()).toStdString();
    showEntry();
    EXPECT_TRUE(historyBox()->isReadOnly());
    EXPECT_FALSE(FormLookup::tool(form(), 1)->isEnabled());
    EXPECT_FALSE(control<QCheckBox>(QStringLiteral("chkAFIP"))->isEnabled());
    const auto [returned, asked] = beforeDone(0, QMessageBox::Yes);
    EXPECT_EQ(returned, nullptr);
    EXPECT_FALSE(asked);

    ASSERT_EQ(m_manager->ViewOnly(0), S_OK);
    ASSERT_EQ(m_manager->Show(m_record), S_OK);
    EXPECT_FALSE(historyBox()->isReadOnly());
    EXPECT_TRUE(FormLookup::tool(form(), 1)->isEnabled());
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
    EXPECT_TRUE(control<QLabel>(QStringLiteral("lblACRCode"))->text().isEmpty());
    EXPECT_EQ(m_record->refCount(), references - 1) << "the form must let go of the record";
    const auto [returned, asked] = beforeDone(0, QMessageBox::Yes);
    EXPECT_EQ(returned, nullptr);
    EXPECT_FALSE(asked);

    // Events without a listener are dropped, and a null listener keeps the
    // one set before.
    EXPECT_EQ(m_manager->put_UIListener(nullptr), S_OK);
    form()->close();
    EXPECT_EQ(m_listener->formClosedCount(), 3);
    ASSERT_EQ(m_manager->put_Visible(2), S_OK);
    LONG visible = 1;
    m_manager->get_Visible(&visible);
    EXPECT_EQ(visible, 0);
}

// Guards against a torn-down object that still acts on a deleted form, and
// against a second Init that would orphan a live window.
TEST_F(HostEntry, UnInitializeTearsDownAndLaterCallsFailCleanly)
{
    showEntry();
    QPointer<QWidget> window = form();
    ASSERT_EQ(m_manager->Init(), E_UNEXPECTED);
    EXPECT_NE(lastError().find(u"already"), std::u16string::npos);

    ASSERT_EQ(m_manager->UnInitialize(), S_OK);
    EXPECT_TRUE(!window || !window->isVisible());
    QTRY_VERIFY(window.isNull());
    EXPECT_EQ(m_record->refCount(), 1u);

    EXPECT_EQ(m_manager->Show(m_record), E_UNEXPECTED);
    EXPECT_NE(lastError().find(u"after UnInitialize"), std::u16string::npos);
    EXPECT_EQ(m_manager->SubmitCompleted(0), E_UNEXPECTED);
    EXPECT_FALSE(lastError().empty());

    // The object can start over, and builds its new form afresh.
    newLogMessages();
    ASSERT_EQ(m_manager->Init(), S_OK);
    showEntry();
    EXPECT_TRUE(newLogMessages().contains(FirstShowLine));
    EXPECT_EQ(historyBox()->toPlainText(), QStringLiteral("Cough for three weeks"));
}

// Guards against crashes and silent successes on calls out of order, null
// pointers and unknown identifiers: each must fail with a readable reason.
TEST_F(HostEntry, CallsOutOfOrderAndBadArgumentsFailWithADescription)
{
    TF_IUI *fresh = createManager();
    EXPECT_EQ(fresh->Show(m_record), E_UNEXPECTED);
    EXPECT_NE(lastError().find(u"before Init"), std::u16string::npos);
    LONG value = 0;
    EXPECT_EQ(fresh->get_Visible(&value), E_UNEXPECTED);
    EXPECT_EQ(fresh->put_UIListener(m_listener), E_UNEXPECTED);
    // One window per process: a second object waits for the first to go.
    EXPECT_EQ(fresh->Init(), E_UNEXPECTED);
    EXPECT_NE(lastError().find(u"another"), std::u16string::npos);
    fresh->Release();

    EXPECT_EQ(m_manager->get_Visible(nullptr), E_POINTER);
    EXPECT_FALSE(lastError().empty());
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
    EXPECT_EQ(getClassObject(IID_TF_IUI, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(getClassObject(CLSID_Kivo_Manager, IID_IClassFactory, nullptr), E_POINTER);
    ASSERT_EQ(getClassObject(CLSID_Kivo_Manager, IID_IClassFactory, &factory), S_OK);
    auto *classFactory = static_cast<IClassFactory *>(factory);
    void *created = reinterpret_cast<void *>(1);
    EXPECT_EQ(classFactory->CreateInstance(unknown, IID_TF_IUI, &created), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(classFactory->CreateInstance(nullptr, IID_TFData, &created), E_NOINTERFACE);
    EXPECT_EQ(created, nullptr);
    classFactory->Release();
}
