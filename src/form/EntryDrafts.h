#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class BackgroundDraftStore;
class RecordBinding;
class QWidget;
struct TFData;

// Keeps a draft of what the user typed into an entry whose record names
// itself (KIVO_ENTRY_KEY), so a host that dies mid-entry loses seconds, not
// the entry: written a moment after the last edit and at once when the
// window loses the focus or is hidden, offered back when the same entry is
// shown again, and deleted when the entry ends cleanly. A record without the
// key gets none of it, and the drafts file is not touched for it. Nothing
// here ever stops an entry: a drafts file that fails is logged and drafts
// stop for the session.
class EntryDrafts : public QObject
{
    Q_OBJECT

public:
    // The pause after the last edit before the draft is written.
    static constexpr int DebounceMs = 1500;

    EntryDrafts(QWidget *form, RecordBinding &binding);
    ~EntryDrafts() override;

    // Drops the drafts older than maxAgeDays, when there is a drafts file.
    void dropStale(int maxAgeDays);

    // The form is about to show another record or none: the edits not yet
    // written go into the shown entry's draft first.
    void beforeRecordChange();
    // The form now shows record (null: none). Never throws.
    void recordShown(TFData *record);
    // After the entry is shown: asks whether to restore the entry's draft
    // when there is one that differs from the form; title names the entry.
    void offer(const QString &title);
    // The entry was submitted and saved, or its end was settled with the
    // host: its draft goes.
    void endedCleanly();
    // CloseSession: the draft goes if the entry ended cleanly before.
    void sessionClosed();
    // The form goes: what is not written yet is, and the file is closed.
    void finish();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void edited();
    void writeNow();
    void remove();
    // The store, opened on first use; null when drafts are off for the
    // session because the file failed.
    BackgroundDraftStore *store();
    void failed(const QString &description);

    QWidget *m_form;
    RecordBinding &m_binding;
    QTimer m_debounce;
    QString m_file;
    std::unique_ptr<BackgroundDraftStore> m_store;
    bool m_unavailable = false;
    bool m_setAsideTold = false;
    TFData *m_record = nullptr;
    QString m_key;
    QString m_login;
    bool m_unwritten = false;
    bool m_endedCleanly = false;
};
