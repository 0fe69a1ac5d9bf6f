#pragma once

#include <QString>

#include <memory>
#include <string>
#include <unordered_map>

#include <sys/types.h>

struct sqlite3;
struct sqlite3_stmt;
class Err;

// The SQLite connection behind every store object on one file in one thread:
// opening and checking the file, the cache of prepared statements and the
// nesting of write transactions. Internal to the store.
class StoreConnection
{
public:
    // The shared connection to file (created with its folder when missing).
    // Throws Err StoreOpen, NotAStore or StoreFailure.
    static std::shared_ptr<StoreConnection> open(const QString &file);
    ~StoreConnection();
    StoreConnection(const StoreConnection &) = delete;
    StoreConnection &operator=(const StoreConnection &) = delete;

    const QString &file() const { return m_file; }
    bool isReadOnly() const { return m_readOnly; }
    sqlite3 *handle() const { return m_db; }

    // A prepared statement for sql, kept for the connection's life.
    sqlite3_stmt *statement(const char *sql);
    void execute(const char *sql);

    // Write transactions nest: the outermost is BEGIN IMMEDIATE (taking the
    // write lock at once, so two writers queue instead of deadlocking on a
    // lock upgrade), inner ones are savepoints. Each returns its level.
    int beginWrite();
    void commitWrite(int level);
    void rollbackWrite(int level) noexcept;
    bool inTransaction() const;

    // The error for a failed SQLite call, naming what was done and the file.
    Err error(int code, const QString &action) const;

private:
    StoreConnection(QString file, sqlite3 *db);
    void checkIdentity();
    void createSchema();

    QString m_file;
    sqlite3 *m_db;
    pid_t m_pid;
    bool m_readOnly = false;
    int m_depth = 0;
    std::unordered_map<std::string, sqlite3_stmt *> m_statements;
};
