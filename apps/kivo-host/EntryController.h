#pragma once

#include "HostListener.h"
#include "RecordsDatabase.h"
#include "StudyRecord.h"

#include <QObject>
#include <QWidget>

#include <functional>

class TeachingFileComponent;

// The workstation's side of a teaching-file entry: which study's record the
// component shows, saving what comes back (on submit and when the entry is
// closed) and answering the submit. Every command answers whether it
// succeeded; a failure is reported through failed() with the component's
// own description.
class EntryController : public QObject
{
    Q_OBJECT

public:
    // The statuses the workstation gives SubmitCompleted.
    enum SubmitStatus : qint32 { Saved = 0, Refused = 1, SaveFailed = 2 };

    EntryController(TeachingFileComponent &component, RecordsDatabase &records,
                    QObject *parent = nullptr);
    ~EntryController() override;

    // Init and the listener. Throws std::runtime_error.
    void start();
    // Makes the teaching-file window an owned window of ours.
    bool setOwner(WId window);

    // An entry already open is closed first (asking about unsaved changes).
    bool openEntry(const Study &study, bool readOnly);
    // Saves what the user keeps, ends the component's session and hides
    // the window.
    bool closeEntry();
    bool minimise();
    bool restore();

    bool hasEntry() const { return static_cast<bool>(m_record); }
    qint64 entryStudyId() const { return m_record ? m_record->studyId() : 0; }
    // The teaching-file window, found through its handle; null without one.
    QWidget *window() const;

signals:
    void entryChanged();
    void recordSaved(qint64 studyId);
    // reason: why the record was not saved, for the user; empty when saved.
    void submitCompleted(qint32 status, const QString &reason);
    // A submitted record reached the database; comes after submitCompleted
    // when connected queued.
    void submitted(qint64 studyId, const QMap<QString, QString> &values);
    void formClosed();
    void failed(const QString &description);

private:
    bool command(const std::function<void()> &work);
    void onSubmit(TFData *data);
    void completeSubmit(qint32 status, const QString &reason);
    void saveRecord();

    TeachingFileComponent &m_component;
    RecordsDatabase &m_records;
    ComRef<HostListener> m_listener;
    ComRef<StudyRecord> m_record;
    // The record holds values the user submitted or kept that did not reach
    // the database yet; closing the entry tries again.
    bool m_unsaved = false;
};
