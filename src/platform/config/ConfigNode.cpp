#include "ConfigNode.h"

#include "ConfigPath.h"

#include <algorithm>

ConfigNode *ConfigNode::child(const QString &foldedName) const
{
    if (!m_childByFoldedName.isEmpty())
        return m_childByFoldedName.value(foldedName);
    const auto found = std::find_if(children.cbegin(), children.cend(), [&](const auto &c) {
        return ConfigPath::foldsTo(c->name, foldedName);
    });
    return found == children.cend() ? nullptr : found->get();
}

std::shared_ptr<ConfigNode> ConfigNode::sharedChild(const QString &foldedName) const
{
    ConfigNode *node = child(foldedName);
    return node ? node->shared_from_this() : nullptr;
}

int ConfigNode::indexOf(const QString &foldedName) const
{
    const ConfigNode *node = child(foldedName);
    if (!node)
        return -1;
    const auto found = std::find_if(children.cbegin(), children.cend(),
                                    [node](const auto &c) { return c.get() == node; });
    return int(found - children.cbegin());
}

ConfigNode &ConfigNode::addChild(const QString &childName)
{
    auto node = std::make_shared<ConfigNode>();
    node->name = childName;
    children.push_back(std::move(node));
    indexAppended();
    return *children.back();
}

ConfigNode &ConfigNode::childOrAdd(const QString &childName)
{
    if (ConfigNode *existing = child(ConfigPath::foldCase(childName)))
        return *existing;
    return addChild(childName);
}

void ConfigNode::replaceChild(std::shared_ptr<ConfigNode> node)
{
    const QString folded = ConfigPath::foldCase(node->name);
    const int index = indexOf(folded);
    if (index < 0) {
        children.push_back(std::move(node));
        indexAppended();
        return;
    }
    if (!m_childByFoldedName.isEmpty())
        m_childByFoldedName.insert(folded, node.get());
    children[size_t(index)] = std::move(node);
}

void ConfigNode::removeChild(const QString &foldedName)
{
    const int index = indexOf(foldedName);
    if (index < 0)
        return;
    children.erase(children.begin() + index);
    if (children.size() > MaxUnindexedChildren)
        m_childByFoldedName.remove(foldedName);
    else
        m_childByFoldedName.clear();
}

void ConfigNode::renameChild(const QString &foldedName, const QString &newName)
{
    ConfigNode *node = child(foldedName);
    if (!node)
        return;
    node->name = newName;
    if (m_childByFoldedName.remove(foldedName))
        m_childByFoldedName.insert(ConfigPath::foldCase(newName), node);
}

void ConfigNode::clearChildren()
{
    children.clear();
    m_childByFoldedName.clear();
}

void ConfigNode::indexAppended()
{
    if (children.size() <= MaxUnindexedChildren)
        return;
    // Going over the limit indexes every child; after that, the new one.
    const size_t first = m_childByFoldedName.isEmpty() ? 0 : children.size() - 1;
    for (size_t i = first; i < children.size(); ++i)
        m_childByFoldedName.insert(ConfigPath::foldCase(children[i]->name), children[i].get());
}

std::unique_ptr<ConfigNode> ConfigNode::clone() const
{
    auto copy = std::make_unique<ConfigNode>();
    copy->name = name;
    copy->value = value;
    copy->children.reserve(children.size());
    for (const auto &c : children) {
        copy->children.push_back(c->clone());
        copy->indexAppended();
    }
    return copy;
}

int ConfigNode::countNodes() const
{
    int count = 1;
    for (const auto &c : children)
        count += c->countNodes();
    return count;
}

int ConfigNode::levelsBelow() const
{
    int levels = 0;
    for (const auto &c : children)
        levels = std::max(levels, 1 + c->levelsBelow());
    return levels;
}
