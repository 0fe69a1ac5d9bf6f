#pragma once

#include "ConfigValue.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <sys/types.h>

struct pg_conn;
struct pg_result;
class Err;

// The parameters of one statement, in libpq's text format.
class PgParams
{
public:
    PgParams &text(QByteArrayView utf8);
    PgParams &string(const QString &text) { return this->text(QByteArrayView(text.toUtf8())); }
    PgParams &number(qint64 number);
    // Two parameters: the text and the integer column of a value.
    PgParams &value(const std::optional<ConfigValue> &value);
    // An array literal of texts or numbers, elements NULL where absent.
    PgParams &array(const std::vector<std::optional<QByteArray>> &elements);

    int size() const { return int(m_values.size()); }
    const char *const *values() const;

private:
    std::vector<std::optional<QByteArray>> m_values;
    mutable std::vector<const char *> m_pointers;
};

// The rows of one statement, freed with it.
class PgResult
{
public:
    explicit PgResult(pg_result *result) : m_result(result) {}
    ~PgResult();
    PgResult(PgResult &&other) noexcept;
    PgResult(const PgResult &) = delete;
    PgResult &operator=(const PgResult &) = delete;

    int rows() const;
    // The command tag the server answered with ("COMMIT", "ROLLBACK", ...).
    QByteArray command() const;
    // The rows a statement changed.
    qint64 changed() const;
    bool isNull(int row, int column) const;
    QByteArray utf8(int row, int column) const;
    QString text(int row, int column) const { return QString::fromUtf8(utf8(row, column)); }
    qint64 integer(int row, int column) const;
    // The value stored as a text column and the integer column after it.
    std::optional<ConfigValue> value(int row, int textColumn) const;

private:
    pg_result *m_result;
};

// The libpq connection behind every store object on one database URI in one
// thread: connecting, checking and creating the schema, statements prepared
// once per session, nested write transactions, and reconnecting after the
// server went away. Internal to the store.
//
// Reading never writes: a database without the store reads as an empty
// store; the first write creates the schema. A lost connection is made
// again on the next call; a call that cannot reach the server throws
// StoreFailure, and one inside a transaction fails the transaction.
class PgConnection
{
public:
    // The shared connection to uri. Throws Err StoreOpen (cannot connect)
    // or NotAStore (the schema holds something else).
    static std::shared_ptr<PgConnection> open(const QString &uri);
    ~PgConnection();
    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;

    // The URI with its password masked.
    const QString &name() const { return m_name; }
    const QString &uri() const { return m_uri; }

    bool hasSchema() { return m_hasSchema || recheckSchema(); }
    // Creates the store when it is missing.
    void prepareWrite();

    // Runs a statement prepared once per session; sql must be a string
    // literal (the cache is keyed by its address).
    PgResult run(const char *sql, const PgParams &params = PgParams());

    int beginWrite();
    void commitWrite(int level);
    void rollbackWrite(int level) noexcept;
    // Reads between begin and end see one state of the database; inside a
    // write transaction they already do. Returns whether it began one.
    bool beginSnapshot();
    void endSnapshot() noexcept;

private:
    PgConnection(QString uri, QString name);
    void connect();
    void setUpSession();
    bool recheckSchema();
    void createSchema();
    bool isBroken() const;
    void reconnect();
    PgResult execute(const char *sql, const PgParams &params);
    // Runs sql (any number of statements) once, unprepared.
    void executeOnce(const QByteArray &sql, const QString &action);
    Err error(const QString &action, pg_result *result) const;
    void runQuietly(const char *sql) noexcept;

    QString m_uri;
    QString m_name;
    QByteArray m_schema;
    pg_conn *m_conn = nullptr;
    pid_t m_pid;
    bool m_hasSchema = false;
    bool m_hasNamespace = false;
    bool m_inSnapshot = false;
    int m_depth = 0;
    std::unordered_map<const char *, QByteArray> m_prepared; // sql -> statement name
};
