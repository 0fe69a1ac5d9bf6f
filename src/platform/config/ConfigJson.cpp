#include "ConfigJson.h"

#include "ConfigNode.h"
#include "platform/Err.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>
#include <limits>

namespace {

const QString NameMember = QStringLiteral("name");
const QString ValueMember = QStringLiteral("value");
const QString KeysMember = QStringLiteral("keys");

int lineAt(const QByteArray &json, qsizetype offset)
{
    return int(json.left(offset).count('\n')) + 1;
}

[[noreturn]] void failAt(int line, const QString &message)
{
    throw Err(Err::ImportFailure, QStringLiteral("line %1: %2").arg(line).arg(message));
}

// One pass over a document QJsonDocument has parsed. It answers the line on
// which each object opens, in text order: QJsonDocument keeps array order, so
// the depth-first walk over the keys meets the key objects in text order.
// Objects anywhere else are refused at the key holding them before the walk
// goes deeper, so they cannot shift the count for a key that is reported.
//
// It also refuses what QJsonDocument accepts but does not keep as written: a
// raw control character inside a string, and a \u escape of a UTF-16
// surrogate that is not half of a pair (the parser joins it with whatever
// follows, so "x\ud800y" would come back as another string).
class JsonTextScan
{
public:
    explicit JsonTextScan(const QByteArray &json) : m_json(json)
    {
        for (m_at = 0; m_at < m_json.size(); ++m_at) {
            const char c = m_json.at(m_at);
            if (c == '\n')
                ++m_line;
            else if (c == '"')
                skipString();
            else if (c == '{')
                m_objectLines.append(m_line);
        }
    }

    const QList<int> &objectLines() const { return m_objectLines; }

private:
    // From the opening quote to the closing one.
    void skipString()
    {
        for (++m_at; m_at < m_json.size(); ++m_at) {
            const uchar c = uchar(m_json.at(m_at));
            if (c == '"')
                return;
            if (c < 0x20) {
                const QString unit =
                    QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
                failAt(m_line, QStringLiteral("a string holds the control character U+%1; "
                                              "write it as an escape such as \\n or \\u%1")
                                   .arg(unit));
            }
            if (c == '\\')
                skipEscape();
        }
    }

    // m_at is on the backslash; leaves it on the escape's last character.
    void skipEscape()
    {
        ++m_at;
        if (m_json.at(m_at) != 'u')
            return;
        const uint unit = hexUnit();
        if (QChar::isLowSurrogate(unit))
            failLoneSurrogate(unit);
        if (!QChar::isHighSurrogate(unit))
            return;
        if (m_json.mid(m_at + 1, 2) != "\\u")
            failLoneSurrogate(unit);
        m_at += 2;
        if (!QChar::isLowSurrogate(hexUnit()))
            failLoneSurrogate(unit);
    }

    // m_at is on the "u" of a \u escape (four hex digits, as the parser
    // checked); leaves it on the last digit.
    uint hexUnit()
    {
        const uint unit = m_json.mid(m_at + 1, 4).toUInt(nullptr, 16);
        m_at += 4;
        return unit;
    }

    [[noreturn]] void failLoneSurrogate(uint unit) const
    {
        failAt(m_line, QStringLiteral("a string holds \\u%1, half of a UTF-16 surrogate pair "
                                      "without its other half")
                           .arg(unit, 4, 16, QLatin1Char('0')));
    }

    const QByteArray &m_json;
    qsizetype m_at = 0;
    int m_line = 1;
    QList<int> m_objectLines;
};

// Builds the nodes of one key object and everything below it, refusing
// anything that is not exactly the key format.
class KeyReader
{
public:
    KeyReader(const QList<int> &objectLines, int firstObject)
        : m_objectLines(objectLines), m_nextObject(firstObject)
    {
    }

    void readRoot(const QJsonObject &key, ConfigNode &root)
    {
        const int line = nextLine();
        root.name = nameOf(key, line, {});
        QStringList path;
        if (!root.name.isEmpty()) {
            path << root.name;
            validateName(root.name, line, path);
        }
        readContent(key, root, path, line);
    }

private:
    int nextLine()
    {
        const int object = m_nextObject++;
        return object < m_objectLines.size() ? m_objectLines.at(object) : 0;
    }

    [[noreturn]] static void fail(int line, const QStringList &path, const QString &message)
    {
        const QString where = path.isEmpty()
                                  ? QStringLiteral("the top key")
                                  : QStringLiteral("key \"%1\"").arg(path.join(QLatin1Char('\\')));
        failAt(line, where + QStringLiteral(": ") + message);
    }

    static QString nameOf(const QJsonObject &key, int line, const QStringList &parentPath)
    {
        const QJsonValue name = key.value(NameMember);
        if (!name.isString())
            fail(line, parentPath,
                 parentPath.isEmpty() ? QStringLiteral("\"name\" is missing or not text")
                                      : QStringLiteral("a key below it has no \"name\" text"));
        return name.toString();
    }

