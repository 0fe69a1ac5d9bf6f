#include "StoreSeed.h"

#include "platform/Err.h"
#include "platform/config/ConfigJson.h"

#include <QDir>
#include <QFile>

QList<StoreSeed::Tree> StoreSeed::trees()
{
    // File names start with a number so that sibling keys are created in a
    // sensible store order.
    const QDir folder(QStringLiteral(":/seed"));
    QList<Tree> result;
    for (const QString &name :
         folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            throw Err(Err::ImportFailure, QStringLiteral("Cannot read the seed file %1").arg(name));
        try {
            QJsonObject document;
            auto tree = ConfigJson::fromJson(file.readAll(), QStringLiteral("tree"), &document);
            const QString parent = document.value(QStringLiteral("parent")).toString();
            if (parent.isEmpty())
                throw Err(Err::ImportFailure, QStringLiteral("\"parent\" names no store path"));
            result.append({parent, std::move(tree)});
        } catch (const Err &e) {
            throw Err(e.number(), QStringLiteral("Seed file %1, %2").arg(name, e.description()));
        }
    }
    return result;
}

bool StoreSeed::isFresh(const ConfigDatabase &database)
{
    return !database.KeyExists(QLatin1String(TeachingFilePath));
}

bool seedStore(ConfigDatabase &database, bool force)
{
    // The first check needs no write lock, so that a store that is already
    // seeded (or may only be read) is not locked at every start.
    if (!force && !StoreSeed::isFresh(database))
        return false;
    const QList<StoreSeed::Tree> seeds = StoreSeed::trees();
    auto transaction = database.transaction();
    // Asked again under the write lock: another process starting at the
    // same time may have seeded or written the store since, and its writes
    // must not give way to the samples.
    if (!force && !StoreSeed::isFresh(database))
        return false;
    for (const StoreSeed::Tree &seed : seeds)
        database.AttachTree(seed.parentPath, *seed.tree);
    transaction.commit();
    return true;
}
