#pragma once

#include <support/PlatformStoreTest.h>

#include <QFile>

class ManagerTest : public PlatformStoreTest
{
protected:
    // The messages the configuration manager logged, in order.
    QStringList managerLog() const
    {
        QFile file(m_dir.filePath(QStringLiteral("log/quovira.log")));
        QStringList messages;
        if (!file.open(QIODevice::ReadOnly))
            return messages;
        const QString marker = QStringLiteral("[Kivo_CFGManager] [9999] [393] ");
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            const qsizetype at = line.indexOf(marker);
            if (at >= 0)
                messages << line.mid(at + marker.size());
        }
        return messages;
    }
};
