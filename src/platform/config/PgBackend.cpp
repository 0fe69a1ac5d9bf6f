#include "PgBackend.h"

#include "ConfigNode.h"
#include "ConfigTransaction.h"
#include "FreeConfigTree.h"
#include "PgConnection.h"
#include "PgSql.h"
#include "SubtreeBuilder.h"
#include "platform/Err.h"

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

// The folded parent path ($1) and folded name ($2) of a non-root key.
PgParams keyParams(QByteArrayView key)
{
    const qsizetype separator = key.lastIndexOf('\\');
    if (separator < 0)
        return PgParams().text(QByteArrayView("")).text(key);
    return PgParams().text(key.first(separator)).text(key.sliced(separator + 1));
}

// The range of a subtree's paths ($1 to $3, see PgSql).
PgParams rangeParams(QByteArrayView key)
{
    const QByteArray path = key.toByteArray();
    return PgParams().text(path).text(path + '\\').text(path + ']');
}

void deleteBelow(PgConnection &connection, QByteArrayView key)
{
    if (key.isEmpty()) {
        connection.run(PgSql::DeleteAllKeys);
        connection.run(PgSql::DeleteAllParents);
        return;
    }
    connection.run(PgSql::DeleteKeysBelow, rangeParams(key));
    connection.run(PgSql::DeleteParentsBelow, rangeParams(key));
}

// The id under which path's children are stored; the keys on the path and
// their parents rows are made where missing, and only there.
qint64 ensureParent(PgConnection &connection, const ConfigPath &path)
{
    if (path.isRoot())
        return RootParentId;
    const PgResult found = connection.run(PgSql::SelectParentId, PgParams().text(path.key()));
    if (found.rows() > 0)
        return found.integer(0, 0);
    const qint64 upId = ensureParent(connection, path.parent());
    const QByteArray foldedName = ConfigPath::foldCase(path.name()).toUtf8();
    connection.run(PgSql::InsertMissing,
                   PgParams().number(upId).text(foldedName).string(path.name()));
    return connection.run(PgSql::InsertParent, PgParams().text(path.key())).integer(0, 0);
}

// The rows of a tree to store, gathered so that each table takes them in
// one statement.
class TreeRows
{
public:
    // Adds node and everything below it as the child of the parent whose
    // rows are at parentIndex (-1: the given id) and whose path is parentKey.
    void add(const ConfigNode &node, QByteArrayView parentKey, int parentIndex, qint64 order,
             int depth)
    {
        StoreBackend::validateNode(node, depth);
        const QByteArray foldedName = ConfigPath::foldCase(node.name).toUtf8();
        const QString *text = node.value ? std::get_if<QString>(&*node.value) : nullptr;
        const qint32 *number = node.value ? std::get_if<qint32>(&*node.value) : nullptr;
        m_keys.push_back({parentIndex, foldedName, node.name.toUtf8(), order,
                          text ? std::optional<QByteArray>(text->toUtf8()) : std::nullopt,
                          number ? std::optional<qint32>(*number) : std::nullopt});
        if (node.children.empty())
            return;
        const int index = int(m_parentPaths.size());
        m_parentPaths.push_back(childKey(parentKey, foldedName));
        qint64 childOrder = 0;
        for (const auto &child : node.children)
            add(*child, m_parentPaths[index], index, ++childOrder, depth + 1);
    }

