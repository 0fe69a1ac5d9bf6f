#pragma once

#include <kivo/TceExport.h>

#include <QList>
#include <QMap>
#include <QString>

struct sqlite3;

struct Study
{
    qint64 id = 0;
    QString patient;
    QString modality;
    QString studyDate; // yyyy-MM-dd
    QString description;
    bool hasTeachingFile = false;
};

// The workstation's own database: its studies and, per study, the
// teaching-file record as tag/value pairs. A new file is given a few sample
// studies, so that a fresh workstation has something to work on.
class RecordsDatabase
{
public:
    // Opens or creates the file (and its folder). Throws std::runtime_error.
    explicit RecordsDatabase(const QString &file);
    ~RecordsDatabase();
    RecordsDatabase(const RecordsDatabase &) = delete;
    RecordsDatabase &operator=(const RecordsDatabase &) = delete;

    QList<Study> studies() const;
    // The study's DICOM identity and images, for the export.
    kivo::tce::Study dicomStudy(qint64 studyId) const;
    QMap<QString, QString> teachingFile(qint64 studyId) const;
    // Replaces the study's record as a whole, in one transaction: a failure
    // leaves the stored record as it was.
    void saveTeachingFile(qint64 studyId, const QMap<QString, QString> &values);

private:
    void createSchema();
    void addSampleStudies();

    sqlite3 *m_db = nullptr;
};
