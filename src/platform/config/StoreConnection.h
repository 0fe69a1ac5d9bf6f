#pragma once

#include <QString>

#include <memory>
#include <unordered_map>

#include <sys/types.h>

struct sqlite3;
struct sqlite3_stmt;
class Err;

// The SQLite connection behind every store object on one file in one thread:
// opening and checking the file, the cache of prepared statements and the
// nesting of write transactions. Internal to the store.
//
// Reading never writes: opening a missing file creates nothing, and a file
// without a store (missing or empty) reads as an empty store. The first
// write creates the folder, the file and the schema. A file of an earlier
// format is upgraded when a connection that may write it opens it.
class StoreConnection
{
public:
    // The shared connection to file. Throws Err StoreOpen, NotAStore,
    // StoreReadOnly (an earlier format it may not upgrade) or StoreFailure.
    static std::shared_ptr<StoreConnection> open(const QString &file);
    ~StoreConnection();
    StoreConnection(const StoreConnection &) = delete;
    StoreConnection &operator=(const StoreConnection &) = delete;

    const QString &file() const { return m_file; }
    bool isReadOnly() const { return m_readOnly; }
    // Null while the file does not exist.
    sqlite3 *handle() const { return m_db; }

    // Whether there is a store to read; until there is, the file is looked
    // at again on every call, as another process may create it.
    bool hasSchema() { return m_hasSchema || recheckSchema(); }
    // Makes sure a write can go ahead: creates the store when it is missing.
    // Throws StoreReadOnly when the file cannot be written.
    void prepareWrite();

    // A statement prepared once and kept for the connection's life. sql must
    // be a string literal: the cache is keyed by its address.
    sqlite3_stmt *statement(const char *sql);
    // Runs a statement that returns no rows, prepared once (a literal too).
    void run(const char *sql);
    // Runs sql (any number of statements) once, unprepared.
    void execute(const char *sql);

    // Write transactions nest: the outermost is BEGIN IMMEDIATE (taking the
    // write lock at once, so two writers queue instead of deadlocking on a
    // lock upgrade), inner ones are savepoints. Each returns its level.
    int beginWrite();
    void commitWrite(int level);
    void rollbackWrite(int level) noexcept;
    bool inTransaction() const { return m_depth > 0; }
    // A fresh id for a new parents row; inside a write transaction only.
    // Ids are counted in memory and the count stored once, at the commit.
    qint64 newParentId();

    // The error for a failed SQLite call, naming what was done and the file.
    Err error(int code, const QString &action) const;

private:
    explicit StoreConnection(QString file);
    void connect(bool create);
    void openHandle(bool create, bool immutable);
    void closeHandle();
    int pragma(const char *sql);
    bool recheckSchema();
    void checkIdentity();
    void createSchema();
    void upgradeSchema();
    void storeNextParentId();

    QString m_file;
    sqlite3 *m_db = nullptr;
    pid_t m_pid;
    bool m_readOnly = false;
    bool m_hasSchema = false;
    int m_depth = 0;
    qint64 m_nextParentId = 0; // 0 while no id was taken in this transaction
    std::unordered_map<const char *, sqlite3_stmt *> m_statements;
};
