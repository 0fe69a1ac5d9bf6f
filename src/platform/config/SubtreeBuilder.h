#pragma once

#include "ConfigValue.h"

#include <QByteArray>

#include <memory>
#include <utility>
#include <vector>

struct ConfigNode;

// Builds an in-memory subtree from the rows a store returns for it: rows
// grouped by their parent's folded full path, a key's group before the
// groups below it, siblings in any order with their store order. Internal
// to the store.
class SubtreeBuilder
{
public:
    // rootKey is the folded path of the subtree's root, already in root.
    SubtreeBuilder(const QByteArray &rootKey, ConfigNode &root);
    ~SubtreeBuilder();
    SubtreeBuilder(const SubtreeBuilder &) = delete;
    SubtreeBuilder &operator=(const SubtreeBuilder &) = delete;

    // Moves to the group of parentPath (when it is not the current one);
    // false when its rows are to be skipped (a parent that is missing, which
    // a consistent store never has).
    bool enterGroup(const QByteArray &parentPath);
    void add(qint64 order, QString name, std::optional<ConfigValue> value);
    // Adds the last group's rows.
    void finish();

private:
    class ParentFinder;
    class SiblingOrder;
    std::unique_ptr<ParentFinder> m_parents;
    std::unique_ptr<SiblingOrder> m_siblings;
    ConfigNode *m_parent;
};
