#include "FreeConfigTree.h"

#include "ConfigNode.h"
#include "platform/Err.h"

#include <utility>

FreeConfigTree::FreeConfigTree() : m_node(std::make_shared<ConfigNode>()) {}

FreeConfigTree::FreeConfigTree(std::shared_ptr<ConfigNode> parent, std::shared_ptr<ConfigNode> node,
                               int depth)
    : m_parent(std::move(parent)), m_node(std::move(node)), m_depth(depth)
{
}

FreeConfigTree::~FreeConfigTree() = default;

void FreeConfigTree::Reset()
{
    m_parent.reset();
    m_depth = 0;
    m_node = std::make_shared<ConfigNode>();
}

ConfigNode *FreeConfigTree::find(const ConfigPath &path) const
{
    ConfigNode *node = m_node.get();
    for (const QString &name : path.names()) {
        node = node->child(ConfigPath::foldCase(name));
        if (!node)
            return nullptr;
    }
    return node;
}

void FreeConfigTree::checkDepth(const ConfigPath &path) const
{
    if (m_depth + path.names().size() > ConfigPath::MaxDepth)
        throw Err(Err::InvalidPath,
                  QStringLiteral("The configuration path \"%1\" is deeper than %2 "
                                 "keys below the tree's root")
                      .arg(path.toString().left(300))
                      .arg(ConfigPath::MaxDepth));
}

std::optional<ConfigValue> FreeConfigTree::readValue(const ConfigPath &path) const
{
    const ConfigNode *node = find(path);
    return node ? node->value : std::nullopt;
}

void FreeConfigTree::writeValue(const ConfigPath &path, const ConfigValue &value)
{
    checkDepth(path);
    ConfigNode *node = m_node.get();
    for (const QString &name : path.names())
        node = &node->childOrAdd(name);
    node->value = value;
}

bool FreeConfigTree::keyExists(const ConfigPath &path) const
{
    return find(path) != nullptr;
}

QStringList FreeConfigTree::childNames(const ConfigPath &path) const
{
    QStringList names;
    if (const ConfigNode *node = find(path)) {
        names.reserve(qsizetype(node->children.size()));
        for (const auto &c : node->children)
            names.append(c->name);
    }
    return names;
}

int FreeConfigTree::childCount(const ConfigPath &path) const
{
    const ConfigNode *node = find(path);
    return node ? int(node->children.size()) : 0;
}

ConfigTreePtr FreeConfigTree::openSubTree(const ConfigPath &path) const
{
    std::shared_ptr<ConfigNode> parent = m_parent;
    std::shared_ptr<ConfigNode> node = m_node;
    for (const QString &name : path.names()) {
        parent = std::exchange(node, node->sharedChild(ConfigPath::foldCase(name)));
        if (!node)
            return nullptr;
    }
    return ConfigTreePtr(
        new FreeConfigTree(std::move(parent), std::move(node), m_depth + int(path.names().size())));
}

void FreeConfigTree::deleteKey(const ConfigPath &path)
{
    if (path.isRoot()) {
        m_node->value.reset();
        m_node->clearChildren();
        return;
    }
    if (ConfigNode *parent = find(path.parent()))
        parent->removeChild(ConfigPath::foldCase(path.name()));
}

QString FreeConfigTree::rootName() const
{
    return m_node->name;
}

void FreeConfigTree::renameRoot(const QString &newName)
{
    const QString oldFolded = ConfigPath::foldCase(m_node->name);
    if (!m_parent || m_parent->child(oldFolded) != m_node.get()) {
        m_node->name = newName;
        return;
    }
    const ConfigNode *sibling = m_parent->child(ConfigPath::foldCase(newName));
    if (sibling && sibling != m_node.get())
        throw Err(
            Err::InvalidArgument,
            QStringLiteral("Cannot rename \"%1\" to \"%2\": a key of that name exists beside it")
                .arg(m_node->name, newName));
    m_parent->renameChild(oldFolded, newName);
}

void FreeConfigTree::attachTree(const ConfigPath &parent, const FreeConfigTree &tree)
{
    // Every key of the tree must fit, not only its root, as in the store: a
    // key deeper than that could be neither read nor written by its path.
    const ConfigPath root = parent.child(tree.RootName());
    checkDepth(root);
    if (m_depth + root.names().size() + tree.rootNode().levelsBelow() > ConfigPath::MaxDepth)
        throw Err(
            Err::InvalidPath,
            QStringLiteral("The tree to store is deeper than %1 keys").arg(ConfigPath::MaxDepth));
    // Copy first: the tree may be a subtree of this one, even the key it replaces.
    std::shared_ptr<ConfigNode> copy = tree.rootNode().clone();
    ConfigNode *node = m_node.get();
    for (const QString &name : parent.names())
        node = &node->childOrAdd(name);
    node->replaceChild(std::move(copy));
}
