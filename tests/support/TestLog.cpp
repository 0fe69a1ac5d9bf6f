#include "TestLog.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

} // namespace

namespace TestLog {

void useTemporaryFolder()
{
    qputenv("KIVO_LOG_DIR", folder().path().toUtf8());
}

int count(const QString &source, const QString &message)
{
    QFile file(folder().filePath(QStringLiteral("quovira.log")));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    // Each line ends in "[source] [constant] [module] message".
    const QString marker = QLatin1Char('[') + source + QLatin1String("] ");
    int found = 0;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        const qsizetype at = line.indexOf(marker);
        if (at >= 0 && line.endsWith(QLatin1String("] ") + message))
            ++found;
    }
    return found;
}

} // namespace TestLog
