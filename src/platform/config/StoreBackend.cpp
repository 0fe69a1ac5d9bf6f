#include "StoreBackend.h"

#include "ConfigNode.h"
#include "PgBackend.h"
#include "PgConnection.h"
#include "SqliteBackend.h"
#include "StoreConnection.h"
#include "StoreUri.h"
#include "platform/Err.h"

std::shared_ptr<StoreBackend> StoreBackend::open(const QString &store)
{
    if (StoreUri::isPostgres(store))
        return std::make_shared<PgBackend>(PgConnection::open(store));
    if (StoreUri::hasScheme(store))
        throw Err(Err::StoreOpen,
                  QStringLiteral("The configuration store \"%1\" names a database of an unknown "
                                 "kind: only postgresql:// and postgres:// addresses or SQLite "
                                 "files are stores")
                      .arg(StoreUri::masked(store)));
    return std::make_shared<SqliteBackend>(StoreConnection::open(store));
}

void StoreBackend::validateNode(const ConfigNode &node, int depth)
{
    ConfigPath::validateName(node.name);
    if (depth > ConfigPath::MaxDepth)
        throw Err(
            Err::InvalidPath,
            QStringLiteral("The tree to store is deeper than %1 keys").arg(ConfigPath::MaxDepth));
    if (node.value && std::holds_alternative<QString>(*node.value) &&
        std::get<QString>(*node.value).size() > MaxValueLength)
        throw Err(Err::ValueTooLong, QStringLiteral("The value of the key \"%1\" is longer than %2 "
                                                    "characters")
                                         .arg(node.name)
                                         .arg(MaxValueLength));
}

Err StoreBackend::nameTaken(const ConfigPath &key, const ConfigPath &renamed)
{
    return Err(Err::InvalidArgument,
               QStringLiteral("Cannot rename \"%1\" to \"%2\": a key of that name exists beside it")
                   .arg(key.toString(), renamed.name()));
}
