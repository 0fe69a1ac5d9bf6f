#include "InstallLocation.h"

#include "platform/config/ConfigDatabase.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

namespace InstallLocation {

QString toLocalSeparators(const QString &storePath)
{
    QString path = storePath;
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString configuredRoot()
{
    const QString root = ConfigDatabase::GlobalValue(QStringLiteral("CorvalisRoot"));
    return root.isEmpty() ? QString() : QDir::cleanPath(toLocalSeparators(root));
}

QString componentFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void *>(&componentFolder), &info) && info.dli_fname) {
        const QFileInfo binary(QString::fromLocal8Bit(info.dli_fname));
        // The main program may be reported by the name it was started with;
        // only a library's name is reliably absolute.
        if (binary.isAbsolute())
            return binary.absolutePath();
    }
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

QString root()
{
    const QString configured = configuredRoot();
    return configured.isEmpty() ? componentFolder() : configured;
}

QString resolve(const QString &storePath)
{
    const QString path = toLocalSeparators(storePath);
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    return QDir::cleanPath(root() + QLatin1Char('/') + path);
}

} // namespace InstallLocation
