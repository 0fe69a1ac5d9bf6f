#include "RecordsDatabase.h"

#include "SqliteStatement.h"
#include "StudyIdentifiers.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <stdexcept>

namespace {

// Rolled back unless committed, so an exception never leaves half a record.
class Transaction
{
public:
    explicit Transaction(sqlite3 *db) : m_db(db)
    {
        SqliteStatement::execute(m_db, "BEGIN IMMEDIATE");
    }
    ~Transaction()
    {
        if (!m_committed)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void commit()
    {
        SqliteStatement::execute(m_db, "COMMIT");
        m_committed = true;
    }

private:
    sqlite3 *m_db;
    bool m_committed = false;
};

} // namespace

RecordsDatabase::RecordsDatabase(const QString &file)
{
    const QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath()))
        throw std::runtime_error("cannot create the folder of the records database " +
                                 info.absolutePath().toStdString());
    const int opened = sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(opened);
        sqlite3_close(m_db);
        throw std::runtime_error("cannot open the records database " + file.toStdString() + ": " +
                                 message);
    }
    // Another program (a report, a test) may read the file while we write.
    sqlite3_exec(m_db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(m_db, 5000);
    try {
        createSchema();
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

RecordsDatabase::~RecordsDatabase()
{
    sqlite3_close(m_db);
}

void RecordsDatabase::createSchema()
{
    Transaction transaction(m_db);
    SqliteStatement::execute(m_db, "CREATE TABLE IF NOT EXISTS studies ("
                                   " id INTEGER PRIMARY KEY,"
                                   " patient TEXT NOT NULL,"
                                   " modality TEXT NOT NULL,"
                                   " study_date TEXT NOT NULL,"
                                   " description TEXT NOT NULL)");
    SqliteStatement::execute(m_db, "CREATE TABLE IF NOT EXISTS teaching_file_values ("
                                   " study_id INTEGER NOT NULL REFERENCES studies(id),"
                                   " tag TEXT NOT NULL,"
                                   " value TEXT NOT NULL,"
                                   " PRIMARY KEY (study_id, tag))");
    SqliteStatement count(m_db, "SELECT COUNT(*) FROM studies");
    if (count.next() && count.integer(0) == 0)
        addSampleStudies();
    StudyIdentifiers::assign(m_db);
    transaction.commit();
}

void RecordsDatabase::addSampleStudies()
{
    struct Sample
    {
        const char *patient, *modality, *date, *description;
    };
    static const Sample samples[] = {
        {"DOE^JANE", "CT", "2024-03-11", "CT chest with contrast"},
        {"SMITH^ROBERT", "MR", "2024-03-12", "MRI brain without contrast"},
        {"GARCIA^MARIA", "US", "2024-03-14", "Ultrasound abdomen complete"},
        {"CHEN^WEI", "CR", "2024-03-15", "Chest X-ray, two views"},
        {"OKAFOR^NNAMDI", "XA", "2024-03-18", "Coronary angiography"},
    };
    SqliteStatement insert(m_db, "INSERT INTO studies (patient, modality, study_date, description)"
                                 " VALUES (?1, ?2, ?3, ?4)");
    for (const Sample &sample : samples) {
        insert.bind(1, QString::fromLatin1(sample.patient))
            .bind(2, QString::fromLatin1(sample.modality))
            .bind(3, QString::fromLatin1(sample.date))
            .bind(4, QString::fromLatin1(sample.description))
            .run();
    }
}

QList<Study> RecordsDatabase::studies() const
{
    SqliteStatement query(m_db, "SELECT id, patient, modality, study_date, description,"
                                " EXISTS (SELECT 1 FROM teaching_file_values v"
                                "         WHERE v.study_id = studies.id)"
                                " FROM studies ORDER BY study_date, id");
    QList<Study> found;
    while (query.next()) {
        found.append({query.integer(0), query.text(1), query.text(2), query.text(3), query.text(4),
                      query.integer(5) != 0});
    }
    return found;
}

kivo::tce::Study RecordsDatabase::dicomStudy(qint64 studyId) const
{
    return StudyIdentifiers::read(m_db, studyId);
}

QMap<QString, QString> RecordsDatabase::teachingFile(qint64 studyId) const
{
    SqliteStatement query(m_db, "SELECT tag, value FROM teaching_file_values WHERE study_id = ?1");
    query.bind(1, studyId);
    QMap<QString, QString> values;
    while (query.next())
        values.insert(query.text(0), query.text(1));
    return values;
}

void RecordsDatabase::saveTeachingFile(qint64 studyId, const QMap<QString, QString> &values)
{
    Transaction transaction(m_db);
    SqliteStatement(m_db, "DELETE FROM teaching_file_values WHERE study_id = ?1")
        .bind(1, studyId)
        .run();
    SqliteStatement insert(m_db, "INSERT INTO teaching_file_values (study_id, tag, value)"
                                 " VALUES (?1, ?2, ?3)");
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        insert.bind(1, studyId).bind(2, it.key()).bind(3, it.value()).run();
    transaction.commit();
}
