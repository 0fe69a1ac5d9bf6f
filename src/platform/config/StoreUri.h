#pragma once

#include <QString>

// What a store's name says about the store: a libpq URI of a PostgreSQL
// database, a name with some other scheme, or (neither) a SQLite file; and
// the name or any text quoting it with passwords masked, for logs, errors
// and output.
namespace StoreUri {

bool isPostgres(const QString &store);
// Whether the name starts with a URI scheme ("name://").
bool hasScheme(const QString &store);
// text with every password of a URI in it ("user:secret@",
// "password=secret") replaced by "***".
QString masked(const QString &text);

} // namespace StoreUri
