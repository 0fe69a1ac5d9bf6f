#include "SqliteStatement.h"

#include <sqlite3.h>

#include <stdexcept>

SqliteStatement::SqliteStatement(sqlite3 *db, const char *sql) : m_db(db)
{
    if (sqlite3_prepare_v2(m_db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
        fail("prepare");
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement &SqliteStatement::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(m_statement, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT) !=
        SQLITE_OK)
        fail("bind");
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, qint64 number)
{
    if (sqlite3_bind_int64(m_statement, index, number) != SQLITE_OK)
        fail("bind");
    return *this;
}

bool SqliteStatement::next()
{
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        fail("step");
    return false;
}

void SqliteStatement::run()
{
    while (next()) {
    }
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

QString SqliteStatement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column));
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

void SqliteStatement::execute(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("records database: " + text);
    }
}

void SqliteStatement::fail(const char *what) const
{
    throw std::runtime_error(std::string("records database: ") + what + ": " +
                             sqlite3_errmsg(m_db));
}
