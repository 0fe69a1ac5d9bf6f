#include "StoreTree.h"

#include "ConfigTransaction.h"
#include "FreeConfigTree.h"
#include "StoreBackend.h"
#include "platform/Err.h"

StoreTree::StoreTree(std::shared_ptr<StoreBackend> backend, ConfigPath prefix)
    : m_backend(std::move(backend)), m_prefix(std::move(prefix))
{
}

StoreTree::~StoreTree() = default;

QByteArrayView StoreTree::absoluteKey(const ConfigPath &path) const
{
    if (m_prefix.isRoot())
        return path.key();
    if (path.isRoot())
        return m_prefix.key();
    // Reads below a subtree build their key in one buffer, reused.
    m_keyBuffer.truncate(0);
    m_keyBuffer.append(m_prefix.key()).append('\\').append(path.key());
    return m_keyBuffer;
}

std::optional<ConfigValue> StoreTree::readValue(const ConfigPath &path) const
{
    const QByteArrayView key = absoluteKey(path);
    if (key.isEmpty())
        return std::nullopt;
    return m_backend->value(key);
}

void StoreTree::writeValue(const ConfigPath &path, const ConfigValue &value)
{
    const ConfigPath key = absolute(path);
    if (key.isRoot())
        throw Err(Err::InvalidPath,
                  QStringLiteral("The root of the configuration store \"%1\" holds no value")
                      .arg(m_backend->name()));
    m_backend->write(key, value);
}

bool StoreTree::keyExists(const ConfigPath &path) const
{
    const QByteArrayView key = absoluteKey(path);
    return key.isEmpty() || m_backend->exists(key);
}

QStringList StoreTree::childNames(const ConfigPath &path) const
{
    return m_backend->childNames(absoluteKey(path));
}

int StoreTree::childCount(const ConfigPath &path) const
{
    return m_backend->childCount(absoluteKey(path));
}

ConfigTreePtr StoreTree::openSubTree(const ConfigPath &path) const
{
    if (!keyExists(path))
        return nullptr;
    return std::make_shared<StoreTree>(m_backend, absolute(path));
}

void StoreTree::deleteKey(const ConfigPath &path)
{
    // A view's own root stays, emptied.
    m_backend->removeBelow(absolute(path), path.isRoot());
}

QString StoreTree::rootName() const
{
    if (m_prefix.isRoot())
        return QString();
    return m_backend->storedName(m_prefix.key()).value_or(m_prefix.name());
}

void StoreTree::renameRoot(const QString &newName)
{
    if (m_prefix.isRoot())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("The root of the configuration store \"%1\" cannot be renamed")
                      .arg(m_backend->name()));
    const ConfigPath renamed = m_prefix.parent().child(newName);
    m_backend->rename(m_prefix, renamed);
    m_prefix = renamed;
}

void StoreTree::attachTree(const ConfigPath &parent, const FreeConfigTree &tree)
{
    m_backend->replaceChild(absolute(parent), ConfigPath::foldCase(tree.RootName()), tree);
}
