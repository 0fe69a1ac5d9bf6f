#include "StoreTree.h"

#include "ConfigNode.h"
#include "ConfigTransaction.h"
#include "FreeConfigTree.h"
#include "StoreConnection.h"
#include "StoreQuery.h"
#include "StoreSql.h"
#include "platform/Err.h"

#include <sqlite3.h>

namespace {

// The parent id of the root's children.
constexpr qint64 RootParentId = 0;

QByteArray childKey(QByteArrayView parent, QByteArrayView foldedName)
{
    QByteArray key;
    key.reserve(parent.size() + 1 + foldedName.size());
    if (!parent.isEmpty())
        key.append(parent).append('\\');
    return key.append(foldedName);
}

// The folded name at the end of a non-root key.
QByteArrayView foldedNameOf(QByteArrayView key)
{
    return key.sliced(key.lastIndexOf('\\') + 1);
}

// Binds the folded parent path (?1) and folded name (?2) of a non-root key.
StoreQuery &bindKey(StoreQuery &query, QByteArrayView key)
{
    // "\" is one byte in UTF-8 and never part of another character.
    const qsizetype separator = key.lastIndexOf('\\');
    if (separator < 0)
        return query.bindUtf8(1, QByteArrayView()).bindUtf8(2, key);
    return query.bindUtf8(1, key.first(separator)).bindUtf8(2, key.sliced(separator + 1));
}

// The range of a subtree's paths (see StoreSql): the key and its bounds.
class SubtreeRange
{
public:
    explicit SubtreeRange(QByteArrayView key)
        : m_key(key.toByteArray()), m_below(m_key + '\\'), m_after(m_key + ']')
    {
    }
    StoreQuery &bind(StoreQuery &query) const
    {
        return query.bindUtf8(1, m_key).bindUtf8(2, m_below).bindUtf8(3, m_after);
    }

private:
    QByteArray m_key;
    QByteArray m_below;
    QByteArray m_after;
};

void deleteBelow(StoreConnection &connection, QByteArrayView key)
{
    if (key.isEmpty()) {
        StoreQuery(connection, StoreSql::DeleteAllKeys).run();
        StoreQuery(connection, StoreSql::DeleteAllParents).run();
        return;
    }
    const SubtreeRange range(key);
    StoreQuery keys(connection, StoreSql::DeleteKeysBelow);
    range.bind(keys).run();
    StoreQuery parents(connection, StoreSql::DeleteParentsBelow);
    range.bind(parents).run();
}

std::optional<qint64> parentIdOf(StoreConnection &connection, QByteArrayView key)
{
    if (key.isEmpty())
        return RootParentId;
    StoreQuery query(connection, StoreSql::SelectParentId);
    query.bindUtf8(1, key);
    return query.next() ? std::optional<qint64>(query.integer(0)) : std::nullopt;
}

// The id under which path's children are stored. The keys on the path and
// their parents rows are made where missing, and only there.
qint64 ensureParent(StoreConnection &connection, const ConfigPath &path)
{
    if (const std::optional<qint64> id = parentIdOf(connection, path.key()))
        return *id;
    const qint64 upId = ensureParent(connection, path.parent());
    StoreQuery insert(connection, StoreSql::InsertMissing);
    insert.bind(1, upId).bindUtf8(2, foldedNameOf(path.key())).bind(3, path.name()).run();
    const qint64 id = connection.newParentId();
    StoreQuery(connection, StoreSql::InsertParent).bindUtf8(1, path.key()).bind(2, id).run();
    return id;
}

// Writes node and everything below it as the child of parentId (whose path
// is parentKey), validating what a hand-built tree might get wrong.
void insertNode(StoreConnection &connection, qint64 parentId, QByteArrayView parentKey,
                const ConfigNode &node, qint64 order, int depth)
{
    ConfigPath::validateName(node.name);
    if (depth > ConfigPath::MaxDepth)
        throw Err(
            Err::InvalidPath,
            QStringLiteral("The tree to store is deeper than %1 keys").arg(ConfigPath::MaxDepth));
    if (node.value && std::holds_alternative<QString>(*node.value) &&
        std::get<QString>(*node.value).size() > MaxValueLength)
        throw Err(Err::ValueTooLong, QStringLiteral("The value of the key \"%1\" is longer than %2 "
                                                    "characters")
                                         .arg(node.name)
                                         .arg(MaxValueLength));
    const QByteArray foldedName = ConfigPath::foldCase(node.name).toUtf8();
    {
        StoreQuery insert(connection, StoreSql::InsertKey);
        insert.bind(1, parentId).bindUtf8(2, foldedName).bind(3, node.name).bind(4, order);
        insert.bind(5, node.value).run();
    }
    if (node.children.empty())
        return;
    const QByteArray key = childKey(parentKey, foldedName);
    const qint64 id = connection.newParentId();
    StoreQuery(connection, StoreSql::InsertParent).bindUtf8(1, key).bind(2, id).run();
    qint64 childOrder = 0;
    for (const auto &child : node.children)
        insertNode(connection, id, key, *child, ++childOrder, depth + 1);
}

// Removes the child folded as foldedName and all below it; its place in
// store order when it existed.
std::optional<qint64> removeChild(StoreConnection &connection, qint64 parentId,
                                  QByteArrayView parentKey, QByteArrayView foldedName)
{
    StoreQuery query(connection, StoreSql::SelectOrder);
    query.bind(1, parentId).bindUtf8(2, foldedName);
    if (!query.next())
        return std::nullopt;
    const qint64 order = query.integer(0);
    deleteBelow(connection, childKey(parentKey, foldedName));
    StoreQuery(connection, StoreSql::DeleteOneById).bind(1, parentId).bindUtf8(2, foldedName).run();
    return order;
}

} // namespace

