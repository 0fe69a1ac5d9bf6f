#include "StoreConnection.h"

#include "platform/Err.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QUrl>

#include <sqlite3.h>
#include <unistd.h>

namespace {

// Marks a SQLite file as ours ("KIVO"); the schema version is the user_version.
constexpr int ApplicationId = 0x4B49564F;
constexpr int SchemaVersion = 1;
// Another process's transaction normally lasts milliseconds; a writer that
// finds the file locked waits this long before the wait itself is an error.
constexpr int BusyTimeoutMs = 30000;

// Keys are found by the folded full path of their parent and their folded
// name; siblings keep their store order in ord. A subtree is one range of
// the parent column, so reading, deleting or renaming it is an index range.
constexpr const char *Schema = R"(
CREATE TABLE keys (
    id INTEGER PRIMARY KEY,
    parent TEXT NOT NULL,
    fname TEXT NOT NULL,
    name TEXT NOT NULL,
    ord INTEGER NOT NULL,
    value,
    UNIQUE (parent, fname)
);
CREATE INDEX keys_by_order ON keys (parent, ord);
)";

QHash<QString, std::weak_ptr<StoreConnection>> &openConnections()
{
    thread_local QHash<QString, std::weak_ptr<StoreConnection>> connections;
    return connections;
}

QString canonicalFile(const QString &file)
{
    const QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath()))
        throw Err(
            Err::StoreOpen,
            QStringLiteral("Cannot create the folder \"%1\" of the configuration store \"%2\"")
                .arg(info.absolutePath(), file));
    if (info.isDir())
        throw Err(Err::StoreOpen,
                  QStringLiteral("The configuration store \"%1\" is a folder").arg(file));
    if (info.exists())
        return info.canonicalFilePath();
    return QFileInfo(info.absolutePath()).canonicalFilePath() + QLatin1Char('/') + info.fileName();
}

sqlite3 *openHandle(const QString &path, bool immutable)
{
    sqlite3 *db = nullptr;
    const QByteArray name =
        immutable ? QUrl::fromLocalFile(path).toEncoded() + "?immutable=1" : path.toUtf8();
    // A connection serves one thread only (they are shared per thread), so
    // SQLite need not lock it on every call.
    const int flags = SQLITE_OPEN_NOMUTEX |
                      (immutable ? SQLITE_OPEN_READONLY | SQLITE_OPEN_URI
                                 : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        sqlite3_close_v2(db);
        throw Err(
            Err::StoreOpen,
            QStringLiteral("Cannot open the configuration store \"%1\": %2").arg(path, reason));
    }
    return db;
}

} // namespace

std::shared_ptr<StoreConnection> StoreConnection::open(const QString &file)
{
    if (file.isEmpty())
        throw Err(Err::StoreOpen, QStringLiteral("No configuration store file is given"));
    const QString path = canonicalFile(file);
    auto &connections = openConnections();
    // A connection inherited through fork() belongs to the parent process and
    // must not be used here.
    std::shared_ptr<StoreConnection> connection = connections.value(path).lock();
    if (connection && connection->m_pid == getpid())
        return connection;

    connection.reset(new StoreConnection(path, openHandle(path, false)));
    try {
        connection->checkIdentity();
    } catch (const Err &e) {
        // A WAL store in a folder we may not write can only be read when
        // its shared-memory file can be made; without a -wal file no writer
        // has it open, so it can be read as an unchanging file instead.
        if (e.number() != Err::StoreReadOnly || !connection->isReadOnly() ||
            QFileInfo::exists(path + QStringLiteral("-wal")))
            throw;
        connection.reset(new StoreConnection(path, openHandle(path, true)));
        connection->checkIdentity();
    }
    connections.insert(path, connection);
    return connection;
}

StoreConnection::StoreConnection(QString file, sqlite3 *db)
    : m_file(std::move(file)), m_db(db), m_pid(getpid())
{
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    // Room for a whole code index in the page cache (taken only as pages
    // are read): a picker's or a form's look-ups then stay in memory.
    sqlite3_exec(m_db, "PRAGMA cache_size=-16384", nullptr, nullptr, nullptr);
    m_readOnly = sqlite3_db_readonly(m_db, "main") == 1;
}

StoreConnection::~StoreConnection()
{
    for (const auto &entry : m_statements)
        sqlite3_finalize(entry.second);
    sqlite3_close_v2(m_db);
}

Err StoreConnection::error(int code, const QString &action) const
{
    const QString text = QStringLiteral("%1 in the configuration store \"%2\" failed: %3")
                             .arg(action, m_file, QString::fromUtf8(sqlite3_errmsg(m_db)));
    switch (code & 0xff) {
    case SQLITE_READONLY:
        return Err(Err::StoreReadOnly, text);
    case SQLITE_NOTADB:
        return Err(Err::NotAStore, text);
    case SQLITE_CANTOPEN:
        return Err(Err::StoreOpen, text);
    default:
        return Err(Err::StoreFailure, text);
    }
}

