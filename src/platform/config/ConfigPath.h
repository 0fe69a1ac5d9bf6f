#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A validated store path: key names joined by "\" without a leading or
// trailing "\"; the empty path is the tree's own root. Names keep their case;
// keys are found ignoring ASCII case, by `key()`: the path ASCII-lower-cased
// in UTF-8, made once with the path, as a store looks keys up by it.
class ConfigPath
{
public:
    static constexpr int MaxNameLength = 255;
    static constexpr int MaxDepth = 64;
    // How many parsed paths a thread keeps for reuse.
    static constexpr int MaxCachedPaths = 2048;

    ConfigPath() = default;
    // Throws Err (InvalidPath, NameTooLong) for a malformed path.
    static ConfigPath parse(const QString &path);
    // The same, for reads: callers read the same paths over and over, so a
    // path parsed before in this thread is not parsed again. (Writes do not
    // use it: building a tree writes thousands of paths once each.)
    static ConfigPath parseCached(const QString &path);
    static ConfigPath fromNames(QStringList names); // each name validated

    bool isRoot() const { return m_names.isEmpty(); }
    const QStringList &names() const { return m_names; }
    QString name() const { return m_names.isEmpty() ? QString() : m_names.last(); }
    ConfigPath parent() const;
    ConfigPath child(const QString &name) const; // name validated
    ConfigPath joined(const ConfigPath &relative) const;
    QString toString() const { return m_names.join(QLatin1Char('\\')); }
    const QByteArray &key() const { return m_key; }

    static QString foldCase(const QString &text); // ASCII letters only
    // Whether name folds to folded, without building the folded copy.
    static bool foldsTo(QStringView name, QStringView folded);
    static void validateName(const QString &name);

private:
    explicit ConfigPath(QStringList names);
    ConfigPath(QStringList names, QByteArray key) : m_names(std::move(names)), m_key(std::move(key))
    {
    }

    QStringList m_names;
    QByteArray m_key;
};

// Called for every key a tree is searched or walked by: no Unicode tables.
inline bool ConfigPath::foldsTo(QStringView name, QStringView folded)
{
    if (name.size() != folded.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char16_t c = name[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c += u'a' - u'A';
        if (c != folded[i].unicode())
            return false;
    }
    return true;
}
