#include "ConfigNode.h"

#include "ConfigPath.h"

#include <algorithm>

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
    childByFoldedName.insert(ConfigPath::foldCase(childName), node.get());
    children.push_back(std::move(node));
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
    childByFoldedName.insert(folded, node.get());
    if (index < 0)
        children.push_back(std::move(node));
    else
        children[size_t(index)] = std::move(node);
}

void ConfigNode::removeChild(const QString &foldedName)
{
    const int index = indexOf(foldedName);
    if (index < 0)
        return;
    childByFoldedName.remove(foldedName);
    children.erase(children.begin() + index);
}

void ConfigNode::renameChild(const QString &foldedName, const QString &newName)
{
    ConfigNode *node = childByFoldedName.take(foldedName);
    if (!node)
        return;
    node->name = newName;
    childByFoldedName.insert(ConfigPath::foldCase(newName), node);
}

std::unique_ptr<ConfigNode> ConfigNode::clone() const
{
    auto copy = std::make_unique<ConfigNode>();
    copy->name = name;
    copy->value = value;
    copy->children.reserve(children.size());
    copy->childByFoldedName.reserve(childByFoldedName.size());
    for (const auto &c : children) {
        std::shared_ptr<ConfigNode> childCopy = c->clone();
        copy->childByFoldedName.insert(ConfigPath::foldCase(childCopy->name), childCopy.get());
        copy->children.push_back(std::move(childCopy));
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