StoreTree::StoreTree(std::shared_ptr<StoreConnection> connection, ConfigPath prefix)
    : m_connection(std::move(connection)), m_prefix(std::move(prefix))
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
    if (key.isEmpty() || !m_connection->hasSchema())
        return std::nullopt;
    StoreQuery query(*m_connection, StoreSql::SelectValue);
    return bindKey(query, key).next() ? query.value(0) : std::nullopt;
}

void StoreTree::writeValue(const ConfigPath &path, const ConfigValue &value)
{
    const ConfigPath key = absolute(path);
    if (key.isRoot())
        throw Err(Err::InvalidPath,
                  QStringLiteral("The root of the configuration store \"%1\" holds no value")
                      .arg(m_connection->file()));
    m_connection->prepareWrite();
    // Most writes are to keys that exist: one statement, atomic on its own
    // (or part of the caller's transaction). Only a write that changed no
    // row makes the key and whatever parents it lacks.
    {
        StoreQuery update(*m_connection, StoreSql::UpdateValue);
        bindKey(update, key.key()).bind(3, value).run();
    }
    if (sqlite3_changes(m_connection->handle()) > 0)
        return;
    ConfigTransaction transaction(m_connection);
    const qint64 parentId = ensureParent(*m_connection, key.parent());
    const QByteArrayView foldedName = foldedNameOf(key.key());
    StoreQuery insert(*m_connection, StoreSql::InsertMissing);
    insert.bind(1, parentId).bindUtf8(2, foldedName).bind(3, key.name()).run();
    StoreQuery update(*m_connection, StoreSql::UpdateValueById);
    update.bind(1, parentId).bindUtf8(2, foldedName).bind(3, value).run();
    transaction.commit();
}

bool StoreTree::keyExists(const ConfigPath &path) const
{
    const QByteArrayView key = absoluteKey(path);
    if (key.isEmpty())
        return true;
    if (!m_connection->hasSchema())
        return false;
    StoreQuery query(*m_connection, StoreSql::SelectValue);
    return bindKey(query, key).next();
}

QStringList StoreTree::childNames(const ConfigPath &path) const
{
    QStringList names;
    if (!m_connection->hasSchema())
        return names;
    StoreQuery query(*m_connection, StoreSql::SelectChildNames);
    query.bindUtf8(1, absoluteKey(path));
    while (query.next())
        names.append(query.text(0));
    return names;
}

