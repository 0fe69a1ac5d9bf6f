#include "StoreQuery.h"

#include "StoreConnection.h"
#include "platform/Err.h"

#include <sqlite3.h>

StoreQuery::StoreQuery(StoreConnection &connection, const char *sql)
    : m_connection(connection), m_statement(connection.statement(sql))
{
}

StoreQuery::~StoreQuery()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

StoreQuery &StoreQuery::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

StoreQuery &StoreQuery::bindUtf8(int index, QByteArrayView text)
{
    // An empty view may have no data; SQLite would bind that as NULL.
    sqlite3_bind_text(m_statement, index, text.isEmpty() ? "" : text.data(), int(text.size()),
                      SQLITE_STATIC);
    return *this;
}

StoreQuery &StoreQuery::bind(int index, qint64 number)
{
    sqlite3_bind_int64(m_statement, index, number);
    return *this;
}

StoreQuery &StoreQuery::bind(int index, const std::optional<ConfigValue> &value)
{
    if (!value)
        sqlite3_bind_null(m_statement, index);
    else if (const qint32 *number = std::get_if<qint32>(&*value))
        bind(index, qint64(*number));
    else
        bind(index, std::get<QString>(*value));
    return *this;
}

bool StoreQuery::next()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw m_connection.error(rc, QString::fromUtf8(sqlite3_sql(m_statement)));
}

void StoreQuery::run()
{
    while (next()) {
    }
}

QString StoreQuery::text(int column) const
{
    // The file holds UTF-8; decoding it here is cheaper than having SQLite
    // convert to UTF-16 into a buffer of its own that is then copied again.
    return QString::fromUtf8(utf8(column));
}

QByteArray StoreQuery::utf8(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QByteArray::fromRawData(data, sqlite3_column_bytes(m_statement, column));
}

qint64 StoreQuery::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::optional<ConfigValue> StoreQuery::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return std::nullopt;
    case SQLITE_INTEGER:
        return ConfigValue(qint32(integer(column)));
    default:
        return ConfigValue(text(column));
    }
}
