#include "ConfigDatabase.h"

#include "ConfigNode.h"
#include "FreeConfigTree.h"
#include "StoreConnection.h"
#include "StoreQuery.h"
#include "platform/Err.h"

#include <kivo/runtime.h>

#include <QDir>
#include <QHash>

#include <vector>

#include <sqlite3.h>

namespace {

// The subtree below the key folded as ?1 (see StoreTree), parents before
// their children and siblings in store order. Written as one range of the
// (parent, ord) index, so the rows come in index order without a sort; the
// last condition drops siblings whose names merely start like the key's.
constexpr const char *SelectBelow =
    "SELECT parent, name, value FROM keys "
    "WHERE parent >= ?1 AND parent < ?3 AND (parent = ?1 OR parent >= ?2) ORDER BY parent, ord";
constexpr const char *SelectAll = "SELECT parent, name, value FROM keys ORDER BY parent, ord";
constexpr const char *SelectKey = "SELECT name, value FROM keys WHERE parent = ?1 AND fname = ?2";

// Reads of several statements see one state of the file; inside a write
// transaction they already do.
class ReadSnapshot
{
public:
    explicit ReadSnapshot(StoreConnection &connection)
        : m_connection(connection), m_own(sqlite3_get_autocommit(connection.handle()) != 0)
    {
        if (m_own)
            m_connection.execute("BEGIN");
    }
    ~ReadSnapshot()
    {
        if (m_own)
            sqlite3_exec(m_connection.handle(), "COMMIT", nullptr, nullptr, nullptr);
    }

private:
    StoreConnection &m_connection;
    bool m_own;
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

    // The node of the folded full path; null when it is missing, which a
    // consistent store never has: the rows below it are skipped.
    ConfigNode *find(const QByteArray &path)
    {
        if (path == m_path)
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
    const QByteArray folded = key.folded().toUtf8();
    auto tree = std::make_shared<FreeConfigTree>();
    ReadSnapshot snapshot(*m_connection);
    if (!key.isRoot()) {
        StoreQuery root(*m_connection, SelectKey);
        root.bind(1, key.parent().folded()).bind(2, ConfigPath::foldCase(key.name()));
        if (!root.next())
            return nullptr;
        tree->rootNode().name = root.text(0);
        tree->rootNode().value = root.value(1);
    }
    StoreQuery rows(*m_connection, key.isRoot() ? SelectAll : SelectBelow);
    if (!key.isRoot()) {
        const QString text = key.folded();
        rows.bind(1, text).bind(2, text + QLatin1Char('\\')).bind(3, text + QLatin1Char(']'));
    }
    ParentFinder parents(folded, tree->rootNode());
    while (rows.next()) {
        if (ConfigNode *parent = parents.find(rows.utf8(0))) {
            ConfigNode &node = parent->addChild(rows.text(1));
            node.value = rows.value(2);
        }
    }
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
