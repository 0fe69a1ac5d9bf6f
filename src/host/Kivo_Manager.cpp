#include "Kivo_Manager.h"

#include "AbiBoundary.h"
#include "HostCallError.h"

#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/QV_VBLogger.h"
#include "common/ResourceIds.h"
#include "config/Kivo_CFGManager.h"
#include "form/Kivo_UIManager.h"
#include "form/UserAction.h"

#include <kivo/runtime.h>

#include <QApplication>
#include <QThread>

namespace {

// The position codes the bridge gives the form: the first placement, which
// may restore a stored position, and "stay where you are".
constexpr qint32 FirstPlacement = 4;
constexpr qint32 KeepPlace = 11;

// The one initialised object of the process.
Kivo_Manager *s_initialised = nullptr;

void log(const QString &message)
{
    QV_VBLogger::WriteLog(message, QStringLiteral("Kivo_Manager"));
}

// The widgets live on the host's UI thread; touching them from another
// thread corrupts Qt's state long before anything visibly fails.
void requireUiThread(const char *operation)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        throw HostCallError(E_UNEXPECTED,
                            QStringLiteral("the host has not created a QApplication; the "
                                           "teaching-file window needs one before %1")
                                .arg(QLatin1String(operation)));
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        throw HostCallError(E_UNEXPECTED,
                            QStringLiteral("%1 was called outside the host's UI thread")
                                .arg(QLatin1String(operation)));
}

void requirePointer(const void *pointer, const char *operation)
{
    if (!pointer)
        throw HostCallError(E_POINTER, QStringLiteral("%1 was given a null pointer for its result")
                                           .arg(QLatin1String(operation)));
}

} // namespace

Kivo_Manager::Kivo_Manager() = default;

Kivo_Manager::~Kivo_Manager()
{
    // A host that drops its last reference without UnInitialize must not
    // leave a live window, a published manager or the wheel hook behind.
    try {
        tearDown();
    } catch (...) {
        // Nobody is left to tell.
    }
}

HRESULT Kivo_Manager::Init()
{
    return AbiBoundary::call("Init", [this] { initialise(); });
}

void Kivo_Manager::initialise()
{
    requireUiThread("Init");
    if (m_pTFForm)
        throw HostCallError(E_UNEXPECTED, QStringLiteral("Init was already called on this object"));
    if (s_initialised)
        throw HostCallError(E_UNEXPECTED,
                            QStringLiteral("another teaching-file window is initialised in this "
                                           "process; UnInitialize it first"));

    // The manager first: it opens the log and finds the language catalogs
    // that the form's designed controls already use.
    auto manager = std::make_unique<Kivo_CFGManager>();
    Kivo_CFGManager::setInstance(manager.get());
    manager->Init();

    auto form = std::make_unique<Kivo_UIManager>();
    m_formClosedConnection = QObject::connect(form.get(), &Kivo_UIManager::FormClosed, form.get(),
                                              [this] { onFormClosed(); });
    m_submitConnection = QObject::connect(form.get(), &Kivo_UIManager::SubmitPressed, form.get(),
                                          [this](TFData *data) { onSubmitPressed(data); });

    form->DropStaleDrafts(manager->DraftMaxAgeDays());

    m_cfgManager = std::move(manager);
    m_pTFForm = form.release();
    // A new form has not been built yet, whatever the object showed before.
    m_showCount = 0;
    m_everInitialised = true;
    s_initialised = this;
}

Kivo_UIManager &Kivo_Manager::form(const char *operation) const
{
    requireUiThread(operation);
    if (!m_pTFForm) {
        throw HostCallError(
            E_UNEXPECTED, QStringLiteral("%1 was called %2; the teaching-file window is not there")
                              .arg(QLatin1String(operation),
                                   m_everInitialised ? QLatin1String("after UnInitialize")
                                                     : QLatin1String("before Init")));
    }
    return *m_pTFForm;
}

HRESULT Kivo_Manager::put_Visible(LONG visible)
{
    return AbiBoundary::call("Visible", [this, visible] {
        form("Visible");
        setVisible(visible);
    });
}

