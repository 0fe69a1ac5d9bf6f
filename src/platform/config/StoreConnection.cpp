#include "StoreConnection.h"

#include "StoreSql.h"
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
// Another process's transaction normally lasts milliseconds; a writer that
// finds the file locked waits this long before the wait itself is an error.
constexpr int BusyTimeoutMs = 30000;

QHash<QString, std::weak_ptr<StoreConnection>> &openConnections()
{
    thread_local QHash<QString, std::weak_ptr<StoreConnection>> connections;
    return connections;
}

// The file's path with the part of its folder that exists resolved, without
// creating anything: the same file keeps the same name once it is created.
QString canonicalFile(const QString &file)
{
    const QFileInfo info(file);
    if (info.exists())
        return info.canonicalFilePath();
    QString folder = info.absolutePath();
    QString rest = info.fileName();
    while (!QFileInfo::exists(folder)) {
        const QFileInfo missing(folder);
        rest = missing.fileName() + QLatin1Char('/') + rest;
        folder = missing.absolutePath();
    }
    return QDir(QFileInfo(folder).canonicalFilePath()).filePath(rest);
}

bool isLockedOut(const Err &e)
{
    return e.number() == Err::StoreReadOnly || e.number() == Err::StoreOpen;
}

} // namespace

std::shared_ptr<StoreConnection> StoreConnection::open(const QString &file)
{
    if (file.isEmpty())
        throw Err(Err::StoreOpen, QStringLiteral("No configuration store file is given"));
    if (QFileInfo(file).isDir())
        throw Err(Err::StoreOpen,
                  QStringLiteral("The configuration store \"%1\" is a folder").arg(file));
    const QString path = canonicalFile(file);
    auto &connections = openConnections();
    // A connection inherited through fork() belongs to the parent process and
    // must not be used here.
    std::shared_ptr<StoreConnection> connection = connections.value(path).lock();
    if (connection && connection->m_pid == getpid())
        return connection;

    connection.reset(new StoreConnection(path));
    if (QFileInfo::exists(path))
        connection->connect(false);
    connections.insert(path, connection);
    return connection;
}

StoreConnection::StoreConnection(QString file) : m_file(std::move(file)), m_pid(getpid()) {}

StoreConnection::~StoreConnection()
{
    closeHandle();
}

void StoreConnection::closeHandle()
{
    for (const auto &entry : m_statements)
        sqlite3_finalize(entry.second);
    m_statements.clear();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void StoreConnection::openHandle(bool create, bool immutable)
{
    const QByteArray name =
        immutable ? QUrl::fromLocalFile(m_file).toEncoded() + "?immutable=1" : m_file.toUtf8();
    // A connection serves one thread only (they are shared per thread), so
    // SQLite need not lock it on every call.
    const int flags = SQLITE_OPEN_NOMUTEX |
                      (immutable ? SQLITE_OPEN_READONLY | SQLITE_OPEN_URI
                                 : SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0));
    const int rc = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
        closeHandle();
        throw Err(
            Err::StoreOpen,
            QStringLiteral("Cannot open the configuration store \"%1\": %2").arg(m_file, reason));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    // Room for a whole code index in the page cache (taken only as pages
    // are read): a picker's or a form's look-ups then stay in memory.
    // synchronous=FULL syncs the log on every commit: a committed change
    // survives a power cut. Neither setting writes to the file.
    sqlite3_exec(m_db, "PRAGMA cache_size=-16384; PRAGMA synchronous=FULL", nullptr, nullptr,
                 nullptr);
    m_readOnly = sqlite3_db_readonly(m_db, "main") == 1;
}

