#pragma once

#include "ConfigTree.h"

class StoreBackend;

// A live view of the persistent store below one key (the prefix). Paths are
// relative to the prefix; reads and writes go straight to the store. The
// store itself is the view with the empty prefix (ConfigDatabase).
class StoreTree : public ConfigTree
{
public:
    StoreTree(std::shared_ptr<StoreBackend> backend, ConfigPath prefix);
    ~StoreTree() override;

    const ConfigPath &prefix() const { return m_prefix; }

protected:
    std::optional<ConfigValue> readValue(const ConfigPath &path) const override;
    void writeValue(const ConfigPath &path, const ConfigValue &value) override;
    bool keyExists(const ConfigPath &path) const override;
    QStringList childNames(const ConfigPath &path) const override;
    int childCount(const ConfigPath &path) const override;
    ConfigTreePtr openSubTree(const ConfigPath &path) const override;
    void deleteKey(const ConfigPath &path) override;
    QString rootName() const override;
    // Renames the key in the store, with everything below it.
    void renameRoot(const QString &newName) override;
    void attachTree(const ConfigPath &parent, const FreeConfigTree &tree) override;

    ConfigPath absolute(const ConfigPath &path) const { return m_prefix.joined(path); }
    // The absolute key (ConfigPath::key) of path, without building a path:
    // valid until the next call.
    QByteArrayView absoluteKey(const ConfigPath &path) const;

    std::shared_ptr<StoreBackend> m_backend;
    ConfigPath m_prefix;

private:
    mutable QByteArray m_keyBuffer;
};
