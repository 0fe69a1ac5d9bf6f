#include "drafts/BackgroundDraftStore.h"

#include "drafts/DraftStore.h"
#include "platform/Err.h"

#include <exception>
#include <functional>

BackgroundDraftStore::BackgroundDraftStore(const QString &file, QObject *parent)
    : QObject(parent), m_worker(std::make_unique<QObject>())
{
    m_thread.setObjectName(QStringLiteral("drafts"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        m_worker.get(),
        [this, &file, &failure] {
            try {
                m_store = std::make_unique<DraftStore>(file);
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure) {
        m_thread.quit();
        m_thread.wait();
        std::rethrow_exception(failure);
    }
    m_setAsideAs = m_store->setAsideAs();
}

BackgroundDraftStore::~BackgroundDraftStore()
{
    // Everything queued before this is done when this returns: the last
    // draft of a clean exit is on the disk.
    QMetaObject::invokeMethod(
        m_worker.get(), [this] { m_store.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void BackgroundDraftStore::post(std::function<void(DraftStore &)> work)
{
    QMetaObject::invokeMethod(
        m_worker.get(),
        [this, work = std::move(work)] {
            try {
                work(*m_store);
            } catch (const Err &err) {
                emit failed(err.description());
            }
        },
        Qt::QueuedConnection);
}

void BackgroundDraftStore::run(const std::function<void(DraftStore &)> &work)
{
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        m_worker.get(),
        [this, &work, &failure] {
            try {
                work(*m_store);
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
}

void BackgroundDraftStore::write(const Draft &draft)
{
    post([draft](DraftStore &store) { store.write(draft); });
}

void BackgroundDraftStore::remove(const QString &key, const QString &login)
{
    post([key, login](DraftStore &store) { store.remove(key, login); });
}

std::optional<Draft> BackgroundDraftStore::read(const QString &key, const QString &login)
{
    std::optional<Draft> draft;
    run([&](DraftStore &store) { draft = store.read(key, login); });
    return draft;
}

int BackgroundDraftStore::dropSavedBefore(const QDateTime &cutoff)
{
    int dropped = 0;
    run([&](DraftStore &store) { dropped = store.dropSavedBefore(cutoff); });
    return dropped;
}
