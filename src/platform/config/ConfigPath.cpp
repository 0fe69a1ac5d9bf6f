#include "ConfigPath.h"

#include "platform/Err.h"

#include <QHash>

#include <algorithm>

namespace {

QString quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

// Names in error texts go into log files and message boxes: control
// characters are shown as escapes so the text stays on one line.
QString printable(const QString &text)
{
    QString shown;
    for (const QChar c : text) {
        if (isControl(c))
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

} // namespace

ConfigPath::ConfigPath(QStringList names)
    : m_names(std::move(names)), m_key(foldCase(m_names.join(QLatin1Char('\\'))).toUtf8())
{
}

ConfigPath ConfigPath::parseCached(const QString &path)
{
    if (path.isEmpty())
        return {};
    // Bounded simply: a thread that reads more distinct paths than this
    // starts over rather than keeping an order of use.
    thread_local QHash<QString, ConfigPath> parsed;
    const auto found = parsed.constFind(path);
    if (found != parsed.cend())
        return *found;
    ConfigPath result = parse(path);
    if (parsed.size() >= MaxCachedPaths)
        parsed.clear();
    parsed.insert(path, result);
    return result;
}

ConfigPath ConfigPath::parse(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QStringList names = path.split(QLatin1Char('\\'));
    if (names.size() > MaxDepth)
        throw Err(Err::InvalidPath,
                  QStringLiteral("The configuration path %1 is deeper than %2 keys")
                      .arg(quoted(printable(path.left(200))))
                      .arg(MaxDepth));
    for (const QString &name : names) {
        try {
            validateName(name);
        } catch (const Err &e) {
            throw Err(e.number(), QStringLiteral("Invalid configuration path %1: %2")
                                      .arg(quoted(printable(path.left(300))), e.description()));
        }
    }
    // The names joined are the path itself.
    return ConfigPath(names, foldCase(path).toUtf8());
}

ConfigPath ConfigPath::fromNames(QStringList names)
{
    if (names.size() > MaxDepth)
        throw Err(Err::InvalidPath,
                  QStringLiteral("A configuration path is deeper than %1 keys").arg(MaxDepth));
    for (const QString &name : names)
        validateName(name);
    return ConfigPath(std::move(names));
}

ConfigPath ConfigPath::parent() const
{
    if (m_names.isEmpty())
        return {};
    QStringList names = m_names;
    names.removeLast();
    // "\" is one byte in UTF-8 and never part of another character.
    const qsizetype separator = m_key.lastIndexOf('\\');
    return ConfigPath(std::move(names), separator < 0 ? QByteArray() : m_key.left(separator));
}

ConfigPath ConfigPath::child(const QString &name) const
{
    return joined(fromNames({name}));
}

ConfigPath ConfigPath::joined(const ConfigPath &relative) const
{
    if (m_names.size() + relative.m_names.size() > MaxDepth)
        throw Err(Err::InvalidPath,
                  QStringLiteral("The configuration path %1 is deeper than %2 keys")
                      .arg(quoted(toString() + QLatin1Char('\\') + relative.toString()),
                           QString::number(MaxDepth)));
    if (m_names.isEmpty())
        return relative;
    if (relative.m_names.isEmpty())
        return *this;
    return ConfigPath(m_names + relative.m_names, m_key + '\\' + relative.m_key);
}

QString ConfigPath::foldCase(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}

void ConfigPath::validateName(const QString &name)
{
    if (name.isEmpty())
        throw Err(Err::InvalidPath,
                  QStringLiteral("empty key name (a leading, trailing or doubled \"\\\")"));
    if (name.size() > MaxNameLength)
        throw Err(Err::NameTooLong,
                  QStringLiteral("the key name %1... is longer than %2 characters")
                      .arg(quoted(printable(name.left(40))))
                      .arg(MaxNameLength));
    if (name.contains(QLatin1Char('\\')))
        throw Err(Err::InvalidPath,
                  QStringLiteral("the key name %1 contains \"\\\"").arg(quoted(printable(name))));
    if (std::any_of(name.cbegin(), name.cend(), isControl))
        throw Err(Err::InvalidPath, QStringLiteral("the key name %1 contains a control character")
                                        .arg(quoted(printable(name))));
}
