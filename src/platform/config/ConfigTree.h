#pragma once

#include "ConfigPath.h"
#include "ConfigValue.h"
#include "KeyNameList.h"

#include <memory>
#include <optional>

class ConfigTree;
class FreeConfigTree;
using ConfigTreePtr = std::shared_ptr<ConfigTree>;

// A hierarchical tree of named keys; a key may hold a value and child keys.
// Paths are key names joined by "\" relative to this tree's root; "" is the
// root itself. Absent data is never an error: an absent string reads as "",
// an absent integer as -1, an absent subtree as null. Malformed paths and
// failures of the storage throw Err.
//
// The public operations are the ones every caller uses; a backend implements
// the protected primitives on validated paths.
class ConfigTree
{
public:
    virtual ~ConfigTree() = default;

    // An integer value reads as its decimal text.
    QString ReadString(const QString &path) const;
    // A string value that is not a whole number in 32-bit range reads as absent.
    qint32 ReadLong(const QString &path) const;
    QString ReadStringOr(const QString &path, const QString &defaultValue) const;
    qint32 ReadLongOr(const QString &path, qint32 defaultValue) const;
    std::optional<ConfigValue> ReadValue(const QString &path) const;

    // Missing keys on the path are created. Each call is atomic.
    void WriteString(const QString &path, const QString &value);
    void WriteLong(const QString &path, qint32 value);

    ConfigTreePtr OpenSubTree(const QString &path) const;
    int ChildCount(const QString &path) const;
    // Null when the index is out of range.
    ConfigTreePtr ChildAt(const QString &path, int index) const;
    KeyNameList ChildNames(const QString &path) const;
    bool KeyExists(const QString &path) const;
    // The key and everything below it; nothing when absent. On "" every
    // child and the root's value are removed.
    void DeleteKey(const QString &path);

    // The name of this tree's root key ("" for a store's or a new tree's root).
    QString RootName() const;
    // Renames the root when its name is oldName (ASCII case ignored);
    // otherwise nothing happens.
    void RenameRoot(const QString &oldName, const QString &newName);
    // Stores a copy of tree below parentPath under the tree's root name,
    // replacing a child of that name, in one step.
    void AttachTree(const QString &parentPath, const FreeConfigTree &tree);

protected:
    virtual std::optional<ConfigValue> readValue(const ConfigPath &path) const = 0;
    virtual void writeValue(const ConfigPath &path, const ConfigValue &value) = 0;
    virtual bool keyExists(const ConfigPath &path) const = 0;
    virtual QStringList childNames(const ConfigPath &path) const = 0;
    virtual int childCount(const ConfigPath &path) const { return int(childNames(path).size()); }
    // Null when the key does not exist.
    virtual ConfigTreePtr openSubTree(const ConfigPath &path) const = 0;
    virtual void deleteKey(const ConfigPath &path) = 0;
    virtual QString rootName() const = 0;
    virtual void renameRoot(const QString &newName) = 0;
    virtual void attachTree(const ConfigPath &parent, const FreeConfigTree &tree) = 0;
};
