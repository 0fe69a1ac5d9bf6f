#include "StoreTree.h"

#include "ConfigNode.h"
#include "ConfigTransaction.h"
#include "FreeConfigTree.h"
#include "StoreConnection.h"
#include "StoreQuery.h"
#include "platform/Err.h"

#include <sqlite3.h>

namespace {

constexpr const char *SelectValue = "SELECT value FROM keys WHERE parent = ?1 AND fname = ?2";
constexpr const char *SelectName = "SELECT name FROM keys WHERE parent = ?1 AND fname = ?2";
constexpr const char *SelectOrder = "SELECT ord FROM keys WHERE parent = ?1 AND fname = ?2";
constexpr const char *SelectChildNames = "SELECT name FROM keys WHERE parent = ?1 ORDER BY ord";
constexpr const char *CountChildren = "SELECT count(*) FROM keys WHERE parent = ?1";
constexpr const char *NextOrder = "SELECT coalesce(max(ord), 0) + 1 FROM keys WHERE parent = ?1";
constexpr const char *UpdateValue = "UPDATE keys SET value = ?3 WHERE parent = ?1 AND fname = ?2";
constexpr const char *InsertMissing =
    "INSERT INTO keys (parent, fname, name, ord) "
    "SELECT ?1, ?2, ?3, coalesce(max(ord), 0) + 1 FROM keys WHERE parent = ?1 "
    "ON CONFLICT (parent, fname) DO NOTHING";
constexpr const char *InsertKey =
    "INSERT INTO keys (parent, fname, name, ord, value) VALUES (?1, ?2, ?3, ?4, ?5)";
constexpr const char *DeleteOne = "DELETE FROM keys WHERE parent = ?1 AND fname = ?2";
// Everything below the key whose folded path is ?1; ?2 and ?3 are ?1 + "\"
// and ?1 + "]", the bounds of its descendants' parent paths.
constexpr const char *DeleteBelow =
    "DELETE FROM keys WHERE parent = ?1 OR (parent >= ?2 AND parent < ?3)";
constexpr const char *DeleteAll = "DELETE FROM keys";
constexpr const char *RenameKey =
    "UPDATE keys SET fname = ?3, name = ?4 WHERE parent = ?1 AND fname = ?2";
constexpr const char *MoveBelow = "UPDATE keys SET parent = ?4 || substr(parent, length(?1) + 1) "
                                  "WHERE parent = ?1 OR (parent >= ?2 AND parent < ?3)";

QString childPath(const QString &parent, const QString &foldedName)
{
    return parent.isEmpty() ? foldedName : parent + QLatin1Char('\\') + foldedName;
}

// Binds the folded parent path and folded name of a (non-root) key.
StoreQuery &bindKey(StoreQuery &query, const ConfigPath &path)
{
    return query.bind(1, path.parent().folded()).bind(2, ConfigPath::foldCase(path.name()));
}

StoreQuery &bindBelow(StoreQuery &query, const QString &folded)
{
    return query.bind(1, folded)
        .bind(2, folded + QLatin1Char('\\'))
        .bind(3, folded + QLatin1Char(']'));
}

void deleteBelow(StoreConnection &connection, const QString &folded)
{
    StoreQuery query(connection, folded.isEmpty() ? DeleteAll : DeleteBelow);
    if (!folded.isEmpty())
        bindBelow(query, folded);
    query.run();
}

void ensureKey(StoreConnection &connection, const ConfigPath &path)
{
    ConfigPath key;
    for (const QString &name : path.names()) {
        key = key.child(name);
        StoreQuery insert(connection, InsertMissing);
        bindKey(insert, key).bind(3, name).run();
    }
}

// Writes node and everything below it as the key folded as
// parent\<node's name>, validating what a hand-built tree might get wrong.
void insertNode(StoreConnection &connection, const QString &parent, const ConfigNode &node,
                qint64 order, int depth)
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
    const QString folded = ConfigPath::foldCase(node.name);
    {
        StoreQuery insert(connection, InsertKey);
        insert.bind(1, parent).bind(2, folded).bind(3, node.name).bind(4, order);
        insert.bind(5, node.value).run();
    }
    const QString path = childPath(parent, folded);
    qint64 childOrder = 0;
    for (const auto &child : node.children)
        insertNode(connection, path, *child, ++childOrder, depth + 1);
}

std::optional<qint64> orderOf(StoreConnection &connection, const QString &parent,
                              const QString &foldedName)
{
    StoreQuery query(connection, SelectOrder);
    query.bind(1, parent).bind(2, foldedName);
    return query.next() ? std::optional<qint64>(query.integer(0)) : std::nullopt;
}

