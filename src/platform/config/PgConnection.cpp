#include "PgConnection.h"

#include "PgSql.h"
#include "StoreUri.h"
#include "platform/Err.h"

#include <QHash>

#include <libpq-fe.h>
#include <unistd.h>

namespace {

constexpr const char *DefaultSchema = "kivo";
// A writer waits this long for another's transaction before the wait itself
// is an error, as on a SQLite file.
constexpr const char *LockTimeout = "SET lock_timeout = '30s'";

// Store objects are made and dropped freely (a picker lets go of its own
// when it closes), but a session with the server costs round trips and
// authentication to open: it is kept for the thread's life.
QHash<QString, std::shared_ptr<PgConnection>> &openConnections()
{
    thread_local QHash<QString, std::shared_ptr<PgConnection>> connections;
    return connections;
}

// The server's own words, one line.
QString serverMessage(const PGconn *conn, const PGresult *result)
{
    const char *message = result ? PQresultErrorMessage(result) : nullptr;
    if (!message || !*message)
        message = PQerrorMessage(conn);
    return StoreUri::masked(QString::fromUtf8(message).trimmed());
}

QByteArray arrayElement(const QByteArray &text)
{
    QByteArray quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

PgParams &PgParams::text(QByteArrayView utf8)
{
    m_values.emplace_back(utf8.toByteArray());
    return *this;
}

PgParams &PgParams::number(qint64 number)
{
    m_values.emplace_back(QByteArray::number(number));
    return *this;
}

PgParams &PgParams::value(const std::optional<ConfigValue> &value)
{
    const QString *text = value ? std::get_if<QString>(&*value) : nullptr;
    const qint32 *number = value ? std::get_if<qint32>(&*value) : nullptr;
    m_values.emplace_back(text ? std::optional<QByteArray>(text->toUtf8()) : std::nullopt);
    m_values.emplace_back(number ? std::optional<QByteArray>(QByteArray::number(*number))
                                 : std::nullopt);
    return *this;
}

PgParams &PgParams::array(const std::vector<std::optional<QByteArray>> &elements)
{
    QByteArray literal = "{";
    for (const auto &element : elements) {
        if (literal.size() > 1)
            literal += ',';
        literal += element ? arrayElement(*element) : QByteArray("NULL");
    }
    m_values.emplace_back(literal + '}');
    return *this;
}

const char *const *PgParams::values() const
{
    m_pointers.clear();
    for (const auto &value : m_values)
        m_pointers.push_back(value ? value->constData() : nullptr);
    return m_pointers.data();
}

PgResult::~PgResult()
{
    PQclear(m_result);
}

PgResult::PgResult(PgResult &&other) noexcept : m_result(std::exchange(other.m_result, nullptr)) {}

int PgResult::rows() const
{
    return PQntuples(m_result);
}

QByteArray PgResult::command() const
{
    return QByteArray(PQcmdStatus(m_result));
}

qint64 PgResult::changed() const
{
    return QByteArray(PQcmdTuples(m_result)).toLongLong();
}

bool PgResult::isNull(int row, int column) const
{
    return PQgetisnull(m_result, row, column);
}

QByteArray PgResult::utf8(int row, int column) const
{
    return QByteArray::fromRawData(PQgetvalue(m_result, row, column),
                                   PQgetlength(m_result, row, column));
}

qint64 PgResult::integer(int row, int column) const
{
    return utf8(row, column).toLongLong();
}

std::optional<ConfigValue> PgResult::value(int row, int textColumn) const
{
    if (!isNull(row, textColumn))
        return ConfigValue(text(row, textColumn));
    if (!isNull(row, textColumn + 1))
        return ConfigValue(qint32(integer(row, textColumn + 1)));
    return std::nullopt;
}

std::shared_ptr<PgConnection> PgConnection::open(const QString &uri)
{
    auto &connections = openConnections();
    // A connection inherited through fork() belongs to the parent process.
    std::shared_ptr<PgConnection> connection = connections.value(uri);
    if (connection && connection->m_pid == getpid()) {
        // Shared as it is while other store objects use it.
        if (connection.use_count() > 2)
            return connection;
        // Idle since its last store object let go of it: checked as a new
        // connection would be; one the server cannot take back is made anew.
        try {
            connection->recheckSchema();
            return connection;
        } catch (const Err &e) {
            if (e.number() == Err::NotAStore)
                throw;
        }
    }
    connection.reset(new PgConnection(uri, StoreUri::masked(uri)));
    connection->connect();
    connections.insert(uri, connection);
    return connection;
}

PgConnection::PgConnection(QString uri, QString name)
    : m_uri(std::move(uri)), m_name(std::move(name)), m_pid(getpid())
{
}

PgConnection::~PgConnection()
{
    // A connection inherited through fork() is the parent's session: ending
    // it here would end it for the parent.
    if (m_pid == getpid())
        PQfinish(m_conn);
}

void PgConnection::connect()
{
    // A server that does not answer fails the call after a while instead of
    // hanging it; a connect_timeout in the URI wins over this one.
    const QByteArray uri = m_uri.toUtf8();
    const char *const keywords[] = {"connect_timeout", "dbname", nullptr};
    const char *const values[] = {"10", uri.constData(), nullptr};
    m_conn = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(m_conn) != CONNECTION_OK)
        throw Err(Err::StoreOpen,
                  QStringLiteral("Cannot connect to the configuration store \"%1\": %2")
                      .arg(m_name, serverMessage(m_conn, nullptr)));
    // The server's notices (a ROLLBACK with no transaction left, ...) are not
    // the user's business; libpq would print them on stderr.
    PQsetNoticeProcessor(
        m_conn, [](void *, const char *) {}, nullptr);
    setUpSession();
    recheckSchema();
}

void PgConnection::setUpSession()
{
    m_prepared.clear();
    const PgResult option = execute(PgSql::SchemaOption, PgParams());
    // A copy: the result's bytes go with it.
    m_schema = option.text(0, 0).toUtf8();
    if (m_schema.isEmpty())
        m_schema = DefaultSchema;
    char *identifier = PQescapeIdentifier(m_conn, m_schema.constData(), m_schema.size());
    const QByteArray setPath = QByteArray("SET search_path TO ") + identifier;
    PQfreemem(identifier);
    executeOnce(LockTimeout + QByteArray("; ") + setPath, QStringLiteral("Choosing the schema"));
}

void PgConnection::executeOnce(const QByteArray &sql, const QString &action)
{
    PGresult *result = PQexec(m_conn, sql.constData());
    if (PQresultStatus(result) == PGRES_COMMAND_OK) {
        PQclear(result);
        return;
    }
    const Err failure = error(action, result);
    PQclear(result);
    throw failure;
}

bool PgConnection::isBroken() const
{
    return PQstatus(m_conn) == CONNECTION_BAD;
}

void PgConnection::reconnect()
{
    PQreset(m_conn);
    if (isBroken())
        throw Err(Err::StoreFailure,
                  QStringLiteral("The configuration store server of \"%1\" cannot be reached: %2")
                      .arg(m_name, serverMessage(m_conn, nullptr)));
    setUpSession();
}

Err PgConnection::error(const QString &action, pg_result *result) const
{
    const QString text = QStringLiteral("%1 in the configuration store \"%2\" failed: %3")
                             .arg(action, m_name, serverMessage(m_conn, result));
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const QByteArray code(state ? state : "");
    // Writing in a read-only transaction or without the right to.
    if (code == "25006" || code == "42501")
        return Err(Err::StoreReadOnly,
                   QStringLiteral("The configuration store \"%1\" may only be read here: %2")
                       .arg(m_name, serverMessage(m_conn, result)));
    return Err(Err::StoreFailure, text);
}

PgResult PgConnection::execute(const char *sql, const PgParams &params)
{
    auto prepared = m_prepared.find(sql);
    if (prepared == m_prepared.end()) {
        const QByteArray statement = 's' + QByteArray::number(qulonglong(m_prepared.size()));
        PGresult *result = PQprepare(m_conn, statement.constData(), sql, 0, nullptr);
        const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        if (!ok) {
            const Err failure =
                error(QStringLiteral("Preparing \"%1\"").arg(QLatin1String(sql)), result);
            PQclear(result);
            throw failure;
        }
        PQclear(result);
        prepared = m_prepared.emplace(sql, statement).first;
    }
    PGresult *result = PQexecPrepared(m_conn, prepared->second.constData(), params.size(),
                                      params.values(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const Err failure = error(QString::fromUtf8(sql), result);
        PQclear(result);
        throw failure;
    }
    return PgResult(result);
}

PgResult PgConnection::run(const char *sql, const PgParams &params)
{
    // Inside a transaction a lost connection lost the transaction with it:
    // the call fails, and the transaction's end reconnects.
    const bool retryable = m_depth == 0 && !m_inSnapshot;
    if (isBroken()) {
        if (!retryable)
            throw Err(Err::StoreFailure,
                      QStringLiteral("The connection to the configuration store \"%1\" was lost "
                                     "in a transaction")
                          .arg(m_name));
        reconnect();
    }
    try {
        return execute(sql, params);
    } catch (const Err &) {
        // A session the server ended while idle (a restart, a dropped
        // network) fails the first statement sent on it: outside a
        // transaction every statement may be sent again, once, on a new one.
        if (!retryable || !isBroken())
            throw;
    }
    reconnect();
    return execute(sql, params);
}

void PgConnection::runQuietly(const char *sql) noexcept
{
    try {
        if (!isBroken())
            execute(sql, PgParams());
    } catch (const Err &) {
        // Ending a transaction that the server already ended.
    }
}

bool PgConnection::recheckSchema()
{
    const PgResult inspected = run(PgSql::InspectSchema, PgParams().text(m_schema));
    m_hasNamespace = inspected.utf8(0, 0) == "t";
    const bool hasIdentity = inspected.utf8(0, 1) == "t";
    const auto notAStore = [this](const QString &why) {
        return Err(Err::NotAStore,
                   QStringLiteral("The schema \"%1\" of \"%2\" is not a configuration store: %3")
                       .arg(QString::fromUtf8(m_schema), m_name, why));
    };
    if (!hasIdentity) {
        if (inspected.integer(0, 2) != 0)
            throw notAStore(QStringLiteral("it holds tables of another application"));
        m_hasSchema = false;
        return false;
    }
    const PgResult identity = run(PgSql::SelectIdentity);
    if (identity.rows() != 1 || identity.text(0, 0) != QLatin1String(PgSql::Application))
        throw notAStore(QStringLiteral("it holds tables of another application"));
    if (identity.integer(0, 1) != PgSql::SchemaVersion)
        throw notAStore(QStringLiteral("its format version %1 is not %2")
                            .arg(identity.integer(0, 1))
                            .arg(PgSql::SchemaVersion));
    m_hasSchema = true;
    return true;
}

void PgConnection::prepareWrite()
{
    if (!m_hasSchema)
        createSchema();
}

void PgConnection::createSchema()
{
    // Two processes may create the store at once: the second one finds it
    // in place once it holds the writers' lock.
    run(PgSql::Begin);
    m_depth = 1;
    try {
        run(PgSql::WriterLock);
        if (!recheckSchema()) {
            // A schema the administrator made needs no right to create one.
            if (!m_hasNamespace) {
                char *identifier =
                    PQescapeIdentifier(m_conn, m_schema.constData(), m_schema.size());
                const QByteArray create = QByteArray("CREATE SCHEMA ") + identifier;
                PQfreemem(identifier);
                executeOnce(create, QStringLiteral("Creating the schema of the store"));
            }
            executeOnce(PgSql::Schema, QStringLiteral("Creating the store"));
            run(PgSql::InsertIdentity,
                PgParams().text(QByteArrayView(PgSql::Application)).number(PgSql::SchemaVersion));
        }
        run(PgSql::Commit);
        m_depth = 0;
    } catch (...) {
        rollbackWrite(1);
        m_hasSchema = false;
        throw;
    }
    m_hasSchema = true;
}

int PgConnection::beginWrite()
{
    prepareWrite();
    const int level = m_depth + 1;
    if (level == 1) {
        run(PgSql::Begin);
        m_depth = level;
        try {
            run(PgSql::WriterLock);
        } catch (...) {
            rollbackWrite(level);
            throw;
        }
    } else {
        run(PgSql::Savepoint);
        m_depth = level;
    }
    return level;
}

void PgConnection::commitWrite(int level)
{
    if (level != m_depth)
        throw Err(Err::StoreFailure,
                  QStringLiteral("A transaction on \"%1\" ended out of order").arg(m_name));
    bool rolledBack = false;
    try {
        // The server answers a COMMIT of a transaction that a failed
        // statement ended with ROLLBACK, and no error.
        rolledBack =
            run(level == 1 ? PgSql::Commit : PgSql::ReleaseSavepoint).command() == "ROLLBACK";
    } catch (...) {
        rollbackWrite(level);
        throw;
    }
    m_depth = level - 1;
    if (rolledBack)
        throw Err(Err::StoreFailure,
                  QStringLiteral("A transaction on \"%1\" was rolled back by an earlier failure")
                      .arg(m_name));
}

void PgConnection::rollbackWrite(int level) noexcept
{
    if (level > m_depth)
        return;
    if (level == 1) {
        runQuietly(PgSql::Rollback);
    } else {
        for (int inner = m_depth; inner >= level; --inner) {
            runQuietly(PgSql::RollbackToSavepoint);
            runQuietly(PgSql::ReleaseSavepoint);
        }
    }
    m_depth = level - 1;
}

bool PgConnection::beginSnapshot()
{
    if (m_depth > 0 || m_inSnapshot)
        return false;
    run(PgSql::BeginSnapshot);
    m_inSnapshot = true;
    return true;
}

void PgConnection::endSnapshot() noexcept
{
    runQuietly(PgSql::Commit);
    m_inSnapshot = false;
}