sqlite3_stmt *StoreConnection::statement(const char *sql)
{
    auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return found->second;
    sqlite3_stmt *prepared = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &prepared, nullptr);
    if (rc != SQLITE_OK)
        throw error(rc, QStringLiteral("Preparing \"%1\"").arg(QString::fromUtf8(sql)));
    m_statements.emplace(sql, prepared);
    return prepared;
}

void StoreConnection::execute(const char *sql)
{
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw error(rc, QString::fromUtf8(sql));
}

void StoreConnection::checkIdentity()
{
    // Only read until the file is known to be ours or empty: a foreign
    // database must be left exactly as it was.
    const auto pragma = [this](const char *sql) {
        sqlite3_stmt *query = statement(sql);
        const int rc = sqlite3_step(query);
        const int result = rc == SQLITE_ROW ? sqlite3_column_int(query, 0) : 0;
        sqlite3_reset(query);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw error(rc, QStringLiteral("Reading the store identity"));
        return result;
    };
    const auto notAStore = [this](const QString &why) {
        return Err(Err::NotAStore,
                   QStringLiteral("\"%1\" is not a configuration store: %2").arg(m_file, why));
    };
    int applicationId = 0;
    try {
        applicationId = pragma("PRAGMA application_id");
    } catch (const Err &e) {
        if (e.number() == Err::NotAStore)
            throw notAStore(QString::fromUtf8(sqlite3_errmsg(m_db)));
        throw;
    }
    const int version = pragma("PRAGMA user_version");
    if (applicationId == ApplicationId && version == SchemaVersion) {
        if (!m_readOnly)
            execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
        return;
    }
    if (applicationId == ApplicationId)
        throw notAStore(
            QStringLiteral("its format version %1 is not %2").arg(version).arg(SchemaVersion));
    if (applicationId != 0 || version != 0 || pragma("SELECT count(*) FROM sqlite_schema") != 0)
        throw notAStore(QStringLiteral("it is a database of another application"));
    if (m_readOnly)
        throw Err(
            Err::StoreReadOnly,
            QStringLiteral("The new configuration store \"%1\" cannot be written").arg(m_file));
    createSchema();
}

void StoreConnection::createSchema()
{
    execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
    // Two processes may create the same new store at once: the second one
    // finds the schema in place once it holds the write lock.
    execute("BEGIN IMMEDIATE");
    try {
        sqlite3_stmt *query = statement("PRAGMA application_id");
        sqlite3_step(query);
        const bool created = sqlite3_column_int(query, 0) == ApplicationId;
        sqlite3_reset(query);
        if (!created) {
            execute(Schema);
            const QByteArray identity =
                "PRAGMA application_id=" + QByteArray::number(ApplicationId) +
                "; PRAGMA user_version=" + QByteArray::number(SchemaVersion);
            execute(identity.constData());
        }
        execute("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

int StoreConnection::beginWrite()
{
    if (m_readOnly)
        throw Err(Err::StoreReadOnly,
                  QStringLiteral("The configuration store \"%1\" is read-only").arg(m_file));
    const int level = m_depth + 1;
    if (level == 1)
        execute("BEGIN IMMEDIATE");
    else
        execute(QByteArray("SAVEPOINT level" + QByteArray::number(level)).constData());
    m_depth = level;
    return level;
}

void StoreConnection::commitWrite(int level)
{
    if (level != m_depth)
        throw Err(Err::StoreFailure,
                  QStringLiteral("A transaction on \"%1\" ended out of order").arg(m_file));
    // After an I/O error or a full disk SQLite may have rolled back on its own.
    if (sqlite3_get_autocommit(m_db)) {
        m_depth = 0;
        throw Err(Err::StoreFailure,
                  QStringLiteral("A transaction on \"%1\" was rolled back by an earlier failure")
                      .arg(m_file));
    }
    execute(level == 1 ? "COMMIT"
                       : QByteArray("RELEASE level" + QByteArray::number(level)).constData());
    m_depth = level - 1;
}

void StoreConnection::rollbackWrite(int level) noexcept
{
    if (level > m_depth)
        return;
    // Rolling back an outer level also ends every level inside it.
    const QByteArray name = "level" + QByteArray::number(level);
    const QByteArray sql =
        level == 1 ? QByteArray("ROLLBACK") : "ROLLBACK TO " + name + "; RELEASE " + name;
    sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr);
    m_depth = level - 1;
}

bool StoreConnection::inTransaction() const
{
    return m_depth > 0;
}
