#include "TeachingFileExporter.h"

#include "RecordsDatabase.h"

#include "pickers/codetree/CodeKeyPath.h"
#include "platform/config/ConfigTree.h"

#include <QDir>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QUuid>
#include <QtConcurrent>

#include <stdexcept>

namespace {

QStringList filesIn(const QString &folder)
{
    QStringList files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.dcm")}, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

// Runs on a pool thread: the files of one outbox entry to the receiver.
QString sendFolder(const QString &folder, const kivo::tce::Destination &destination)
{
    try {
        kivo::tce::sendFiles(filesIn(folder), destination);
        return QString();
    } catch (const std::exception &err) {
        return QString::fromLocal8Bit(err.what());
    }
}

} // namespace

TeachingFileExporter::TeachingFileExporter(RecordsDatabase &records, const ConfigTree &store,
                                           ExportSettings settings, QObject *parent)
    : QObject(parent), m_records(records), m_store(store), m_settings(std::move(settings))
{
}

TeachingFileExporter::~TeachingFileExporter()
{
    // A send still running finishes before the settings it reads go away.
    waitForSends();
}

QString TeachingFileExporter::codeMeaning(const QMap<QString, QString> &values, const QString &item,
                                          const QString &code) const
{
    QString path;
    if (item == QLatin1String("anatomy")) {
        path = QLatin1String(CodeKeyPath::AcrTreePath) + QLatin1Char('\\') +
               CodeKeyPath::acrAnatomy(code);
    } else if (item == QLatin1String("pathology")) {
        // Pathology codes are kept per anatomy region, the anatomy's first digit.
        const QString anatomy =
            values.value(m_settings.mapping.tags.value(QStringLiteral("anatomy")));
        if (anatomy.isEmpty())
            return QString();
        path = QLatin1String(CodeKeyPath::AcrTreePath) + QLatin1Char('\\') +
               CodeKeyPath::acrPathology(anatomy.left(1), code);
    } else {
        path = QLatin1String(CodeKeyPath::AngioTreePath) + QLatin1Char('\\') +
               CodeKeyPath::angio(code);
    }
    return m_store.ReadString(path + QStringLiteral("\\description"));
}

void TeachingFileExporter::exportEntry(qint64 studyId, const QMap<QString, QString> &values)
{
    if (!m_settings.problem.isEmpty())
        emit reported(m_settings.problem);
    if (!m_settings.enabled())
        return;
    const QString outboxEntry =
        m_settings.destination
            ? QDir(m_settings.outbox).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces))
            : QString();
    kivo::tce::Entry entry;
    QString what;
    try {
        entry.study = m_records.dicomStudy(studyId);
        what = QStringLiteral("The teaching file of %1").arg(entry.study.patientName);
        entry.values = values;
        entry.mapping = m_settings.mapping;
        entry.uidRoot = m_settings.uidRoot;
        entry.codeMeaning = [this, &values](const QString &item, const QString &code) {
            return codeMeaning(values, item, code);
        };
        const QString folder = m_settings.folder.isEmpty() ? outboxEntry : m_settings.folder;
        const kivo::tce::WrittenFiles files = kivo::tce::writeEntry(entry, folder);
        if (!m_settings.folder.isEmpty() && !outboxEntry.isEmpty()) {
            QDir().mkpath(outboxEntry);
            for (const QString &file : files.all()) {
                if (!QFile::copy(file, QDir(outboxEntry).filePath(QFileInfo(file).fileName())))
                    throw std::runtime_error("cannot put the export in the outbox " +
                                             outboxEntry.toStdString());
            }
        }
        if (!m_settings.folder.isEmpty())
            emit reported(QStringLiteral("%1 was exported to %2.").arg(what, m_settings.folder));
    } catch (const std::exception &err) {
        // The record is saved already; only the export is lost, and said so.
        emit reported(QStringLiteral("The teaching file was saved but not exported: %1")
                          .arg(QString::fromLocal8Bit(err.what())));
        if (!outboxEntry.isEmpty())
            QDir(outboxEntry).removeRecursively();
        return;
    }
    if (!outboxEntry.isEmpty())
        send(outboxEntry, what);
}

void TeachingFileExporter::sendOutbox()
{
    if (!m_settings.destination)
        return;
    const QDir outbox(m_settings.outbox);
    for (const QString &name : outbox.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        send(outbox.filePath(name), QStringLiteral("A teaching file left in the outbox"));
}

void TeachingFileExporter::send(const QString &outboxEntry, const QString &what)
{
    const kivo::tce::Destination destination = *m_settings.destination;
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this,
            [this, watcher, outboxEntry, what, destination] {
                const QString failure = watcher->result();
                watcher->deleteLater();
                --m_sending;
                if (failure.isEmpty()) {
                    QDir(outboxEntry).removeRecursively();
                    emit reported(
                        QStringLiteral("%1 was sent to %2.").arg(what, destination.toString()));
                } else {
                    emit reported(QStringLiteral("%1 could not be sent to %2 (%3); it is sent "
                                                 "again at the next start.")
                                      .arg(what, destination.toString(), failure));
                }
            });
    ++m_sending;
    watcher->setFuture(QtConcurrent::run(sendFolder, outboxEntry, destination));
}

void TeachingFileExporter::waitForSends()
{
    while (m_sending > 0) {
        QEventLoop loop;
        connect(this, &TeachingFileExporter::reported, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
