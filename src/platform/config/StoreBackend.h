#pragma once

#include "ConfigPath.h"
#include "ConfigValue.h"

#include <QStringList>

#include <memory>
#include <optional>

class Err;
class FreeConfigTree;
struct ConfigNode;

// What a persistent store does on its connection, below the tree views
// (StoreTree, ConfigDatabase) that validate paths and keep prefixes. Keys
// are absolute folded keys (ConfigPath::key()); reads take a key other than
// the root's. Internal to the store.
//
// open() chooses the backend by the store's name: a libpq URI
// (postgresql:// or postgres://) is a PostgreSQL database, any other
// scheme:// is refused, anything else is a SQLite file. Every backend on the
// same store in one thread shares one connection, so a transaction on one
// store object takes in the writes through every other.
class StoreBackend : public std::enable_shared_from_this<StoreBackend>
{
public:
    // Throws Err StoreOpen for a name of an unknown scheme, and whatever
    // opening the backend throws.
    static std::shared_ptr<StoreBackend> open(const QString &store);
    virtual ~StoreBackend() = default;

    // The store's name as it may be shown: a file, or a URI without password.
    virtual QString name() const = 0;
    // The name that opens this store again (with a URI's password).
    virtual QString location() const = 0;
    // Whether the store exists (reading a missing one reads nothing).
    virtual bool hasStore() = 0;

    virtual std::optional<ConfigValue> value(QByteArrayView key) = 0;
    virtual bool exists(QByteArrayView key) = 0;
    // The key's name as stored; nullopt when it does not exist.
    virtual std::optional<QString> storedName(QByteArrayView key) = 0;
    virtual QStringList childNames(QByteArrayView key) = 0;
    virtual int childCount(QByteArrayView key) = 0;

    // Writes the value of a non-root key, making it and its missing parents.
    virtual void write(const ConfigPath &key, const ConfigValue &value) = 0;
    // Removes everything below key, and key itself unless keepKey (then only
    // its value goes). On the root every key goes.
    virtual void removeBelow(const ConfigPath &key, bool keepKey) = 0;
    // Gives the non-root key the path renamed (a sibling's name), with
    // everything below it. Throws InvalidArgument when that name is taken.
    virtual void rename(const ConfigPath &key, const ConfigPath &renamed) = 0;
    // Stores tree below parent in one transaction, in the place of the child
    // folded as oldFoldedName (or at the end), replacing a child of the
    // tree's own name.
    virtual void replaceChild(const ConfigPath &parent, const QString &oldFoldedName,
                              const FreeConfigTree &tree) = 0;
    // A consistent copy of the subtree at key; null when it does not exist.
    virtual std::shared_ptr<FreeConfigTree> load(const ConfigPath &key) = 0;

    // Write transactions nest; each begin returns its level.
    virtual int beginWrite() = 0;
    virtual void commitWrite(int level) = 0;
    virtual void rollbackWrite(int level) noexcept = 0;

    // Throws Err when a node of a tree to store has a bad name or value, or
    // lies deeper than a path may go.
    static void validateNode(const ConfigNode &node, int depth);
    // The error of a rename to a name a sibling has.
    static Err nameTaken(const ConfigPath &key, const ConfigPath &renamed);
};
