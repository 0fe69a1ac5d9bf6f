#include "ConfigDatabase.h"

#include "FreeConfigTree.h"
#include "StoreBackend.h"
#include "platform/BstrText.h"
#include "platform/Err.h"

#include <kivo/runtime.h>

#include <QDir>
#include <QHash>

namespace {

QString platformValue(const QString &name)
{
    BSTR value = nullptr;
    if (GetPlatformValue(reinterpret_cast<const OLECHAR *>(name.utf16()), &value) != S_OK)
        return QString();
    const QString text = fromBstr(value);
    SysFreeString(value);
    return text;
}

} // namespace

ConfigDatabase::ConfigDatabase() : ConfigDatabase(defaultFile()) {}

ConfigDatabase::ConfigDatabase(const QString &file)
    : StoreTree(StoreBackend::open(file.isEmpty() ? defaultFile() : file), ConfigPath())
{
}

ConfigDatabase::~ConfigDatabase() = default;

QString ConfigDatabase::defaultFile()
{
    const QString configured = GlobalValue(QStringLiteral("ConfigStoreFile"));
    if (!configured.isEmpty())
        return configured;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and is ignored.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/kivo/config.db");
}

QString ConfigDatabase::file() const
{
    return m_backend->location();
}

QString ConfigDatabase::displayName() const
{
    return m_backend->name();
}

bool ConfigDatabase::hasStore() const
{
    return m_backend->hasStore();
}

QString ConfigDatabase::GlobalValue(const QString &name)
{
    static const QHash<QString, const char *> environmentNames = {
        {QStringLiteral("CurrUser"), "KIVO_CURR_USER"},
        {QStringLiteral("CorvalisRoot"), "KIVO_CORVALIS_ROOT"},
        {QStringLiteral("CurrMachine"), "KIVO_CURR_MACHINE"},
        {QStringLiteral("ConfigStoreFile"), "KIVO_STORE"},
    };
    if (name.isEmpty())
        return QString();
    const QString value = platformValue(name);
    if (!value.isEmpty())
        return value;
    const char *variable = environmentNames.value(name);
    return variable ? qEnvironmentVariable(variable) : QString();
}

std::shared_ptr<FreeConfigTree> ConfigDatabase::LoadTree(const QString &path) const
{
    return m_backend->load(absolute(ConfigPath::parse(path)));
}

void ConfigDatabase::SwapTree(const FreeConfigTree &newTree, const ConfigTree &oldTree,
                              const QString &parentPath)
{
    const ConfigPath parent = absolute(ConfigPath::parse(parentPath));
    if (newTree.RootName().isEmpty())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Cannot store an unnamed tree below \"%1\"").arg(parentPath));
    m_backend->replaceChild(parent, ConfigPath::foldCase(oldTree.RootName()), newTree);
}

ConfigTransaction ConfigDatabase::transaction()
{
    return ConfigTransaction(m_backend);
}
