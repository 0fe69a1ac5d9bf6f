#pragma once

#include <QString>
#include <QTemporaryDir>

// A throwaway PostgreSQL server for one test program: a cluster made with
// initdb in a temporary folder, listening on a Unix socket in that folder
// and on a free loopback port, stopped and removed when the object goes.
// The server refuses to run as root, so a root test process runs initdb and
// pg_ctl as the unprivileged "postgres" account and gives it the folder.
class PgTestServer
{
public:
    PgTestServer();
    ~PgTestServer();
    PgTestServer(const PgTestServer &) = delete;
    PgTestServer &operator=(const PgTestServer &) = delete;

    // Why the server could not be made or started; empty when it runs.
    const QString &error() const { return m_error; }
    bool isRunning() const { return m_running; }

    // A libpq URI of the database (created on first use) over the socket.
    QString uri(const QString &database = QStringLiteral("kivo"));
    // The same database over TCP on the loopback port.
    QString tcpUri(const QString &database = QStringLiteral("kivo"));
    // Runs SQL as the superuser in database; false with error() set on failure.
    bool runSql(const QString &sql, const QString &database = QStringLiteral("postgres"));

    // Stops the server at once, as a crash or a restart would; start() brings
    // it back on the same socket and port.
    void stop();
    bool start();

private:
    bool run(const QString &program, const QStringList &arguments);
    bool ensureDatabase(const QString &database);

    QTemporaryDir m_dir;
    QString m_binDir;
    QString m_error;
    quint16 m_port = 0;
    bool m_running = false;
    QStringList m_databases;
};