void StoreConnection::connect(bool create)
{
    openHandle(create, false);
    try {
        checkIdentity();
    } catch (const Err &e) {
        // Reading a WAL store needs its shared-memory file, which cannot be
        // made where we may not write. Without a -wal file no writer has the
        // store open, so it can be read as an unchanging file instead.
        const bool mayWriteBeside =
            !m_readOnly && QFileInfo(QFileInfo(m_file).absolutePath()).isWritable();
        closeHandle();
        if (!isLockedOut(e) || mayWriteBeside || QFileInfo::exists(m_file + QStringLiteral("-wal")))
            throw;
        openHandle(false, true);
        m_readOnly = true;
        checkIdentity();
    }
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

void StoreConnection::run(const char *sql)
{
    sqlite3_stmt *prepared = statement(sql);
    const int rc = sqlite3_step(prepared);
    sqlite3_reset(prepared);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw error(rc, QString::fromUtf8(sql));
}

void StoreConnection::execute(const char *sql)
{
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw error(rc, QString::fromUtf8(sql));
}

int StoreConnection::pragma(const char *sql)
{
    sqlite3_stmt *query = statement(sql);
    const int rc = sqlite3_step(query);
    const int result = rc == SQLITE_ROW ? sqlite3_column_int(query, 0) : 0;
    sqlite3_reset(query);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw error(rc, QStringLiteral("Reading the store identity"));
    return result;
}

bool StoreConnection::recheckSchema()
{
    if (m_db)
        checkIdentity();
    else if (QFileInfo::exists(m_file))
        connect(false);
    return m_hasSchema;
}

void StoreConnection::checkIdentity()
{
    // Only read until the file is known to be ours or empty: a foreign
    // database must be left exactly as it was.
    const auto notAStore = [this](const QString &why) {
        return Err(Err::NotAStore,
                   QStringLiteral("\"%1\" is not a configuration store: %2").arg(m_file, why));
    };
    int applicationId = 0;
    try {
        applicationId = pragma(StoreSql::ApplicationId);
    } catch (const Err &e) {
        if (e.number() == Err::NotAStore)
            throw notAStore(QString::fromUtf8(sqlite3_errmsg(m_db)));
        throw;
    }
    const int version = pragma(StoreSql::UserVersion);
    m_hasSchema = applicationId == ApplicationId && version == StoreSql::SchemaVersion;
    if (m_hasSchema)
        return;
    if (applicationId == ApplicationId && version == 1) {
        if (m_readOnly)
            throw Err(Err::StoreReadOnly,
                      QStringLiteral("The configuration store \"%1\" has the format of an earlier "
                                     "version: a program that may write it must open it once to "
                                     "upgrade it")
                          .arg(m_file));
        upgradeSchema();
        m_hasSchema = true;
        return;
    }
    if (applicationId == ApplicationId)
        throw notAStore(QStringLiteral("its format version %1 is not %2")
                            .arg(version)
                            .arg(StoreSql::SchemaVersion));
    if (applicationId != 0 || version != 0 || pragma(StoreSql::CountSchemaObjects) != 0)
        throw notAStore(QStringLiteral("it is a database of another application"));
    // An empty file: the first write creates the store in it.
}

void StoreConnection::prepareWrite()
{
    if (m_hasSchema && !m_readOnly)
        return;
    if (!m_db) {
        const QString folder = QFileInfo(m_file).absolutePath();
        if (!QDir().mkpath(folder))
            throw Err(Err::StoreOpen,
                      QStringLiteral("Cannot create the folder \"%1\" of the configuration store "
                                     "\"%2\"")
                          .arg(folder, m_file));
        connect(true);
    }
    if (m_readOnly)
        throw Err(Err::StoreReadOnly,
                  (m_hasSchema
                       ? QStringLiteral("The configuration store \"%1\" is read-only")
                       : QStringLiteral("The new configuration store \"%1\" cannot be written"))
                      .arg(m_file));
    if (!m_hasSchema)
        createSchema();
}

void StoreConnection::createSchema()
{
    // The log mode is kept in the file: set once, here, outside a transaction.
    execute("PRAGMA journal_mode=WAL");
    // Two processes may create the same new store at once: the second one
    // finds the schema in place once it holds the write lock.
    run(StoreSql::BeginWrite);
    try {
        if (pragma(StoreSql::ApplicationId) != ApplicationId) {
            execute(StoreSql::Schema);
            const QByteArray identity =
                "PRAGMA application_id=" + QByteArray::number(ApplicationId) +
                "; PRAGMA user_version=" + QByteArray::number(StoreSql::SchemaVersion);
            execute(identity.constData());
        }
        run(StoreSql::Commit);
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    m_hasSchema = true;
}

void StoreConnection::upgradeSchema()
{
    // One transaction: a process killed part-way leaves the old format whole.
    // Two processes may upgrade at once: the second finds it done.
    run(StoreSql::BeginWrite);
    try {
        if (pragma(StoreSql::UserVersion) == 1) {
            execute(StoreSql::UpgradeFrom1Begin);
            execute(StoreSql::Schema);
            execute(StoreSql::UpgradeFrom1Copy);
            const QByteArray version =
                "PRAGMA user_version=" + QByteArray::number(StoreSql::SchemaVersion);
            execute(version.constData());
        }
        run(StoreSql::Commit);
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

int StoreConnection::beginWrite()
{
    prepareWrite();
    const int level = m_depth + 1;
    run(level == 1 ? StoreSql::BeginWrite : StoreSql::Savepoint);
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
        m_nextParentId = 0;
        throw Err(Err::StoreFailure,
                  QStringLiteral("A transaction on \"%1\" was rolled back by an earlier failure")
                      .arg(m_file));
    }
    if (level == 1)
        storeNextParentId();
    run(level == 1 ? StoreSql::Commit : StoreSql::ReleaseSavepoint);
    m_depth = level - 1;
}

void StoreConnection::rollbackWrite(int level) noexcept
{
    if (level > m_depth)
        return;
    // Rolling back an outer level also ends every level inside it.
    const auto step = [this](const char *sql) {
        sqlite3_stmt *prepared = m_statements.count(sql) ? m_statements[sql] : nullptr;
        if (!prepared && sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &prepared,
                                            nullptr) == SQLITE_OK)
            m_statements.emplace(sql, prepared);
        if (prepared) {
            sqlite3_step(prepared);
            sqlite3_reset(prepared);
        }
    };
    if (level == 1) {
        step(StoreSql::Rollback);
        m_nextParentId = 0;
    } else {
        for (int inner = m_depth; inner >= level; --inner) {
            step(StoreSql::RollbackToSavepoint);
            step(StoreSql::ReleaseSavepoint);
        }
    }
    m_depth = level - 1;
}

qint64 StoreConnection::newParentId()
{
    if (m_nextParentId == 0) {
        sqlite3_stmt *query = statement(StoreSql::NextParentId);
        const int rc = sqlite3_step(query);
        m_nextParentId = sqlite3_column_int64(query, 0);
        sqlite3_reset(query);
        if (rc != SQLITE_ROW)
            throw error(rc, QStringLiteral("Numbering a new parent key"));
    }
    return m_nextParentId++;
}

void StoreConnection::storeNextParentId()
{
    if (m_nextParentId == 0)
        return;
    sqlite3_stmt *update = statement(StoreSql::SetNextParentId);
    sqlite3_bind_int64(update, 1, m_nextParentId);
    const int rc = sqlite3_step(update);
    sqlite3_reset(update);
    if (rc != SQLITE_DONE)
        throw error(rc, QStringLiteral("Numbering a new parent key"));
    m_nextParentId = 0;
}
