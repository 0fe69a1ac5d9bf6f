#include "PgTestServer.h"

#include <QDir>
#include <QProcess>
#include <QUrlQuery>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr const char *ServerAccount = "postgres";
constexpr const char *Superuser = "postgres";

// Debian keeps the server programs out of PATH, one folder per version.
QString serverBinDir()
{
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    const QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (auto version = found.crbegin(); version != found.crend(); ++version) {
        const QString bin = versions.filePath(*version + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb")))
            return bin;
    }
    return QString();
}

// A port the kernel hands out as free; the server binds it moments later.
quint16 freeLoopbackPort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    quint16 port = 0;
    if (probe >= 0 && bind(probe, reinterpret_cast<sockaddr *>(&address), size) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr *>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    if (probe >= 0)
        close(probe);
    return port;
}

} // namespace

PgTestServer::PgTestServer() : m_binDir(serverBinDir())
{
    if (m_binDir.isEmpty()) {
        m_error = QStringLiteral("No PostgreSQL server programs under /usr/lib/postgresql");
        return;
    }
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("Cannot make a temporary folder: %1").arg(m_dir.errorString());
        return;
    }
    if (geteuid() == 0) {
        const passwd *account = getpwnam(ServerAccount);
        if (!account || chown(QFile::encodeName(m_dir.path()).constData(), account->pw_uid,
                              account->pw_gid) != 0) {
            m_error = QStringLiteral("Cannot give %1 to the \"%2\" account")
                          .arg(m_dir.path(), QLatin1String(ServerAccount));
            return;
        }
    }
    m_port = freeLoopbackPort();
    if (m_port == 0) {
        m_error = QStringLiteral("No free loopback port");
        return;
    }
    if (run(QStringLiteral("initdb"),
            {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-U"),
             QLatin1String(Superuser), QStringLiteral("-A"), QStringLiteral("trust"),
             QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--no-sync")}))
        start();
}

PgTestServer::~PgTestServer()
{
    stop();
}

bool PgTestServer::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString path = m_binDir + QLatin1Char('/') + program;
    if (geteuid() == 0)
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QLatin1String(ServerAccount),
                                  QStringLiteral("--"), path} +
                          arguments);
    else
        process.start(path, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        m_error = QStringLiteral("%1 failed: %2")
                      .arg(program, QString::fromLocal8Bit(process.readAll()).trimmed());
        return false;
    }
    return true;
}

bool PgTestServer::start()
{
    if (m_running)
        return true;
    const QString options =
        QStringLiteral("-k %1 -p %2 -c listen_addresses=127.0.0.1").arg(m_dir.path()).arg(m_port);
    m_running = run(QStringLiteral("pg_ctl"),
                    {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")),
                     QStringLiteral("-l"), m_dir.filePath(QStringLiteral("server.log")),
                     QStringLiteral("-o"), options, QStringLiteral("-w"), QStringLiteral("start")});
    if (m_running)
        m_error.clear();
    return m_running;
}

void PgTestServer::stop()
{
    if (!m_running)
        return;
    run(QStringLiteral("pg_ctl"),
        {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-m"),
         QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    m_running = false;
}

bool PgTestServer::runSql(const QString &sql, const QString &database)
{
    QProcess psql;
    psql.setProcessChannelMode(QProcess::MergedChannels);
    psql.start(m_binDir + QStringLiteral("/psql"),
               {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), m_dir.path(),
                QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-U"),
                QLatin1String(Superuser), QStringLiteral("-d"), database, QStringLiteral("-c"),
                sql});
    if (!psql.waitForFinished(60000) || psql.exitStatus() != QProcess::NormalExit ||
        psql.exitCode() != 0) {
        m_error = QStringLiteral("psql failed: %1").arg(QString::fromLocal8Bit(psql.readAll()));
        return false;
    }
    return true;
}

bool PgTestServer::ensureDatabase(const QString &database)
{
    if (m_databases.contains(database) || database == QLatin1String("postgres"))
        return true;
    if (!runSql(QStringLiteral("CREATE DATABASE \"%1\"").arg(database)))
        return false;
    m_databases.append(database);
    return true;
}

QString PgTestServer::uri(const QString &database)
{
    ensureDatabase(database);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("host"), m_dir.path());
    query.addQueryItem(QStringLiteral("port"), QString::number(m_port));
    query.addQueryItem(QStringLiteral("user"), QLatin1String(Superuser));
    return QStringLiteral("postgresql:///%1?%2").arg(database, query.toString(QUrl::FullyEncoded));
}

QString PgTestServer::tcpUri(const QString &database)
{
    ensureDatabase(database);
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3")
        .arg(QLatin1String(Superuser))
        .arg(m_port)
        .arg(database);
}
