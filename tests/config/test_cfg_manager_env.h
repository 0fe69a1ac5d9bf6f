#pragma once

#include "platform/config/ConfigDatabase.h"

#include <kivo/runtime.h>

#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// Each test gets its own store file and log folder, and starts with none of
// the platform values a host sets (neither set by the host nor inherited
// from the environment of whoever runs the tests).
class ManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *name :
             {"KIVO_CURR_USER", "KIVO_CORVALIS_ROOT", "KIVO_CURR_MACHINE", "KIVO_STORE"})
            ::unsetenv(name);
        ::setenv("KIVO_LOG_DIR", qPrintable(m_dir.filePath(QStringLiteral("log"))), 1);
        m_file = m_dir.filePath(QStringLiteral("config.db"));
        clearPlatformValues();
        setPlatformValue(QStringLiteral("ConfigStoreFile"), m_file);
    }

    void TearDown() override
    {
        clearPlatformValues();
        setPlatformValue(QStringLiteral("ConfigStoreFile"), QString());
    }

    static void setPlatformValue(const QString &name, const QString &value)
    {
        SetPlatformValue(reinterpret_cast<const OLECHAR *>(name.utf16()),
                         reinterpret_cast<const OLECHAR *>(value.utf16()));
    }

    static void clearPlatformValues()
    {
        for (const char *name : {"CurrUser", "CorvalisRoot", "CurrMachine"})
            setPlatformValue(QLatin1String(name), QString());
    }

    ConfigDatabase store() const { return ConfigDatabase(m_file); }

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

    // Every value below path, keyed by its path relative to path, so that
    // two trees can be compared whole.
    static QMap<QString, QString> flatten(const ConfigTree &tree, const QString &path = QString())
    {
        QMap<QString, QString> values;
        const KeyNameList names = tree.ChildNames(path);
        for (const QString &name : names.names()) {
            const QString child = path.isEmpty() ? name : path + QLatin1Char('\\') + name;
            if (const auto value = tree.ReadValue(child)) {
                values.insert(child, std::holds_alternative<qint32>(*value)
                                         ? QString::number(std::get<qint32>(*value))
                                         : QLatin1String("\"") + std::get<QString>(*value) +
                                               QLatin1String("\""));
            }
            values.insert(flatten(tree, child));
        }
        return values;
    }

    QTemporaryDir m_dir;
    QString m_file;
};
