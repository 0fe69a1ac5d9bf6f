#include "form/EntryDrafts.h"

#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "config/Kivo_CFGManager.h"
#include "drafts/BackgroundDraftStore.h"
#include "drafts/DraftStore.h"
#include "form/FormServices.h"
#include "form/RecordAccess.h"
#include "form/RecordBinding.h"
#include "platform/Err.h"
#include "platform/config/ConfigDatabase.h"

#include <QEvent>
#include <QFile>
#include <QLocale>
#include <QWidget>

namespace {

using FormServices::log;

const QString EntryKeyTag = QStringLiteral("KIVO_ENTRY_KEY");

} // namespace

EntryDrafts::EntryDrafts(QWidget *form, RecordBinding &binding)
    : QObject(form), m_form(form), m_binding(binding), m_file(DraftStore::defaultFile())
{
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(DebounceMs);
    connect(&m_debounce, &QTimer::timeout, this, &EntryDrafts::writeNow);
    connect(&binding, &RecordBinding::edited, this, &EntryDrafts::edited);
    form->installEventFilter(this);
}

EntryDrafts::~EntryDrafts() = default;

BackgroundDraftStore *EntryDrafts::store()
{
    if (m_unavailable)
        return nullptr;
    if (!m_store) {
        try {
            m_store = std::make_unique<BackgroundDraftStore>(m_file);
            connect(m_store.get(), &BackgroundDraftStore::failed, this, &EntryDrafts::failed);
            if (!m_store->setAsideAs().isEmpty())
                log(QStringLiteral("The drafts file could not be read; set aside as ") +
                    m_store->setAsideAs());
        } catch (const Err &err) {
            failed(err.description());
        }
    }
    return m_store.get();
}

void EntryDrafts::failed(const QString &description)
{
    log(QStringLiteral("Drafts are off for this session: ") + description);
    m_unavailable = true;
    m_debounce.stop();
}

void EntryDrafts::dropStale(int maxAgeDays)
{
    // Hosts that never give a key never get a drafts file.
    if (!QFile::exists(m_file))
        return;
    if (BackgroundDraftStore *drafts = store()) {
        try {
            const int dropped =
                drafts->dropSavedBefore(QDateTime::currentDateTimeUtc().addDays(-maxAgeDays));
            if (dropped > 0)
                log(QStringLiteral("Dropped %1 drafts older than %2 days")
                        .arg(dropped)
                        .arg(maxAgeDays));
        } catch (const Err &err) {
            failed(err.description());
        }
    }
}

void EntryDrafts::beforeRecordChange()
{
    if (m_unwritten)
        writeNow();
}

void EntryDrafts::recordShown(TFData *record)
{
    if (record != m_record)
        m_endedCleanly = false;
    m_record = record;
    m_key = record ? RecordAccess::optionalValue(record, EntryKeyTag) : QString();
    // A form used without the component's manager keeps drafts for no one in
    // particular.
    const Kivo_CFGManager *manager = Kivo_CFGManager::instance();
    m_login = manager ? manager->CurrUser() : QString();
    m_unwritten = false;
    m_debounce.stop();
}

void EntryDrafts::edited()
{
    if (m_key.isEmpty() || m_unavailable)
        return;
    m_unwritten = true;
    m_debounce.start();
}

void EntryDrafts::writeNow()
{
    m_debounce.stop();
    if (!m_unwritten || m_key.isEmpty())
        return;
    m_unwritten = false;
    if (BackgroundDraftStore *drafts = store()) {
        QString workstation = ConfigDatabase::GlobalValue(QStringLiteral("CurrMachine"));
        drafts->write(Draft{m_key, m_login, workstation, QDateTime::currentDateTimeUtc(),
                            m_binding.draftValues()});
    }
}

void EntryDrafts::remove()
{
    m_debounce.stop();
    m_unwritten = false;
    if (m_key.isEmpty())
        return;
    if (BackgroundDraftStore *drafts = store())
        drafts->remove(m_key, m_login);
}

void EntryDrafts::offer(const QString &title)
{
    if (m_key.isEmpty())
        return;
    BackgroundDraftStore *drafts = store();
    if (!drafts)
        return;
    if (!drafts->setAsideAs().isEmpty() && !m_setAsideTold) {
        m_setAsideTold = true;
        QV_MsgBox::ShowInfoMsg(QV_Resource::GetResString(ResourceIds::DRAFTS_SET_ASIDE_NOTICE)
                                   .arg(drafts->setAsideAs()));
    }
    std::optional<Draft> draft;
    try {
        draft = drafts->read(m_key, m_login);
    } catch (const Err &err) {
        failed(err.description());
        return;
    }
    if (!draft)
        return;
    const QStringList differing =
        m_binding.differingCaptions(m_binding.draftValues(), draft->values);
    // A draft of what the record holds anyway has nothing to give back.
    if (differing.isEmpty()) {
        remove();
        return;
    }
    const QString entry =
        title.isEmpty() ? QV_Resource::GetResString(ResourceIds::FORM_CAPTION) : title;
    const QString question =
        QV_Resource::GetResString(ResourceIds::DRAFT_QUESTION)
            .arg(entry, QLocale().toString(draft->savedAt.toLocalTime(), QLocale::ShortFormat),
                 differing.join(QStringLiteral(", ")));
    const qint32 answer = QV_MsgBox::HookedMsgBox(question, -1, -1, QV_MsgBox::PositionOwnerCentre,
                                                  QV_MsgBox::MsgYesNo, m_form->windowTitle());
    if (answer == QV_MsgBox::AnswerNo) {
        log(QStringLiteral("The draft of the entry was declined"));
        remove();
        return;
    }
    m_binding.showDraftValues(draft->values);
    // Restored work is unsaved work: the close question protects it, and
    // the draft stays until the entry ends cleanly.
    m_binding.markModified(QStringLiteral("Draft restored"));
    m_debounce.stop();
    m_unwritten = false;
}

void EntryDrafts::endedCleanly()
{
    m_endedCleanly = true;
    remove();
}

void EntryDrafts::sessionClosed()
{
    if (m_endedCleanly)
        remove();
}

void EntryDrafts::finish()
{
    writeNow();
    m_store.reset();
}

bool EntryDrafts::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form &&
        (event->type() == QEvent::Hide || event->type() == QEvent::WindowDeactivate))
        writeNow();
    return QObject::eventFilter(watched, event);
}