int StoreTree::childCount(const ConfigPath &path) const
{
    if (!m_connection->hasSchema())
        return 0;
    StoreQuery query(*m_connection, StoreSql::CountChildren);
    query.bindUtf8(1, absoluteKey(path)).next();
    return int(query.integer(0));
}

ConfigTreePtr StoreTree::openSubTree(const ConfigPath &path) const
{
    if (!keyExists(path))
        return nullptr;
    return std::make_shared<StoreTree>(m_connection, absolute(path));
}

void StoreTree::deleteKey(const ConfigPath &path)
{
    const ConfigPath key = absolute(path);
    ConfigTransaction transaction(m_connection);
    deleteBelow(*m_connection, key.key());
    if (!key.isRoot() && path.isRoot()) {
        // The view's own root stays, emptied.
        StoreQuery clear(*m_connection, StoreSql::UpdateValue);
        bindKey(clear, key.key()).bind(3, std::optional<ConfigValue>()).run();
    } else if (!key.isRoot()) {
        StoreQuery remove(*m_connection, StoreSql::DeleteOne);
        bindKey(remove, key.key()).run();
    }
    transaction.commit();
}

QString StoreTree::rootName() const
{
    if (m_prefix.isRoot())
        return QString();
    if (!m_connection->hasSchema())
        return m_prefix.name();
    StoreQuery query(*m_connection, StoreSql::SelectName);
    return bindKey(query, m_prefix.key()).next() ? query.text(0) : m_prefix.name();
}

void StoreTree::renameRoot(const QString &newName)
{
    if (m_prefix.isRoot())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("The root of the configuration store \"%1\" cannot be renamed")
                      .arg(m_connection->file()));
    const ConfigPath renamed = m_prefix.parent().child(newName);
    ConfigTransaction transaction(m_connection);
    if (renamed.key() != m_prefix.key()) {
        StoreQuery sibling(*m_connection, StoreSql::SelectName);
        if (bindKey(sibling, renamed.key()).next())
            throw Err(Err::InvalidArgument,
                      QStringLiteral("Cannot rename \"%1\" to \"%2\": a key of that name exists "
                                     "beside it")
                          .arg(m_prefix.toString(), newName));
        StoreQuery move(*m_connection, StoreSql::MoveBelow);
        const SubtreeRange range(m_prefix.key());
        range.bind(move).bindUtf8(4, renamed.key()).run();
    }
    const QByteArray newFoldedName = ConfigPath::foldCase(newName).toUtf8();
    StoreQuery rename(*m_connection, StoreSql::RenameKey);
    bindKey(rename, m_prefix.key()).bindUtf8(3, newFoldedName).bind(4, newName).run();
    transaction.commit();
    m_prefix = renamed;
}

void StoreTree::attachTree(const ConfigPath &parent, const FreeConfigTree &tree)
{
    replaceChild(absolute(parent), ConfigPath::foldCase(tree.RootName()), tree);
}

void StoreTree::replaceChild(const ConfigPath &parent, const QString &oldFoldedName,
                             const FreeConfigTree &tree)
{
    const QByteArray oldName = oldFoldedName.toUtf8();
    const QByteArray newName = ConfigPath::foldCase(tree.RootName()).toUtf8();
    ConfigTransaction transaction(m_connection);
    const qint64 parentId = ensureParent(*m_connection, parent);
    std::optional<qint64> order;
    if (!oldName.isEmpty())
        order = removeChild(*m_connection, parentId, parent.key(), oldName);
    const std::optional<qint64> sameNamed =
        removeChild(*m_connection, parentId, parent.key(), newName);
    if (!order)
        order = sameNamed;
    if (!order) {
        StoreQuery next(*m_connection, StoreSql::NextOrder);
        next.bind(1, parentId).next();
        order = next.integer(0);
    }
    insertNode(*m_connection, parentId, parent.key(), tree.rootNode(), *order,
               int(parent.names().size()) + 1);
    transaction.commit();
}
