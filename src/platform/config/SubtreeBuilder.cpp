#include "SubtreeBuilder.h"

#include "ConfigNode.h"

#include <algorithm>

// Puts the children of one parent in store order as its rows arrive (in
// name order) and adds them to the parent when its rows are done.
class SubtreeBuilder::SiblingOrder
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
class SubtreeBuilder::ParentFinder
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

SubtreeBuilder::SubtreeBuilder(const QByteArray &rootKey, ConfigNode &root)
    : m_parents(std::make_unique<ParentFinder>(rootKey, root)),
      m_siblings(std::make_unique<SiblingOrder>()), m_parent(&root)
{
}

SubtreeBuilder::~SubtreeBuilder() = default;

bool SubtreeBuilder::enterGroup(const QByteArray &parentPath)
{
    if (!m_parents->isLast(parentPath)) {
        m_siblings->flushInto(m_parent);
        m_parent = m_parents->find(parentPath);
    }
    return m_parent != nullptr;
}

void SubtreeBuilder::add(qint64 order, QString name, std::optional<ConfigValue> value)
{
    m_siblings->add(order, std::move(name), std::move(value));
}

void SubtreeBuilder::finish()
{
    m_siblings->flushInto(m_parent);
}