void Kivo_Manager::setVisible(LONG visible)
{
    if (visible == 1) {
        m_pTFForm->Position(KeepPlace);
        m_pTFForm->AppShow();
    } else {
        m_pTFForm->AppHide();
    }
}

HRESULT Kivo_Manager::get_Visible(LONG *visible)
{
    return AbiBoundary::call("Visible", [this, visible] {
        requirePointer(visible, "Visible");
        *visible = form("Visible").isVisible() ? 1 : 0;
    });
}

HRESULT Kivo_Manager::put_UIListener(UIListener *listener)
{
    return AbiBoundary::call("UIListener", [this, listener] {
        form("UIListener");
        if (!listener)
            return;
        m_listener = ComRef<UIListener>(listener);
        m_cfgManager->UIListener(listener);
    });
}

HRESULT Kivo_Manager::Show(TFData *data)
{
    return AbiBoundary::call("Show", [this, data] {
        form("Show");
        show(data);
    });
}

void Kivo_Manager::show(TFData *data)
{
    ++m_showCount;
    if (m_showCount == 1) {
        log(QStringLiteral("First time to show TF. Read layout from CFG"));
        try {
            m_pTFForm->InitAndUpdateUIFields(data);
            m_pTFForm->setDesignMode(m_cfgManager->CanEdit());
            m_pTFForm->Position(FirstPlacement);
        } catch (...) {
            // The form is not built; the next Show must try again rather
            // than refill fields that do not exist.
            m_showCount = 0;
            throw;
        }
    } else {
        m_pTFForm->UpdateUIFields(data);
    }
    m_pTFForm->ViewOnly(m_viewOnly);
    m_pTFForm->Position(KeepPlace);
    setVisible(1);
    // Shown over the host's window for the entry the user just opened.
    m_pTFForm->bringToFront();
    // Asked over the filled window, so the user sees what the draft replaces.
    m_pTFForm->OfferDraft();
}

HRESULT Kivo_Manager::UpdateData(TFData *data)
{
    return AbiBoundary::call("UpdateData", [this, data] {
        Kivo_UIManager &tfForm = form("UpdateData");
        log(QStringLiteral("Entering updatedata"));
        if (data)
            tfForm.UpdateUIFields(data);
    });
}

HRESULT Kivo_Manager::UnInitialize()
{
    return AbiBoundary::call("UnInitialize", [this] {
        form("UnInitialize");
        tearDown();
    });
}

void Kivo_Manager::tearDown()
{
    std::exception_ptr firstFailure;
    const auto step = [&firstFailure](const auto &work) {
        try {
            work();
        } catch (...) {
            if (!firstFailure)
                firstFailure = std::current_exception();
        }
    };

    if (Kivo_UIManager *tfForm = m_pTFForm.data()) {
        QObject::disconnect(m_formClosedConnection);
        QObject::disconnect(m_submitConnection);
        step([tfForm] { tfForm->Uninitialize(); });
        tfForm->hide();
        // The host may tear down from inside one of the form's own events
        // (closing the entry in OnFormClosed); the form is deleted once that
        // event is over.
        tfForm->deleteLater();
    }
    m_pTFForm.clear();
    if (m_cfgManager) {
        step([this] { m_cfgManager->Uninitialize(); });
        m_cfgManager.reset();
    }
    if (s_initialised == this)
        s_initialised = nullptr;
    if (firstFailure)
        std::rethrow_exception(firstFailure);
}

HRESULT Kivo_Manager::PositionWindow(LONG position)
{
    return AbiBoundary::call("PositionWindow",
                             [this, position] { form("PositionWindow").PositionWindow(position); });
}

HRESULT Kivo_Manager::Parent(LONG ownerWindow)
{
    return AbiBoundary::call("Parent", [this, ownerWindow] { form("Parent").Parent(ownerWindow); });
}

HRESULT Kivo_Manager::ViewOnly(LONG viewOnly)
{
    return AbiBoundary::call("ViewOnly", [this, viewOnly] {
        Kivo_UIManager &tfForm = form("ViewOnly");
        m_viewOnly = viewOnly;
        tfForm.ViewOnly(viewOnly);
    });
}

