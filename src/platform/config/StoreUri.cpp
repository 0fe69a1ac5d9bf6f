#include "StoreUri.h"

#include <QRegularExpression>

bool StoreUri::isPostgres(const QString &store)
{
    return store.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           store.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

bool StoreUri::hasScheme(const QString &store)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(store).hasMatch();
}

QString StoreUri::masked(const QString &text)
{
    // The user part of a URI ends at its last "@" before the host: a
    // password may itself hold "@" when not percent-encoded.
    static const QRegularExpression userPassword(QStringLiteral("(://[^\\s/?#:@]*:)[^\\s/?#]*@"));
    static const QRegularExpression passwordParameter(
        QStringLiteral("((?:[?&]|\\s|^)password\\s*=\\s*)('[^']*'|[^\\s&]*)"),
        QRegularExpression::CaseInsensitiveOption);
    QString result = text;
    result.replace(userPassword, QStringLiteral("\\1***@"));
    result.replace(passwordParameter, QStringLiteral("\\1***"));
    return result;
}
