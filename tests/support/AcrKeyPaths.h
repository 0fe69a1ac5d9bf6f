#pragma once

#include <QStringList>

// Key paths of codes in the ACR digit hierarchy ("1\12\123"): 1..9, then ten
// children each, breadth first, until count codes exist.
inline QStringList acrKeyPaths(int count)
{
    QStringList keyPaths;
    for (int digit = 1; digit <= 9 && keyPaths.size() < count; ++digit)
        keyPaths << QString::number(digit);
    for (qsizetype i = 0; keyPaths.size() < count; ++i) {
        const QString code = keyPaths[i].section(QLatin1Char('\\'), -1);
        for (int digit = 0; digit <= 9 && keyPaths.size() < count; ++digit)
            keyPaths << keyPaths[i] + QLatin1Char('\\') + code + QString::number(digit);
    }
    return keyPaths;
}