    // Stores the rows; the top node's parent is parentId.
    void insert(PgConnection &connection, qint64 parentId) const
    {
        std::vector<qint64> ids;
        if (!m_parentPaths.empty()) {
            const PgResult reserved = connection.run(
                PgSql::ReserveParentIds, PgParams().number(qint64(m_parentPaths.size())));
            for (int row = 0; row < reserved.rows(); ++row)
                ids.push_back(reserved.integer(row, 0));
            std::vector<std::optional<QByteArray>> paths, idTexts;
            for (size_t i = 0; i < m_parentPaths.size(); ++i) {
                paths.emplace_back(m_parentPaths[i]);
                idTexts.emplace_back(QByteArray::number(ids[i]));
            }
            connection.run(PgSql::InsertParents, PgParams().array(paths).array(idTexts));
        }
        std::vector<std::optional<QByteArray>> parents, fnames, names, orders, texts, numbers;
        for (const Key &key : m_keys) {
            parents.emplace_back(
                QByteArray::number(key.parentIndex < 0 ? parentId : ids[key.parentIndex]));
            fnames.emplace_back(key.foldedName);
            names.emplace_back(key.name);
            orders.emplace_back(QByteArray::number(key.order));
            texts.push_back(key.text);
            numbers.push_back(key.number
                                  ? std::optional<QByteArray>(QByteArray::number(*key.number))
                                  : std::nullopt);
        }
        connection.run(
            PgSql::InsertKeys,
            PgParams().array(parents).array(fnames).array(names).array(orders).array(texts).array(
                numbers));
    }

private:
    struct Key
    {
        int parentIndex;
        QByteArray foldedName;
        QByteArray name;
        qint64 order;
        std::optional<QByteArray> text;
        std::optional<qint32> number;
    };
    std::vector<QByteArray> m_parentPaths;
    std::vector<Key> m_keys;
};

// Removes the child folded as foldedName and all below it; its place in
// store order when it existed.
std::optional<qint64> removeChild(PgConnection &connection, qint64 parentId,
                                  QByteArrayView parentKey, QByteArrayView foldedName)
{
    const PgResult found =
        connection.run(PgSql::SelectOrder, PgParams().number(parentId).text(foldedName));
    if (found.rows() == 0)
        return std::nullopt;
    deleteBelow(connection, childKey(parentKey, foldedName));
    connection.run(PgSql::DeleteOneById, PgParams().number(parentId).text(foldedName));
    return found.integer(0, 0);
}

// Reads of several statements see one state of the database.
class Snapshot
{
public:
    explicit Snapshot(PgConnection &connection)
        : m_connection(connection), m_own(connection.beginSnapshot())
    {
    }
    ~Snapshot()
    {
        if (m_own)
            m_connection.endSnapshot();
    }

private:
    PgConnection &m_connection;
    bool m_own;
};

} // namespace

PgBackend::PgBackend(std::shared_ptr<PgConnection> connection) : m_connection(std::move(connection))
{
}

PgBackend::~PgBackend() = default;

QString PgBackend::name() const
{
    return m_connection->name();
}

QString PgBackend::location() const
{
    return m_connection->uri();
}

bool PgBackend::hasStore()
{
    return m_connection->hasSchema();
}

std::optional<ConfigValue> PgBackend::value(QByteArrayView key)
{
    if (!m_connection->hasSchema())
        return std::nullopt;
    const PgResult found = m_connection->run(PgSql::SelectValue, keyParams(key));
    return found.rows() > 0 ? found.value(0, 0) : std::nullopt;
}

bool PgBackend::exists(QByteArrayView key)
{
    return m_connection->hasSchema() &&
           m_connection->run(PgSql::SelectValue, keyParams(key)).rows() > 0;
}

std::optional<QString> PgBackend::storedName(QByteArrayView key)
{
    if (!m_connection->hasSchema())
        return std::nullopt;
    const PgResult found = m_connection->run(PgSql::SelectName, keyParams(key));
    return found.rows() > 0 ? std::optional<QString>(found.text(0, 0)) : std::nullopt;
}

QStringList PgBackend::childNames(QByteArrayView key)
{
    QStringList names;
    if (!m_connection->hasSchema())
        return names;
    const PgResult found = m_connection->run(PgSql::SelectChildNames, PgParams().text(key));
    for (int row = 0; row < found.rows(); ++row)
        names.append(found.text(row, 0));
    return names;
}

int PgBackend::childCount(QByteArrayView key)
{
    if (!m_connection->hasSchema())
        return 0;
    return int(m_connection->run(PgSql::CountChildren, PgParams().text(key)).integer(0, 0));
}