HRESULT Kivo_Manager::get_HWND(LONG *window)
{
    return AbiBoundary::call("HWND", [this, window] {
        requirePointer(window, "HWND");
        *window = static_cast<LONG>(form("HWND").winId());
    });
}

HRESULT Kivo_Manager::CloseSession()
{
    return AbiBoundary::call("CloseSession", [this] { form("CloseSession").CloseSession(); });
}

HRESULT Kivo_Manager::HandleBeforeDone(LONG skipQuestion, TFData **data)
{
    return AbiBoundary::call("HandleBeforeDone", [this, skipQuestion, data] {
        requirePointer(data, "HandleBeforeDone");
        *data = nullptr;
        form("HandleBeforeDone");
        *data = handleBeforeDone(skipQuestion);
    });
}

TFData *Kivo_Manager::handleBeforeDone(LONG skipQuestion)
{
    log(QStringLiteral("Entering HandleBeforeDone"));
    // Only 1 makes the entry read-only, as it does for the form: an entry the
    // form let the user edit must not lose the edits here.
    if (!m_pTFForm->IsModified() || m_viewOnly == 1)
        return nullptr;

    setVisible(1);
    bool keep = true;
    if (skipQuestion == 0) {
        // With two similar entries in a day, the question says which one.
        const QString entry = m_pTFForm->entryTitle();
        const QString prompt =
            entry.isEmpty()
                ? QV_Resource::GetResString(ResourceIds::KEEP_CHANGES_QUESTION)
                : QV_Resource::GetResString(ResourceIds::KEEP_CHANGES_QUESTION_NAMED).arg(entry);
        const qint32 answer =
            QV_MsgBox::HookedMsgBox(prompt, -1, -1, QV_MsgBox::PositionOwnerCentre,
                                    QV_MsgBox::MsgYesNo, m_pTFForm->windowTitle());
        keep = answer != QV_MsgBox::AnswerNo;
    }
    // The user may have closed the entry while the question was up.
    Kivo_UIManager &tfForm = form("HandleBeforeDone");
    // Kept or discarded, the user settled the entry's end: no draft is owed.
    tfForm.EntryEndedCleanly();
    if (!keep) {
        tfForm.setIsModified(false);
        setVisible(0);
        return nullptr;
    }
    log(QStringLiteral("Before getting form data"));
    tfForm.setIsModified(false);
    tfForm.FillTFData();
    TFData *record = tfForm.tfData();
    // An out-parameter carries its own reference; the host releases it.
    if (record)
        record->AddRef();
    log(QStringLiteral("After getting form data"));
    return record;
}

HRESULT Kivo_Manager::Minimize()
{
    return AbiBoundary::call("Minimize", [this] { form("Minimize").Minimize(); });
}

HRESULT Kivo_Manager::Restore()
{
    return AbiBoundary::call("Restore", [this] { form("Restore").Restore(); });
}

HRESULT Kivo_Manager::SubmitCompleted(LONG status)
{
    return AbiBoundary::call("SubmitCompleted",
                             [this, status] { form("SubmitCompleted").SubmitCompleted(status); });
}

void Kivo_Manager::onFormClosed()
{
    // The host may release us or replace its listener from inside the call.
    ComRef<TF_IUI> self(this);
    const ComRef<UIListener> listener = m_listener;
    if (!listener)
        return;
    runUserAction(QStringLiteral("FormClosed"), [&listener] {
        AbiBoundary::checkHostResult(listener.get()->OnFormClosed(), "OnFormClosed");
    });
}

void Kivo_Manager::onSubmitPressed(TFData *data)
{
    ComRef<TF_IUI> self(this);
    const ComRef<UIListener> listener = m_listener;
    if (!listener)
        return;
    runUserAction(QStringLiteral("SubmitPressed"), [&listener, data] {
        AbiBoundary::checkHostResult(listener.get()->OnSubmit(data), "OnSubmit");
    });
}