// Removes the child folded as foldedName and all below it; its place in
// store order when it existed.
std::optional<qint64> removeChild(StoreConnection &connection, const QString &parent,
                                  const QString &foldedName)
{
    const std::optional<qint64> order = orderOf(connection, parent, foldedName);
    if (order) {
        deleteBelow(connection, childPath(parent, foldedName));
        StoreQuery(connection, DeleteOne).bind(1, parent).bind(2, foldedName).run();
    }
    return order;
}

} // namespace

StoreTree::StoreTree(std::shared_ptr<StoreConnection> connection, ConfigPath prefix)
    : m_connection(std::move(connection)), m_prefix(std::move(prefix))
{
}

StoreTree::~StoreTree() = default;

std::optional<ConfigValue> StoreTree::readValue(const ConfigPath &path) const
{
    const ConfigPath key = absolute(path);
    if (key.isRoot())
        return std::nullopt;
    StoreQuery query(*m_connection, SelectValue);
    return bindKey(query, key).next() ? query.value(0) : std::nullopt;
}

void StoreTree::writeValue(const ConfigPath &path, const ConfigValue &value)
{
    const ConfigPath key = absolute(path);
    if (key.isRoot())
        throw Err(Err::InvalidPath,
                  QStringLiteral("The root of the configuration store \"%1\" holds no value")
                      .arg(m_connection->file()));
    ConfigTransaction transaction(m_connection);
    // Most writes are to keys that exist: only a write that changed no row
    // makes the key and its parents, one statement per path level.
    StoreQuery update(*m_connection, UpdateValue);
    bindKey(update, key).bind(3, value).run();
    if (sqlite3_changes(m_connection->handle()) == 0) {
        ensureKey(*m_connection, key);
        StoreQuery insert(*m_connection, UpdateValue);
        bindKey(insert, key).bind(3, value).run();
    }
    transaction.commit();
}

bool StoreTree::keyExists(const ConfigPath &path) const
{
    const ConfigPath key = absolute(path);
    if (key.isRoot())
        return true;
    StoreQuery query(*m_connection, SelectValue);
    return bindKey(query, key).next();
}

QStringList StoreTree::childNames(const ConfigPath &path) const
{
    StoreQuery query(*m_connection, SelectChildNames);
    query.bind(1, absolute(path).folded());
    QStringList names;
    while (query.next())
        names.append(query.text(0));
    return names;
}

int StoreTree::childCount(const ConfigPath &path) const
{
    StoreQuery query(*m_connection, CountChildren);
    query.bind(1, absolute(path).folded()).next();
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
    deleteBelow(*m_connection, key.folded());
    if (!key.isRoot() && path.isRoot()) {
        // The view's own root stays, emptied.
        StoreQuery clear(*m_connection, UpdateValue);
        bindKey(clear, key).bind(3, std::optional<ConfigValue>()).run();
    } else if (!key.isRoot()) {
        StoreQuery remove(*m_connection, DeleteOne);
        bindKey(remove, key).run();
    }
    transaction.commit();
}

QString StoreTree::rootName() const
{
    if (m_prefix.isRoot())
        return QString();
    StoreQuery query(*m_connection, SelectName);
    return bindKey(query, m_prefix).next() ? query.text(0) : m_prefix.name();
}

void StoreTree::renameRoot(const QString &newName)
{
    if (m_prefix.isRoot())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("The root of the configuration store \"%1\" cannot be renamed")
                      .arg(m_connection->file()));
    const ConfigPath renamed = m_prefix.parent().child(newName);
    const QString oldFolded = m_prefix.folded();
    const QString newFolded = renamed.folded();
    ConfigTransaction transaction(m_connection);
    if (newFolded != oldFolded) {
        StoreQuery sibling(*m_connection, SelectName);
        if (bindKey(sibling, renamed).next())
            throw Err(Err::InvalidArgument,
                      QStringLiteral("Cannot rename \"%1\" to \"%2\": a key of that name exists "
                                     "beside it")
                          .arg(m_prefix.toString(), newName));
        StoreQuery move(*m_connection, MoveBelow);
        bindBelow(move, oldFolded).bind(4, newFolded).run();
    }
    StoreQuery rename(*m_connection, RenameKey);
    bindKey(rename, m_prefix).bind(3, ConfigPath::foldCase(newName)).bind(4, newName).run();
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
    const QString folded = parent.folded();
    const QString newFoldedName = ConfigPath::foldCase(tree.RootName());
    ConfigTransaction transaction(m_connection);
    ensureKey(*m_connection, parent);
    std::optional<qint64> order;
    if (!oldFoldedName.isEmpty())
        order = removeChild(*m_connection, folded, oldFoldedName);
    const std::optional<qint64> sameNamed = removeChild(*m_connection, folded, newFoldedName);
    if (!order)
        order = sameNamed;
    if (!order) {
        StoreQuery next(*m_connection, NextOrder);
        next.bind(1, folded).next();
        order = next.integer(0);
    }
    insertNode(*m_connection, folded, tree.rootNode(), *order, int(parent.names().size()) + 1);
    transaction.commit();
}
