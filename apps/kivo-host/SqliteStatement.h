#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement of the records database, finalised on scope exit.
// Every failure throws std::runtime_error with SQLite's own message.
class SqliteStatement
{
public:
    SqliteStatement(sqlite3 *db, const char *sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    SqliteStatement &bind(int index, const QString &text);
    SqliteStatement &bind(int index, qint64 number);
    // The next row; false when there is none.
    bool next();
    // Runs a statement that returns no rows, then makes it ready to run again.
    void run();

    QString text(int column) const;
    qint64 integer(int column) const;

    // Runs SQL without parameters or results (schema, transactions).
    static void execute(sqlite3 *db, const char *sql);

private:
    [[noreturn]] void fail(const char *what) const;

    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
};
