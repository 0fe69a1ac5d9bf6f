// Stores of their own on the test program's PostgreSQL server.
#pragma once

#include "PgTestServer.h"

#include <QUrl>

#include <gtest/gtest.h>

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

// A store of its own on the test server: a schema no other test uses, or
// the one named.
struct TempPgStore
{
    TempPgStore() : TempPgStore(QStringLiteral("store%1").arg(++count())) {}
    explicit TempPgStore(const QString &schema)
        : schema(schema), uri(pgServer().uri() + QStringLiteral("&options=") +
                              QString::fromLatin1(QUrl::toPercentEncoding(
                                  QStringLiteral("-c kivo.schema=") + schema)))
    {
    }

    static int &count()
    {
        static int stores = 0;
        return stores;
    }

    QString schema;
    QString uri;
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
