#pragma once

#include "tables/Kivo_TablesStore.h"

#include <platform/config/ConfigDatabase.h>

#include <kivo/runtime.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

// Each test gets its own store file, made the platform's current store, and
// the whole run logs into one temporary folder.
class TablesTestStore : public ::testing::Test
{
public:
    static QString rootPath() { return QLatin1String(Kivo_TablesStore::CFG_TABLES_PATH); }

    static void SetUpTestSuite()
    {
        static QTemporaryDir logFolder;
        qputenv("KIVO_LOG_DIR", QFile::encodeName(logFolder.path()));
        s_logFile = logFolder.filePath(QStringLiteral("quovira.log"));
    }

protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        const std::u16string file = m_folder.filePath(QStringLiteral("store.db")).toStdU16String();
        ASSERT_EQ(SetPlatformValue(u"ConfigStoreFile", file.c_str()), S_OK);
    }

    void TearDown() override { SetPlatformValue(u"ConfigStoreFile", nullptr); }

    // Writes the tables straight into the store, in the stored format.
    static void store(const QList<TableRecord> &tables)
    {
        Kivo_TablesStore writer;
        writer.setTables(tables);
        writer.SaveCfgTables();
    }

    static QList<TableRecord> readBack()
    {
        Kivo_TablesStore reader;
        reader.ReadCfgTables();
        return reader.tables();
    }

    static QString logText()
    {
        QFile file(s_logFile);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    inline static QString s_logFile;

private:
    QTemporaryDir m_folder;
};