void PgBackend::write(const ConfigPath &key, const ConfigValue &value)
{
    m_connection->prepareWrite();
    // As on SQLite: a key that exists takes one statement, atomic on its own.
    if (m_connection->run(PgSql::UpdateValue, keyParams(key.key()).value(value)).changed() > 0)
        return;
    ConfigTransaction transaction(shared_from_this());
    const qint64 parentId = ensureParent(*m_connection, key.parent());
    const QByteArray foldedName = ConfigPath::foldCase(key.name()).toUtf8();
    m_connection->run(PgSql::InsertMissing,
                      PgParams().number(parentId).text(foldedName).string(key.name()));
    m_connection->run(PgSql::UpdateValueById,
                      PgParams().number(parentId).text(foldedName).value(value));
    transaction.commit();
}

void PgBackend::removeBelow(const ConfigPath &key, bool keepKey)
{
    ConfigTransaction transaction(shared_from_this());
    deleteBelow(*m_connection, key.key());
    if (!key.isRoot() && keepKey)
        m_connection->run(PgSql::UpdateValue, keyParams(key.key()).value(std::nullopt));
    else if (!key.isRoot())
        m_connection->run(PgSql::DeleteOne, keyParams(key.key()));
    transaction.commit();
}

void PgBackend::rename(const ConfigPath &key, const ConfigPath &renamed)
{
    ConfigTransaction transaction(shared_from_this());
    if (renamed.key() != key.key()) {
        if (m_connection->run(PgSql::SelectName, keyParams(renamed.key())).rows() > 0)
            throw nameTaken(key, renamed);
        m_connection->run(PgSql::MoveBelow, rangeParams(key.key()).text(renamed.key()));
    }
    const QByteArray newFoldedName = ConfigPath::foldCase(renamed.name()).toUtf8();
    m_connection->run(PgSql::RenameKey,
                      keyParams(key.key()).text(newFoldedName).string(renamed.name()));
    transaction.commit();
}

void PgBackend::replaceChild(const ConfigPath &parent, const QString &oldFoldedName,
                             const FreeConfigTree &tree)
{
    TreeRows rows;
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
    if (!order)
        order = m_connection->run(PgSql::NextOrder, PgParams().number(parentId)).integer(0, 0);
    rows.add(tree.rootNode(), parent.key(), -1, *order, int(parent.names().size()) + 1);
    rows.insert(*m_connection, parentId);
    transaction.commit();
}

std::shared_ptr<FreeConfigTree> PgBackend::load(const ConfigPath &key)
{
    auto tree = std::make_shared<FreeConfigTree>();
    if (!m_connection->hasSchema())
        return key.isRoot() ? tree : nullptr;
    const Snapshot snapshot(*m_connection);
    if (!key.isRoot()) {
        const PgResult root = m_connection->run(PgSql::SelectNameAndValue, keyParams(key.key()));
        if (root.rows() == 0)
            return nullptr;
        tree->rootNode().name = root.text(0, 0);
        tree->rootNode().value = root.value(0, 1);
    }
    const PgResult rows = key.isRoot()
                              ? m_connection->run(PgSql::SelectAll)
                              : m_connection->run(PgSql::SelectBelow, rangeParams(key.key()));
    SubtreeBuilder builder(key.key(), tree->rootNode());
    for (int row = 0; row < rows.rows(); ++row) {
        if (builder.enterGroup(rows.utf8(row, 0)))
            builder.add(rows.integer(row, 1), rows.text(row, 2), rows.value(row, 3));
    }
    builder.finish();
    return tree;
}

int PgBackend::beginWrite()
{
    return m_connection->beginWrite();
}

void PgBackend::commitWrite(int level)
{
    m_connection->commitWrite(level);
}

void PgBackend::rollbackWrite(int level) noexcept
{
    m_connection->rollbackWrite(level);
}
