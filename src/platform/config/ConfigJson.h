#pragma once

#include "FreeConfigTree.h"

#include <QByteArray>
#include <QJsonObject>

// Trees in and out of JSON. A key is the object
//   {"name": "...", "value": "text" or integer, "keys": [children]}
// with "value" and "keys" optional. Keys are objects inside an array rather
// than members of one object because store order is insertion order and
// QJsonObject sorts its members.
class ConfigJson
{
public:
    // The tree as a key object named after its root, children in store order.
    static QJsonObject toObject(const ConfigTree &tree);
    static QByteArray toJson(const ConfigTree &tree);

    // Reads a document holding one key object. Throws Err(ImportFailure)
    // naming the line (and, for a key that breaks the format, its path);
    // nothing is returned half read. Strings must hold no raw control
    // character and no half of a UTF-16 surrogate pair: both would be
    // stored as something else than the file says.
    static std::shared_ptr<FreeConfigTree> fromJson(const QByteArray &json);
    // Reads a document whose top object carries the key object in its member
    // `member`; `document` receives the top object for its other members.
    static std::shared_ptr<FreeConfigTree> fromJson(const QByteArray &json, const QString &member,
                                                    QJsonObject *document);
};
