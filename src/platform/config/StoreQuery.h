#pragma once

#include "ConfigValue.h"

#include <QByteArray>

#include <optional>

class StoreConnection;
struct sqlite3_stmt;

// One run of a cached statement: binds, steps, reads columns, and resets the
// statement when it goes out of scope so it can be used again.
class StoreQuery
{
public:
    StoreQuery(StoreConnection &connection, const char *sql);
    ~StoreQuery();
    StoreQuery(const StoreQuery &) = delete;
    StoreQuery &operator=(const StoreQuery &) = delete;

    // Text is bound as UTF-8, the file's own encoding.
    StoreQuery &bind(int index, const QString &text);
    // Bound without a copy: the bytes must outlive the query.
    StoreQuery &bindUtf8(int index, QByteArrayView text);
    StoreQuery &bind(int index, qint64 number);
    StoreQuery &bind(int index, const std::optional<ConfigValue> &value);

    // The next row; false when there is none.
    bool next();
    // Runs a statement that returns no rows.
    void run();

    QString text(int column) const;
    // The column's UTF-8 bytes as SQLite holds them, not copied: valid
    // until the next step only.
    QByteArray utf8(int column) const;
    qint64 integer(int column) const;
    std::optional<ConfigValue> value(int column) const;

private:
    StoreConnection &m_connection;
    sqlite3_stmt *m_statement;
};