    static void validateName(const QString &name, int line, const QStringList &path)
    {
        try {
            ConfigPath::validateName(name);
        } catch (const Err &e) {
            fail(line, path, e.description());
        }
    }

    void readChild(const QJsonObject &key, ConfigNode &parent, const QStringList &parentPath)
    {
        const int line = nextLine();
        const QString name = nameOf(key, line, parentPath);
        const QStringList path = QStringList(parentPath) << name;
        validateName(name, line, path);
        if (parent.child(ConfigPath::foldCase(name)))
            fail(line, path,
                 QStringLiteral("a key of that name (ignoring case) appears twice at this level"));
        if (path.size() > ConfigPath::MaxDepth)
            fail(line, path, QStringLiteral("deeper than %1 keys").arg(ConfigPath::MaxDepth));
        readContent(key, parent.addChild(name), path, line);
    }

    void readContent(const QJsonObject &key, ConfigNode &node, const QStringList &path, int line)
    {
        for (auto it = key.begin(); it != key.end(); ++it) {
            if (it.key() != NameMember && it.key() != ValueMember && it.key() != KeysMember)
                fail(line, path, QStringLiteral("unknown member \"%1\"").arg(it.key()));
        }
        readValue(key.value(ValueMember), node, path, line);

        const QJsonValue keys = key.value(KeysMember);
        if (keys.isUndefined())
            return;
        if (!keys.isArray())
            fail(line, path, QStringLiteral("\"keys\" must be an array of key objects"));
        const QJsonArray children = keys.toArray();
        for (qsizetype i = 0; i < children.size(); ++i) {
            if (!children.at(i).isObject())
                fail(line, path,
                     QStringLiteral("entry %1 of \"keys\" is not a key object").arg(i + 1));
            readChild(children.at(i).toObject(), node, path);
        }
    }

    static void readValue(const QJsonValue &value, ConfigNode &node, const QStringList &path,
                          int line)
    {
        if (value.isUndefined())
            return;
        if (value.isString()) {
            const QString text = value.toString();
            if (text.size() > MaxValueLength)
                fail(line, path,
                     QStringLiteral("the value is longer than %1 characters").arg(MaxValueLength));
            node.value = text;
            return;
        }
        if (!value.isDouble())
            fail(line, path, QStringLiteral("\"value\" must be text or a whole number"));
        const double number = value.toDouble();
        if (number != std::floor(number) || number < std::numeric_limits<qint32>::min() ||
            number > std::numeric_limits<qint32>::max())
            fail(line, path,
                 QStringLiteral("the value %1 is not a whole number in 32-bit range")
                     .arg(QString::number(number, 'g', 12)));
        node.value = qint32(number);
    }

    const QList<int> &m_objectLines;
    int m_nextObject;
};

// A document that parsed, its strings as written, and where its objects open.
struct ParsedDocument
{
    QJsonObject top;
    QList<int> objectLines;
};

ParsedDocument parse(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        failAt(lineAt(json, error.offset), error.errorString());
    const JsonTextScan scan(json);
    if (!document.isObject())
        failAt(1, QStringLiteral("the document is not a JSON object"));
    return {document.object(), scan.objectLines()};
}

std::shared_ptr<FreeConfigTree> readTree(const ParsedDocument &document, const QJsonObject &key,
                                         int firstObject)
{
    auto tree = std::make_shared<FreeConfigTree>();
    KeyReader(document.objectLines, firstObject).readRoot(key, tree->rootNode());
    return tree;
}

} // namespace

QJsonObject ConfigJson::toObject(const ConfigTree &tree)
{
    QJsonObject key{{NameMember, tree.RootName()}};
    if (const std::optional<ConfigValue> value = tree.ReadValue(QString())) {
        key.insert(ValueMember, std::visit([](const auto &v) { return QJsonValue(v); }, *value));
    }
    QJsonArray children;
    const KeyNameList names = tree.ChildNames(QString());
    for (const QString &name : names.names())
        children.append(toObject(*tree.OpenSubTree(name)));
    if (!children.isEmpty())
        key.insert(KeysMember, children);
    return key;
}

QByteArray ConfigJson::toJson(const ConfigTree &tree)
{
    return QJsonDocument(toObject(tree)).toJson(QJsonDocument::Indented);
}

std::shared_ptr<FreeConfigTree> ConfigJson::fromJson(const QByteArray &json)
{
    const ParsedDocument document = parse(json);
    return readTree(document, document.top, 0);
}

std::shared_ptr<FreeConfigTree> ConfigJson::fromJson(const QByteArray &json, const QString &member,
                                                     QJsonObject *document)
{
    const ParsedDocument parsed = parse(json);
    *document = parsed.top;
    const QJsonValue key = document->value(member);
    if (!key.isObject())
        failAt(1, QStringLiteral("the document has no key object in \"%1\"").arg(member));
    // The top object is the first in the text; the key object follows it as
    // long as the members beside it hold no objects.
    return readTree(parsed, key.toObject(), 1);
}
