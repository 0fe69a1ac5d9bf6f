#pragma once

#include <QString>
#include <QStringList>

// A validated store path: key names joined by "\" without a leading or
// trailing "\"; the empty path is the tree's own root. Names keep their case;
// `folded()` is the ASCII-lower-cased form used to look them up, as keys are
// found ignoring ASCII case.
class ConfigPath
{
public:
    static constexpr int MaxNameLength = 255;
    static constexpr int MaxDepth = 64;

    ConfigPath() = default;
    // Throws Err (InvalidPath, NameTooLong) for a malformed path.
    static ConfigPath parse(const QString &path);
    static ConfigPath fromNames(QStringList names); // each name validated

    bool isRoot() const { return m_names.isEmpty(); }
    const QStringList &names() const { return m_names; }
    QString name() const { return m_names.isEmpty() ? QString() : m_names.last(); }
    ConfigPath parent() const;
    ConfigPath child(const QString &name) const; // name validated
    ConfigPath joined(const ConfigPath &relative) const;
    QString toString() const { return m_names.join(QLatin1Char('\\')); }
    QString folded() const { return foldCase(toString()); }

    static QString foldCase(const QString &text); // ASCII letters only
    static void validateName(const QString &name);

private:
    explicit ConfigPath(QStringList names) : m_names(std::move(names)) {}
    QStringList m_names;
};
