#include "ConfigTree.h"

#include "FreeConfigTree.h"
#include "platform/Err.h"

namespace {

// A string reads as an integer only when it is exactly a whole number that
// fits 32 bits: an optional sign and digits, no blanks, no fraction.
std::optional<qint32> wholeNumber(const QString &text)
{
    const qsizetype firstDigit =
        (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) ? 1 : 0;
    if (text.size() == firstDigit)
        return std::nullopt;
    for (qsizetype i = firstDigit; i < text.size(); ++i) {
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() ||
        number > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(number);
}

std::optional<qint32> asLong(const std::optional<ConfigValue> &value)
{
    if (!value)
        return std::nullopt;
    if (const qint32 *number = std::get_if<qint32>(&*value))
        return *number;
    return wholeNumber(std::get<QString>(*value));
}

std::optional<QString> asString(const std::optional<ConfigValue> &value)
{
    if (!value)
        return std::nullopt;
    if (const qint32 *number = std::get_if<qint32>(&*value))
        return QString::number(*number);
    return std::get<QString>(*value);
}

} // namespace

QString ConfigTree::ReadString(const QString &path) const
{
    return ReadStringOr(path, QString());
}

qint32 ConfigTree::ReadLong(const QString &path) const
{
    return ReadLongOr(path, -1);
}

QString ConfigTree::ReadStringOr(const QString &path, const QString &defaultValue) const
{
    return asString(ReadValue(path)).value_or(defaultValue);
}

qint32 ConfigTree::ReadLongOr(const QString &path, qint32 defaultValue) const
{
    return asLong(ReadValue(path)).value_or(defaultValue);
}

std::optional<ConfigValue> ConfigTree::ReadValue(const QString &path) const
{
    return readValue(ConfigPath::parseCached(path));
}

void ConfigTree::WriteString(const QString &path, const QString &value)
{
    if (value.size() > MaxValueLength)
        throw Err(Err::ValueTooLong,
                  QStringLiteral("The value for \"%1\" is longer than %2 characters")
                      .arg(path.left(300))
                      .arg(MaxValueLength));
    writeValue(ConfigPath::parse(path), value);
}

void ConfigTree::WriteLong(const QString &path, qint32 value)
{
    writeValue(ConfigPath::parse(path), value);
}

ConfigTreePtr ConfigTree::OpenSubTree(const QString &path) const
{
    return openSubTree(ConfigPath::parseCached(path));
}

int ConfigTree::ChildCount(const QString &path) const
{
    return childCount(ConfigPath::parseCached(path));
}

ConfigTreePtr ConfigTree::ChildAt(const QString &path, int index) const
{
    const ConfigPath parent = ConfigPath::parseCached(path);
    if (index < 0)
        return nullptr;
    const QStringList names = childNames(parent);
    if (index >= names.size())
        return nullptr;
    return openSubTree(parent.child(names[index]));
}

KeyNameList ConfigTree::ChildNames(const QString &path) const
{
    return KeyNameList(childNames(ConfigPath::parseCached(path)));
}

bool ConfigTree::KeyExists(const QString &path) const
{
    return keyExists(ConfigPath::parseCached(path));
}

void ConfigTree::DeleteKey(const QString &path)
{
    deleteKey(ConfigPath::parse(path));
}

QString ConfigTree::RootName() const
{
    return rootName();
}

void ConfigTree::RenameRoot(const QString &oldName, const QString &newName)
{
    if (ConfigPath::foldCase(oldName) != ConfigPath::foldCase(rootName()))
        return;
    try {
        ConfigPath::validateName(newName);
    } catch (const Err &e) {
        throw Err(e.number(),
                  QStringLiteral("Cannot rename \"%1\": %2").arg(oldName, e.description()));
    }
    renameRoot(newName);
}

void ConfigTree::AttachTree(const QString &parentPath, const FreeConfigTree &tree)
{
    const ConfigPath parent = ConfigPath::parse(parentPath);
    if (tree.RootName().isEmpty())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Cannot attach an unnamed tree below \"%1\"").arg(parentPath));
    attachTree(parent, tree);
}
