#include "EntryController.h"

#include "TeachingFileComponent.h"

#include <QDebug>

#include <stdexcept>

EntryController::EntryController(TeachingFileComponent &component, RecordsDatabase &records,
                                 QObject *parent)
    : QObject(parent), m_component(component), m_records(records)
{
}

EntryController::~EntryController() = default;

void EntryController::start()
{
    m_component.init();
    m_listener = HostListener::create([this](TFData *data) { onSubmit(data); },
                                      [this] { emit formClosed(); });
    TeachingFileComponent::check(m_component->put_UIListener(m_listener.get()), "UIListener");
}

bool EntryController::command(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const std::exception &err) {
        const QString description = QString::fromLocal8Bit(err.what());
        qWarning().noquote() << "kivo-host:" << description;
        emit failed(description);
    }
    return false;
}

bool EntryController::setOwner(WId window)
{
    return command([this, window] {
        TeachingFileComponent::check(m_component->Parent(static_cast<LONG>(window)), "Parent");
    });
}

bool EntryController::openEntry(const Study &study, bool readOnly)
{
    if (m_record && !closeEntry())
        return false;
    return command([&] {
        QMap<QString, QString> values = m_records.teachingFile(study.id);
        // A study seen for the first time: what the workstation already
        // knows about it need not be typed again.
        if (values.isEmpty())
            values.insert(QStringLiteral("KESTO_TF_MODALITY"), study.modality);
        // Which entry it is, for its draft, and whose, for the user.
        values.insert(QStringLiteral("KIVO_ENTRY_KEY"), QString::number(study.id));
        values.insert(QStringLiteral("KIVO_ENTRY_TITLE"),
                      QStringList{study.patient, study.description, study.studyDate}.join(
                          QStringLiteral(" \u00b7 ")));
        // Who the patient is, so the window can warn when the free text names them.
        values.insert(QStringLiteral("KESTO_TF_PATIENT_NAME"), study.patient);
        values.insert(QStringLiteral("KESTO_TF_PATIENT_ID"),
                      m_records.dicomStudy(study.id).patientId);
        m_record = StudyRecord::create(study.id, values);
        m_unsaved = false;
        emit entryChanged();
        TeachingFileComponent::check(m_component->ViewOnly(readOnly ? 1 : 0), "ViewOnly");
        TeachingFileComponent::check(m_component->Show(m_record.get()), "Show");
    });
}

bool EntryController::closeEntry()
{
    if (!m_record)
        return true;
    return command([this] {
        ComRef<TFData> kept;
        TeachingFileComponent::check(m_component->HandleBeforeDone(0, kept.put()),
                                     "HandleBeforeDone");
        if (kept) {
            if (kept.get() != m_record.get())
                throw std::runtime_error(
                    "the teaching-file window returned another entry's record");
            m_unsaved = true;
        }
        if (m_unsaved)
            saveRecord();
        TeachingFileComponent::check(m_component->CloseSession(), "CloseSession");
        // The emptied window has nothing left to show until the next entry.
        TeachingFileComponent::check(m_component->put_Visible(0), "Visible");
        m_record.reset();
        emit entryChanged();
    });
}

bool EntryController::minimise()
{
    return command([this] { TeachingFileComponent::check(m_component->Minimize(), "Minimize"); });
}

bool EntryController::restore()
{
    return command([this] { TeachingFileComponent::check(m_component->Restore(), "Restore"); });
}

QWidget *EntryController::window() const
{
    LONG handle = 0;
    if (FAILED(m_component->get_HWND(&handle)))
        return nullptr;
    return QWidget::find(static_cast<WId>(static_cast<quint32>(handle)));
}

void EntryController::onSubmit(TFData *data)
{
    qint32 status = Saved;
    QString reason;
    if (!data || data != m_record.get()) {
        status = Refused;
        reason = data ? QStringLiteral("the record is not the open entry's")
                      : QStringLiteral("no record was loaded in the teaching-file window");
    } else {
        m_unsaved = true;
        try {
            saveRecord();
        } catch (const std::exception &err) {
            status = SaveFailed;
            reason = QString::fromLocal8Bit(err.what());
        }
    }
    if (status != Saved)
        qWarning().noquote() << "kivo-host: the teaching file was not saved:" << reason;
    // The component is still inside its submit; it hears the outcome once
    // that is over.
    QMetaObject::invokeMethod(
        this, [this, status, reason] { completeSubmit(status, reason); }, Qt::QueuedConnection);
    if (status == Saved)
        emit submitted(m_record->studyId(), m_record->values());
}

void EntryController::completeSubmit(qint32 status, const QString &reason)
{
    command([this, status] {
        TeachingFileComponent::check(m_component->SubmitCompleted(status), "SubmitCompleted");
    });
    emit submitCompleted(status, reason);
}

void EntryController::saveRecord()
{
    m_records.saveTeachingFile(m_record->studyId(), m_record->values());
    m_unsaved = false;
    emit recordSaved(m_record->studyId());
}
