#include "ConfigDatabase.h"

#include "ConfigNode.h"
#include "FreeConfigTree.h"
#include "StoreConnection.h"
#include "StoreQuery.h"
#include "StoreSql.h"
#include "platform/Err.h"

#include <kivo/runtime.h>

#include <QDir>
#include <QHash>

#include <algorithm>
#include <vector>

#include <sqlite3.h>

namespace {

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

// Puts the children of one parent in store order as its rows arrive (in
// name order) and adds them to the parent when its rows are done.
class SiblingOrder
{
public:
    void add(qint64 order, QString name, std::optional<ConfigValue> value)
    {
        m_order.push_back({order, m_rows.size()});
        m_rows.push_back({std::move(name), std::move(value)});
    }

    void flushInto(ConfigNode *parent)
    {
        if (parent) {
            parent->children.reserve(parent->children.size() + m_rows.size());
            std::sort(m_order.begin(), m_order.end());
            for (const auto &[order, index] : m_order) {
                Row &row = m_rows[index];
                parent->addChild(row.name).value = std::move(row.value);
            }
        }
        m_order.clear();
        m_rows.clear();
    }

private:
    struct Row
    {
        QString name;
        std::optional<ConfigValue> value;
    };
    std::vector<std::pair<qint64, size_t>> m_order; // store order, index in m_rows
    std::vector<Row> m_rows;
};

// Finds the node of each row's parent while a tree is read. Rows come
// grouped by parent, and a key's folded path sorts before the paths below
// it, so every parent was added by an earlier group. Consecutive groups
// mostly share all but their last names: the walk keeps the nodes of the
// last group's path and goes down from the deepest one the new path shares,
// which spares keeping every key's full path.
class ParentFinder
{
public:
    ParentFinder(const QByteArray &rootPath, ConfigNode &root)
        : m_path(rootPath), m_node(&root), m_walk{{rootPath.size(), &root}}
    {
    }

    // Whether path is the one of the last find.
    bool isLast(const QByteArray &path) const { return path == m_path; }

    // The node of the folded full path; null when it is missing, which a
    // consistent store never has: the rows below it are skipped.
    ConfigNode *find(const QByteArray &path)
    {
        if (isLast(path))
            return m_node;
        while (m_walk.size() > 1 && !startsWithKey(path, m_walk.back().pathSize))
            m_walk.pop_back();
        // The path is only valid until the next row: keep a copy, reusing
        // the buffer.
        m_path.truncate(0);
        m_path.append(path.constData(), path.size());
        m_node = m_walk.back().node;
        qsizetype end = m_walk.back().pathSize;
        while (m_node && end < m_path.size()) {
            const qsizetype start = end == 0 ? 0 : end + 1;
            end = m_path.indexOf('\\', start);
            if (end < 0)
                end = m_path.size();
            m_node = m_node->child(QString::fromUtf8(m_path.constData() + start, end - start));
            if (m_node)
                m_walk.push_back({end, m_node});
        }
        return m_node;
    }

private:
    // Whether path is the key that m_path's first size bytes name, or below it.
    bool startsWithKey(const QByteArray &path, qsizetype size) const
    {
        return path.startsWith(QByteArrayView(m_path).first(size)) &&
               (path.size() == size || path.at(size) == '\\');
    }

    struct Step
    {
        qsizetype pathSize;
        ConfigNode *node;
    };
    QByteArray m_path;        // of the last group
    ConfigNode *m_node;       // its node
    std::vector<Step> m_walk; // the nodes down to it, from the root
};

QString platformValue(const QString &name)
{
    BSTR value = nullptr;
    if (GetPlatformValue(reinterpret_cast<const OLECHAR *>(name.utf16()), &value) != S_OK)
        return QString();
    const QString text = QString::fromUtf16(value, SysStringLen(value));
    SysFreeString(value);
    return text;
}

} // namespace

ConfigDatabase::ConfigDatabase() : ConfigDatabase(defaultFile()) {}

ConfigDatabase::ConfigDatabase(const QString &file)
    : StoreTree(StoreConnection::open(file.isEmpty() ? defaultFile() : file), ConfigPath())
{
}

ConfigDatabase::~ConfigDatabase() = default;

QString ConfigDatabase::defaultFile()
{
    const QString configured = GlobalValue(QStringLiteral("ConfigStoreFile"));
    if (!configured.isEmpty())
        return configured;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and is ignored.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/kivo/config.db");
}

QString ConfigDatabase::file() const
{
    return m_connection->file();
}

QString ConfigDatabase::GlobalValue(const QString &name)
{
    static const QHash<QString, const char *> environmentNames = {
        {QStringLiteral("CurrUser"), "KIVO_CURR_USER"},
        {QStringLiteral("CorvalisRoot"), "KIVO_CORVALIS_ROOT"},
        {QStringLiteral("CurrMachine"), "KIVO_CURR_MACHINE"},
        {QStringLiteral("ConfigStoreFile"), "KIVO_STORE"},
    };
    if (name.isEmpty())
        return QString();
    const QString value = platformValue(name);
    if (!value.isEmpty())
        return value;
    const char *variable = environmentNames.value(name);
    return variable ? qEnvironmentVariable(variable) : QString();
}

std::shared_ptr<FreeConfigTree> ConfigDatabase::LoadTree(const QString &path) const
{
    const ConfigPath key = absolute(ConfigPath::parse(path));
    auto tree = std::make_shared<FreeConfigTree>();
    if (!m_connection->hasSchema())
        return key.isRoot() ? tree : nullptr;
    ReadSnapshot snapshot(*m_connection);
    if (!key.isRoot()) {
        StoreQuery root(*m_connection, StoreSql::SelectNameAndValue);
        const qsizetype separator = key.key().lastIndexOf('\\');
        root.bindUtf8(1, QByteArrayView(key.key()).first(qMax(separator, qsizetype(0))));
        root.bindUtf8(2, QByteArrayView(key.key()).sliced(separator + 1));
        if (!root.next())
            return nullptr;
        tree->rootNode().name = root.text(0);
        tree->rootNode().value = root.value(1);
    }
    StoreQuery rows(*m_connection, key.isRoot() ? StoreSql::SelectAll : StoreSql::SelectBelow);
    const QByteArray below = key.key() + '\\';
    const QByteArray after = key.key() + ']';
    if (!key.isRoot())
        rows.bindUtf8(1, key.key()).bindUtf8(2, below).bindUtf8(3, after);
    ParentFinder parents(key.key(), tree->rootNode());
    ConfigNode *parent = &tree->rootNode();
    SiblingOrder siblings;
    while (rows.next()) {
        const QByteArray parentPath = rows.utf8(0);
        if (!parents.isLast(parentPath)) {
            siblings.flushInto(parent);
            parent = parents.find(parentPath);
        }
        if (parent)
            siblings.add(rows.integer(1), rows.text(2), rows.value(3));
    }
    siblings.flushInto(parent);
    return tree;
}

void ConfigDatabase::SwapTree(const FreeConfigTree &newTree, const ConfigTree &oldTree,
                              const QString &parentPath)
{
    const ConfigPath parent = absolute(ConfigPath::parse(parentPath));
    if (newTree.RootName().isEmpty())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Cannot store an unnamed tree below \"%1\"").arg(parentPath));
    replaceChild(parent, ConfigPath::foldCase(oldTree.RootName()), newTree);
}

ConfigTransaction ConfigDatabase::transaction()
{
    return ConfigTransaction(m_connection);
}
