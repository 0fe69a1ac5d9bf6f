#include "StudyIdentifiers.h"

#include "SqliteStatement.h"

#include <stdexcept>

namespace StudyIdentifiers {

namespace {

constexpr int ImagesPerStudy = 3;

// The storage SOP class of a modality's images; secondary capture for one
// the workstation does not know.
QString imageSopClass(const QString &modality)
{
    static const QMap<QString, QString> classes = {
        {QStringLiteral("CT"), QStringLiteral("1.2.840.10008.5.1.4.1.1.2")},
        {QStringLiteral("MR"), QStringLiteral("1.2.840.10008.5.1.4.1.1.4")},
        {QStringLiteral("US"), QStringLiteral("1.2.840.10008.5.1.4.1.1.6.1")},
        {QStringLiteral("CR"), QStringLiteral("1.2.840.10008.5.1.4.1.1.1")},
        {QStringLiteral("XA"), QStringLiteral("1.2.840.10008.5.1.4.1.1.12.1")},
    };
    return classes.value(modality.toUpper(), QStringLiteral("1.2.840.10008.5.1.4.1.1.7"));
}

} // namespace

void assign(sqlite3 *db)
{
    SqliteStatement::execute(db, "CREATE TABLE IF NOT EXISTS study_identifiers ("
                                 " study_id INTEGER PRIMARY KEY REFERENCES studies(id),"
                                 " patient_id TEXT NOT NULL,"
                                 " study_uid TEXT NOT NULL,"
                                 " series_uid TEXT NOT NULL)");
    SqliteStatement::execute(db, "CREATE TABLE IF NOT EXISTS study_images ("
                                 " study_id INTEGER NOT NULL REFERENCES studies(id),"
                                 " sop_class_uid TEXT NOT NULL,"
                                 " sop_instance_uid TEXT NOT NULL PRIMARY KEY)");
    SqliteStatement missing(db, "SELECT id, modality FROM studies WHERE id NOT IN"
                                " (SELECT study_id FROM study_identifiers)");
    SqliteStatement addStudy(db, "INSERT INTO study_identifiers"
                                 " (study_id, patient_id, study_uid, series_uid)"
                                 " VALUES (?1, ?2, ?3, ?4)");
    SqliteStatement addImage(db, "INSERT INTO study_images"
                                 " (study_id, sop_class_uid, sop_instance_uid)"
                                 " VALUES (?1, ?2, ?3)");
    while (missing.next()) {
        const qint64 id = missing.integer(0);
        addStudy.bind(1, id)
            .bind(2, QStringLiteral("KIVO%1").arg(id, 6, 10, QLatin1Char('0')))
            .bind(3, kivo::tce::newUid())
            .bind(4, kivo::tce::newUid())
            .run();
        const QString sopClass = imageSopClass(missing.text(1));
        for (int image = 0; image < ImagesPerStudy; ++image)
            addImage.bind(1, id).bind(2, sopClass).bind(3, kivo::tce::newUid()).run();
    }
}

kivo::tce::Study read(sqlite3 *db, qint64 studyId)
{
    SqliteStatement query(db, "SELECT s.patient, s.study_date, s.description,"
                              " i.patient_id, i.study_uid, i.series_uid"
                              " FROM studies s JOIN study_identifiers i ON i.study_id = s.id"
                              " WHERE s.id = ?1");
    query.bind(1, studyId);
    if (!query.next())
        throw std::runtime_error("the records database has no study " + std::to_string(studyId));
    kivo::tce::Study study;
    study.patientName = query.text(0);
    study.studyDate = query.text(1).remove(QLatin1Char('-'));
    study.studyDescription = query.text(2);
    study.patientId = query.text(3);
    study.studyInstanceUid = query.text(4);
    study.seriesInstanceUid = query.text(5);
    study.studyId = QString::number(studyId);
    SqliteStatement images(db, "SELECT sop_class_uid, sop_instance_uid FROM study_images"
                               " WHERE study_id = ?1 ORDER BY rowid");
    images.bind(1, studyId);
    while (images.next())
        study.instances.append({images.text(0), images.text(1)});
    return study;
}

} // namespace StudyIdentifiers
