#pragma once

#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"

#include <QList>

// The content a new store starts with: the default form layout, the value
// tables, sample ACR and angiography code trees, the UI settings at their
// defaults and one user with edit rights. The seed files are built into the
// binary.
class StoreSeed
{
public:
    static constexpr const char *TeachingFilePath =
        "Corvalis\\system\\applications\\quovira\\teachingfile";

    struct Tree
    {
        QString parentPath;
        std::shared_ptr<FreeConfigTree> tree;

        QString path() const { return parentPath + QLatin1Char('\\') + tree->RootName(); }
    };

    // Every seed tree in seeding order. Throws Err when a seed file is broken.
    static QList<Tree> trees();
    // A store is fresh while it has no teaching-file branch.
    static bool isFresh(const ConfigDatabase &database);
};

// Attaches every seed tree in one transaction, replacing the seeded keys
// (and everything below them) but nothing beside them. Without force only a
// fresh store is seeded, fresh as the transaction finds it: of processes
// starting on a new store together, one seeds and the others keep what it
// and any other writer wrote. Answers whether it seeded.
bool seedStore(ConfigDatabase &database, bool force);
