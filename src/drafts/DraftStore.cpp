#include "drafts/DraftStore.h"

#include "platform/Err.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(sqlite3 *db, const QString &what)
{
    throw Err(Err::StoreFailure,
              QStringLiteral("%1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(db))));
}

// One prepared statement, finalised however the caller leaves.
class Statement
{
public:
    Statement(sqlite3 *db, const char *sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
            fail(db, QStringLiteral("The drafts file refused a query"));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement &bind(int index, qint64 number)
    {
        sqlite3_bind_int64(m_statement, index, number);
        return *this;
    }
    // Answers whether a row came.
    bool step()
    {
        const int result = sqlite3_step(m_statement);
        if (result != SQLITE_ROW && result != SQLITE_DONE)
            fail(m_db, QStringLiteral("The drafts file could not be read or written"));
        return result == SQLITE_ROW;
    }
    QString text(int column) const
    {
        return QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column)),
            sqlite3_column_bytes(m_statement, column));
    }
    qint64 number(int column) const { return sqlite3_column_int64(m_statement, column); }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
};

// The file exists with no rights for anyone but its owner before SQLite
// opens it; its journal files take the same rights. A file that was made
// wider by hand is narrowed again.
bool createPrivately(const QString &file)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool narrowed = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    ::close(fd);
    return narrowed;
}

QString toJson(const QMap<QString, QString> &values)
{
    QJsonObject object;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        object.insert(it.key(), it.value());
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QMap<QString, QString> fromJson(const QString &json)
{
    QMap<QString, QString> values;
    const QJsonObject object = QJsonDocument::fromJson(json.toUtf8()).object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        values.insert(it.key(), it.value().toString());
    return values;
}

} // namespace

DraftStore::DraftStore(const QString &file) : m_file(file)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder))
        throw Err(Err::StoreOpen,
                  QStringLiteral("The drafts folder %1 cannot be created").arg(folder));
    if (open())
        return;
    setAside();
    if (!open())
        throw Err(Err::StoreOpen, QStringLiteral("The drafts file %1 cannot be created").arg(file));
}

DraftStore::~DraftStore()
{
    close();
}

bool DraftStore::open()
{
    if (!createPrivately(m_file) || sqlite3_open_v2(QFile::encodeName(m_file).constData(), &m_db,
                                                    SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        close();
        return false;
    }
    try {
        sqlite3_busy_timeout(m_db, 2000);
        // WAL syncs once per commit; FULL syncs it on every commit, so a
        // draft is on the disk when write() returns.
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=FULL");
        Statement check(m_db, "PRAGMA quick_check");
        if (!check.step() || check.text(0) != QLatin1String("ok"))
            throw Err(Err::NotAStore, QStringLiteral("The drafts file is damaged"));
        exec("CREATE TABLE IF NOT EXISTS drafts ("
             " entry_key TEXT NOT NULL, login TEXT NOT NULL, workstation TEXT NOT NULL,"
             " saved_at INTEGER NOT NULL, fields TEXT NOT NULL,"
             " PRIMARY KEY (entry_key, login))");
        // A table of that name from something else is no drafts file either.
        Statement(m_db,
                  "SELECT entry_key, login, workstation, saved_at, fields FROM drafts LIMIT 0")
            .step();
    } catch (const Err &) {
        close();
        return false;
    }
    return true;
}

void DraftStore::close()
{
    sqlite3_close(m_db);
    m_db = nullptr;
}

void DraftStore::setAside()
{
    m_setAsideAs = m_file + QStringLiteral(".damaged-") +
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(m_file, m_setAsideAs))
        QFile::remove(m_file);
    // The journals of a damaged file would be applied to the new one.
    for (const char *suffix : {"-wal", "-shm", "-journal"})
        QFile::remove(m_file + QLatin1String(suffix));
}

void DraftStore::exec(const char *sql) const
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(m_db, QStringLiteral("The drafts file refused a change"));
}

void DraftStore::write(const Draft &draft)
{
    // One statement, one transaction of its own.
    Statement(m_db,
              "INSERT OR REPLACE INTO drafts"
              " (entry_key, login, workstation, saved_at, fields) VALUES (?1, ?2, ?3, ?4, ?5)")
        .bind(1, draft.key)
        .bind(2, draft.login)
        .bind(3, draft.workstation)
        .bind(4, draft.savedAt.toMSecsSinceEpoch())
        .bind(5, toJson(draft.values))
        .step();
}

std::optional<Draft> DraftStore::read(const QString &key, const QString &login) const
{
    Statement query(m_db, "SELECT workstation, saved_at, fields FROM drafts"
                          " WHERE entry_key = ?1 AND login = ?2");
    query.bind(1, key).bind(2, login);
    if (!query.step())
        return std::nullopt;
    return Draft{key, login, query.text(0), QDateTime::fromMSecsSinceEpoch(query.number(1)),
                 fromJson(query.text(2))};
}

void DraftStore::remove(const QString &key, const QString &login)
{
    Statement(m_db, "DELETE FROM drafts WHERE entry_key = ?1 AND login = ?2")
        .bind(1, key)
        .bind(2, login)
        .step();
}

int DraftStore::dropSavedBefore(const QDateTime &cutoff)
{
    Statement(m_db, "DELETE FROM drafts WHERE saved_at < ?1")
        .bind(1, cutoff.toMSecsSinceEpoch())
        .step();
    return sqlite3_changes(m_db);
}

QString DraftStore::defaultFile()
{
    // The log's folder, found as the logging library finds it.
    QString folder = qEnvironmentVariable("KIVO_LOG_DIR");
    if (folder.isEmpty()) {
        const QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
        folder = stateHome.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/state/kivo")
                                     : stateHome + QStringLiteral("/kivo");
    }
    return folder + QStringLiteral("/teaching-file-drafts.db");
}
