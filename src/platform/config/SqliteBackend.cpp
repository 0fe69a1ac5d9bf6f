#include "SqliteBackend.h"

#include "ConfigNode.h"
#include "ConfigTransaction.h"
#include "FreeConfigTree.h"
#include "StoreConnection.h"
#include "StoreQuery.h"
#include "StoreSql.h"
#include "SubtreeBuilder.h"
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

// Reads of several statements see one state of the file; inside a write
// transaction they already do.
class ReadSnapshot
{
public:
    explicit ReadSnapshot(StoreConnection &connection)
        : m_connection(connection), m_own(sqlite3_get_autocommit(connection.handle()) != 0)
    {
        if (m_own)
            m_connection.run(StoreSql::Begin);
    }
    ~ReadSnapshot()
    {
        if (!m_own)
            return;
        try {
            m_connection.run(StoreSql::Commit);
        } catch (const Err &) {
            // Ending a read cannot lose anything.
        }
    }

private:
    StoreConnection &m_connection;
    bool m_own;
};

// Writes node and everything below it as the child of parentId (whose path
// is parentKey), validating what a hand-built tree might get wrong.
void insertNode(StoreConnection &connection, qint64 parentId, QByteArrayView parentKey,
                const ConfigNode &node, qint64 order, int depth)
{
    StoreBackend::validateNode(node, depth);
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

SqliteBackend::SqliteBackend(std::shared_ptr<StoreConnection> connection)
    : m_connection(std::move(connection))
{
}

SqliteBackend::~SqliteBackend() = default;

QString SqliteBackend::name() const
{
    return m_connection->file();
}

QString SqliteBackend::location() const
{
    return m_connection->file();
}

bool SqliteBackend::hasStore()
{
    return m_connection->hasSchema();
}

std::optional<ConfigValue> SqliteBackend::value(QByteArrayView key)
{
    if (!m_connection->hasSchema())
        return std::nullopt;
    StoreQuery query(*m_connection, StoreSql::SelectValue);
    return bindKey(query, key).next() ? query.value(0) : std::nullopt;
}

bool SqliteBackend::exists(QByteArrayView key)
{
    if (!m_connection->hasSchema())
        return false;
    StoreQuery query(*m_connection, StoreSql::SelectValue);
    return bindKey(query, key).next();
}

std::optional<QString> SqliteBackend::storedName(QByteArrayView key)
{
    if (!m_connection->hasSchema())
        return std::nullopt;
    StoreQuery query(*m_connection, StoreSql::SelectName);
    return bindKey(query, key).next() ? std::optional<QString>(query.text(0)) : std::nullopt;
}

QStringList SqliteBackend::childNames(QByteArrayView key)
{
    QStringList names;
    if (!m_connection->hasSchema())
        return names;
    StoreQuery query(*m_connection, StoreSql::SelectChildNames);
    query.bindUtf8(1, key);
    while (query.next())
        names.append(query.text(0));
    return names;
}

int SqliteBackend::childCount(QByteArrayView key)
{
    if (!m_connection->hasSchema())
        return 0;
    StoreQuery query(*m_connection, StoreSql::CountChildren);
    query.bindUtf8(1, key).next();
    return int(query.integer(0));
}

void SqliteBackend::write(const ConfigPath &key, const ConfigValue &value)
{
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
    ConfigTransaction transaction(shared_from_this());
    const qint64 parentId = ensureParent(*m_connection, key.parent());
    const QByteArrayView foldedName = foldedNameOf(key.key());
    StoreQuery insert(*m_connection, StoreSql::InsertMissing);
    insert.bind(1, parentId).bindUtf8(2, foldedName).bind(3, key.name()).run();
    StoreQuery update(*m_connection, StoreSql::UpdateValueById);
    update.bind(1, parentId).bindUtf8(2, foldedName).bind(3, value).run();
    transaction.commit();
}

void SqliteBackend::removeBelow(const ConfigPath &key, bool keepKey)
{
    ConfigTransaction transaction(shared_from_this());
    deleteBelow(*m_connection, key.key());
    if (!key.isRoot() && keepKey) {
        StoreQuery clear(*m_connection, StoreSql::UpdateValue);
        bindKey(clear, key.key()).bind(3, std::optional<ConfigValue>()).run();
    } else if (!key.isRoot()) {
        StoreQuery remove(*m_connection, StoreSql::DeleteOne);
        bindKey(remove, key.key()).run();
    }
    transaction.commit();
}

void SqliteBackend::rename(const ConfigPath &key, const ConfigPath &renamed)
{
    ConfigTransaction transaction(shared_from_this());
    if (renamed.key() != key.key()) {
        StoreQuery sibling(*m_connection, StoreSql::SelectName);
        if (bindKey(sibling, renamed.key()).next())
            throw nameTaken(key, renamed);
        StoreQuery move(*m_connection, StoreSql::MoveBelow);
        const SubtreeRange range(key.key());
        range.bind(move).bindUtf8(4, renamed.key()).run();
    }
    const QByteArray newFoldedName = ConfigPath::foldCase(renamed.name()).toUtf8();
    StoreQuery rename(*m_connection, StoreSql::RenameKey);
    bindKey(rename, key.key()).bindUtf8(3, newFoldedName).bind(4, renamed.name()).run();
    transaction.commit();
}

void SqliteBackend::replaceChild(const ConfigPath &parent, const QString &oldFoldedName,
                                 const FreeConfigTree &tree)
{
    const QByteArray oldName = oldFoldedName.toUtf8();
    const QByteArray newName = ConfigPath::foldCase(tree.RootName()).toUtf8();
    ConfigTransaction transaction(shared_from_this());
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

std::shared_ptr<FreeConfigTree> SqliteBackend::load(const ConfigPath &key)
{
    auto tree = std::make_shared<FreeConfigTree>();
    if (!m_connection->hasSchema())
        return key.isRoot() ? tree : nullptr;
    ReadSnapshot snapshot(*m_connection);
    if (!key.isRoot()) {
        StoreQuery root(*m_connection, StoreSql::SelectNameAndValue);
        if (!bindKey(root, key.key()).next())
            return nullptr;
        tree->rootNode().name = root.text(0);
        tree->rootNode().value = root.value(1);
    }
    StoreQuery rows(*m_connection, key.isRoot() ? StoreSql::SelectAll : StoreSql::SelectBelow);
    const SubtreeRange range(key.key());
    if (!key.isRoot())
        range.bind(rows);
    SubtreeBuilder builder(key.key(), tree->rootNode());
    while (rows.next()) {
        if (builder.enterGroup(rows.utf8(0)))
            builder.add(rows.integer(1), rows.text(2), rows.value(3));
    }
    builder.finish();
    return tree;
}

int SqliteBackend::beginWrite()
{
    return m_connection->beginWrite();
}

void SqliteBackend::commitWrite(int level)
{
    m_connection->commitWrite(level);
}

void SqliteBackend::rollbackWrite(int level) noexcept
{
    m_connection->rollbackWrite(level);
}
