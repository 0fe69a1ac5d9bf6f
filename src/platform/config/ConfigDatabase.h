#pragma once

#include "ConfigTransaction.h"
#include "StoreTree.h"

// The persistent store, absolute paths: a SQLite file, or a PostgreSQL
// database that many workstations share when the store's name is a libpq
// URI (postgresql://... or postgres://...; the tables are in the schema
// "kivo" unless the URI's options say "-c kivo.schema=name"). A name with
// any other scheme:// is refused. Cheap to create: every ConfigDatabase on
// the same store in one thread shares one connection.
//
// The store is, in this order: the one given to the constructor, the
// platform value "ConfigStoreFile" set by the host, the environment variable
// KIVO_STORE, or "kivo/config.db" under the user's data folder
// ($XDG_DATA_HOME, else ~/.local/share). Reading never writes: a missing or
// empty file reads as an empty store and is left as it is; the first write
// creates the file, its folder and the store in it. A file that is not a
// store, or cannot be opened, throws Err. A store of an earlier format is
// upgraded when a process that may write it opens it; one that may only
// read it throws StoreReadOnly saying so.
//
// Two processes may use one store side by side: a writer that finds the
// store busy waits for the other instead of failing. On PostgreSQL, a call
// after the connection was lost connects again; one that cannot reach the
// server throws StoreFailure.
class ConfigDatabase : public StoreTree
{
public:
    ConfigDatabase();
    explicit ConfigDatabase(const QString &file);
    ~ConfigDatabase() override;

    static QString defaultFile();
    // The file or URI that opens this store again: pass it on, never show
    // it (a URI may hold a password). displayName() is for people and logs.
    QString file() const;
    QString displayName() const;
    // Whether the store exists: false for a missing or empty file, or a
    // database without the store's schema.
    bool hasStore() const;

    // The platform values "CurrUser", "CorvalisRoot", "CurrMachine" (and
    // "ConfigStoreFile"): as the host set them in the platform runtime, else
    // from the environment (KIVO_CURR_USER, KIVO_CORVALIS_ROOT,
    // KIVO_CURR_MACHINE, KIVO_STORE); "" when not set.
    static QString GlobalValue(const QString &name);

    // ConfigStore: a consistent in-memory copy of the whole subtree, null
    // when the path does not exist. Its root carries the key's name.
    std::shared_ptr<FreeConfigTree> LoadTree(const QString &path) const;
    // Replaces the subtree named oldTree's root name below parentPath by
    // newTree (stored under newTree's root name, in the old one's place), in
    // one transaction. Without such a subtree, newTree is simply attached.
    void SwapTree(const FreeConfigTree &newTree, const ConfigTree &oldTree,
                  const QString &parentPath);

    // Makes every write until commit() one change; without commit() the
    // writes are rolled back when the scope ends. Scopes nest.
    ConfigTransaction transaction();
};
