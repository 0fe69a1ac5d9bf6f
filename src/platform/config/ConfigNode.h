#pragma once

#include "ConfigValue.h"

#include <QHash>

#include <memory>
#include <optional>
#include <vector>

// One key of an in-memory tree: its name as written, its value, and its
// children in store order with an index by ASCII-folded name.
struct ConfigNode
{
    QString name;
    std::optional<ConfigValue> value;
    std::vector<std::unique_ptr<ConfigNode>> children;
    QHash<QString, ConfigNode *> childByFoldedName;

    ConfigNode *child(const QString &foldedName) const { return childByFoldedName.value(foldedName); }
    // Appends a new child; the caller made sure the name is not taken.
    ConfigNode &addChild(const QString &childName);
    // The child of that name, created at the end when missing.
    ConfigNode &childOrAdd(const QString &childName);
    void removeChild(const QString &foldedName);
    std::unique_ptr<ConfigNode> clone() const;
    int countNodes() const; // this node and all below
};
