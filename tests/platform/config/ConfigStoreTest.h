// What the store tests share: a store file or PostgreSQL schema of their
// own and the error a call throws.
#pragma once

#include "PgTestServer.h"
#include "platform/Err.h"

#include <QTemporaryDir>
#include <QUrl>

#include <functional>

// A store file in a folder that is removed with the test.
struct TempStoreFile
{
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("store.db"));
};

// The number of the Err the call throws, or 0 when it throws none.
inline int errorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Err &e) {
        return e.number();
    }
    return 0;
}

// The test program's PostgreSQL server, started on first use.
inline PgTestServer &pgServer()
{
    static PgTestServer server;
    return server;
}

// Why PostgreSQL stores cannot be tested here; empty when they can. CI sets
// KIVO_REQUIRE_POSTGRES: there a missing server fails the tests instead of
// skipping them.
inline QString pgUnavailable()
{
    if (pgServer().isRunning())
        return QString();
    return QStringLiteral("No PostgreSQL server for the tests: %1").arg(pgServer().error());
}

// A store of its own on the test server: a schema no other test uses.
struct TempPgStore
{
    QString uri = pgServer().isRunning()
                      ? pgServer().uri() + QStringLiteral("&options=") +
                            QString::fromLatin1(QUrl::toPercentEncoding(
                                QStringLiteral("-c kivo.schema=store%1").arg(++count())))
                      : QString();

    static int &count()
    {
        static int stores = 0;
        return stores;
    }
};

// In SetUp(): skips the test without a server, or fails it where one is required.
#define KIVO_REQUIRE_PG_SERVER()                                                                   \
    do {                                                                                           \
        const QString missing = pgUnavailable();                                                   \
        if (missing.isEmpty())                                                                     \
            break;                                                                                 \
        if (qEnvironmentVariableIsSet("KIVO_REQUIRE_POSTGRES"))                                    \
            FAIL() << qPrintable(missing);                                                         \
        GTEST_SKIP() << qPrintable(missing);                                                       \
    } while (false)
