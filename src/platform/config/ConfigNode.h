#pragma once

#include "ConfigValue.h"

#include <QHash>

#include <memory>
#include <optional>
#include <vector>

// One key of an in-memory tree: its name as written, its value, and its
// children in store order with an index by ASCII-folded name.
//
// Children are shared so that a subtree opened on a tree stays valid when the
// key is later removed from the tree: it then lives on as a tree of its own.
struct ConfigNode : std::enable_shared_from_this<ConfigNode>
{
    QString name;
    std::optional<ConfigValue> value;
    std::vector<std::shared_ptr<ConfigNode>> children;
    QHash<QString, ConfigNode *> childByFoldedName;

    ConfigNode *child(const QString &foldedName) const
    {
        return childByFoldedName.value(foldedName);
    }
    std::shared_ptr<ConfigNode> sharedChild(const QString &foldedName) const;
    int indexOf(const QString &foldedName) const; // -1 when there is no such child
    // Appends a new child; the caller made sure the name is not taken.
    ConfigNode &addChild(const QString &childName);
    // The child of that name, created at the end when missing.
    ConfigNode &childOrAdd(const QString &childName);
    // Puts node in the place of the child called like it, or at the end.
    void replaceChild(std::shared_ptr<ConfigNode> node);
    void removeChild(const QString &foldedName);
    // Renames a child, keeping its place; the caller made sure the name is free.
    void renameChild(const QString &foldedName, const QString &newName);
    std::unique_ptr<ConfigNode> clone() const;
    int countNodes() const; // this node and all below
};
