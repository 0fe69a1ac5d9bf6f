#include "CodeKeyPath.h"

#include <QStringList>

QString CodeKeyPath::acrAnatomy(const QString &code)
{
    QStringList names;
    for (qsizetype length = 1; length <= code.size(); ++length)
        names << code.left(length);
    return names.join(QLatin1Char('\\'));
}

QString CodeKeyPath::acrPathology(const QString &region, const QString &code)
{
    QString path = region + QLatin1Char('\\') + QLatin1String(PathologyKey);
    if (!code.isEmpty())
        path += QLatin1Char('\\') + acrAnatomy(code);
    return path;
}

QString CodeKeyPath::angio(const QString &code)
{
    if (code.isEmpty())
        return {};
    const QStringList parts = code.split(QLatin1Char('.'));
    QStringList names;
    QString prefix;
    for (const QString &part : parts) {
        if (!prefix.isEmpty())
            prefix += QLatin1Char('.');
        prefix += part;
        names << prefix;
    }
    return names.join(QLatin1Char('\\'));
}
