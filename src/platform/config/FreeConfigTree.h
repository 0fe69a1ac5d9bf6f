#pragma once

#include "ConfigTree.h"

struct ConfigNode;

// A tree held in memory only. Subtrees opened on it share its nodes, so a
// write through a subtree is seen by the whole tree. A subtree whose key is
// deleted from the tree keeps its content as a tree of its own.
class FreeConfigTree : public ConfigTree
{
public:
    FreeConfigTree();
    ~FreeConfigTree() override;

    // Empties the tree; the root becomes unnamed. On a subtree, the object
    // becomes a new empty tree and the tree it was opened on is left alone.
    void Reset();

    // The root node, for walking a whole tree without path look-ups (the
    // store uses it to write a tree, the code pickers to list and index one).
    const ConfigNode &rootNode() const { return *m_node; }
    ConfigNode &rootNode() { return *m_node; }

protected:
    std::optional<ConfigValue> readValue(const ConfigPath &path) const override;
    void writeValue(const ConfigPath &path, const ConfigValue &value) override;
    bool keyExists(const ConfigPath &path) const override;
    QStringList childNames(const ConfigPath &path) const override;
    int childCount(const ConfigPath &path) const override;
    ConfigTreePtr openSubTree(const ConfigPath &path) const override;
    void deleteKey(const ConfigPath &path) override;
    QString rootName() const override;
    void renameRoot(const QString &newName) override;
    void attachTree(const ConfigPath &parent, const FreeConfigTree &tree) override;

private:
    FreeConfigTree(std::shared_ptr<ConfigNode> parent, std::shared_ptr<ConfigNode> node, int depth);
    ConfigNode *find(const ConfigPath &path) const;
    // A tree may hold no deeper keys than the store will take.
    void checkDepth(const ConfigPath &path) const;

    // The key this subtree was opened below; RenameRoot must re-index the
    // name there. Null for a tree's own root.
    std::shared_ptr<ConfigNode> m_parent;
    std::shared_ptr<ConfigNode> m_node;
    int m_depth = 0; // of m_node below the tree's root
};
