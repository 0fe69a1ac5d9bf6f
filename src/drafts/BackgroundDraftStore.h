#pragma once

#include "drafts/Draft.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>
#include <optional>

class DraftStore;

// A DraftStore on a thread of its own, so that a draft's sync to the disk
// never holds up the user's typing. Calls are carried out in the order they
// are made: write and remove return at once with their draft copied, read
// and dropSavedBefore wait for everything made before them, and destruction
// waits until every write made is on the disk.
class BackgroundDraftStore : public QObject
{
    Q_OBJECT

public:
    // Opens or creates file on the store's thread. Throws Err as DraftStore.
    explicit BackgroundDraftStore(const QString &file, QObject *parent = nullptr);
    ~BackgroundDraftStore() override;

    QString setAsideAs() const { return m_setAsideAs; }

    void write(const Draft &draft);
    void remove(const QString &key, const QString &login);
    // These throw Err as DraftStore.
    std::optional<Draft> read(const QString &key, const QString &login);
    int dropSavedBefore(const QDateTime &cutoff);

signals:
    // A write or remove failed; description says why.
    void failed(const QString &description);

private:
    // Runs work on the store's thread: queued, or waiting for it with any
    // failure rethrown here.
    void post(std::function<void(DraftStore &)> work);
    void run(const std::function<void(DraftStore &)> &work);

    QThread m_thread;
    // Lives on m_thread; the store's calls are its events.
    std::unique_ptr<QObject> m_worker;
    std::unique_ptr<DraftStore> m_store;
    QString m_setAsideAs;
};
