#pragma once

#include "ConfigValue.h"

#include <QHash>

#include <memory>
#include <optional>
#include <vector>

// One key of an in-memory tree: its name as written, its value, and its
// children in store order, found by ASCII-folded name.
//
// Children are shared so that a subtree opened on a tree stays valid when the
// key is later removed from the tree: it then lives on as a tree of its own.
//
// Most keys have a few children (a code tree has a description below every
// code), and comparing a few names costs less than building and keeping a
// hash, so only a key with more than MaxUnindexedChildren children keeps an
// index by folded name. Change children through the members below only, so
// that the index stays in step with them.
struct ConfigNode : std::enable_shared_from_this<ConfigNode>
{
    static constexpr size_t MaxUnindexedChildren = 16;

    QString name;
    std::optional<ConfigValue> value;
    std::vector<std::shared_ptr<ConfigNode>> children;

    ConfigNode *child(const QString &foldedName) const;
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
    void clearChildren();
    std::unique_ptr<ConfigNode> clone() const;
    int countNodes() const;  // this node and all below
    int levelsBelow() const; // 0 for a key without children

private:
    // Brings the index in step after a child was appended.
    void indexAppended();

    // Every child by folded name while there are more than MaxUnindexedChildren;
    // empty otherwise.
    QHash<QString, ConfigNode *> m_childByFoldedName;
};
