#pragma once

#include "ExportSettings.h"

#include <QMap>
#include <QObject>
#include <QString>

class ConfigTree;
class RecordsDatabase;

// Turns a saved teaching file into its two DICOM documents, writes them to
// the export folder and sends them to the receiver. Sending happens off the
// GUI thread from the outbox: an export that could not be sent stays there
// and goes out at the next start. What happened is told through reported().
class TeachingFileExporter : public QObject
{
    Q_OBJECT

public:
    TeachingFileExporter(RecordsDatabase &records, const ConfigTree &store, ExportSettings settings,
                         QObject *parent = nullptr);
    ~TeachingFileExporter() override;

    // Exports the record of a study just saved; nothing without a folder or
    // a receiver.
    void exportEntry(qint64 studyId, const QMap<QString, QString> &values);
    // Sends every export left in the outbox by an earlier run.
    void sendOutbox();
    // Returns once every send started has finished and been reported.
    void waitForSends();

signals:
    void reported(const QString &message);

private:
    void send(const QString &outboxEntry, const QString &what);
    QString codeMeaning(const QMap<QString, QString> &values, const QString &item,
                        const QString &code) const;

    RecordsDatabase &m_records;
    const ConfigTree &m_store;
    const ExportSettings m_settings;
    int m_sending = 0;
};
