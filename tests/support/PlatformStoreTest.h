#pragma once

#include "platform/config/ConfigDatabase.h"

#include <kivo/runtime.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// Each test gets its own store file and log folder (KIVO_LOG_DIR), and starts
// with none of the platform values a host sets, neither set by an earlier
// test nor inherited from the environment of whoever runs the tests: a
// login left over would let a test pass for a user it is not.
class PlatformStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *name :
             {"KIVO_CURR_USER", "KIVO_CORVALIS_ROOT", "KIVO_CURR_MACHINE", "KIVO_STORE"})
            ::unsetenv(name);
        ::setenv("KIVO_LOG_DIR", qPrintable(m_dir.filePath(QStringLiteral("log"))), 1);
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

    // A user record as the user administration writes it; an empty name
    // part is left out.
    void addUser(const QString &login, const QString &first, const QString &last, int editAllowed,
                 const QString &group = QStringLiteral("attendings")) const
    {
        const QString path = QStringLiteral("Corvalis\\system\\users\\") + login + '\\';
        ConfigDatabase db = store();
        if (!first.isEmpty())
            db.WriteString(path + QStringLiteral("first_name"), first);
        if (!last.isEmpty())
            db.WriteString(path + QStringLiteral("last_name"), last);
        db.WriteString(path + QStringLiteral("group"), group);
        db.WriteLong(path + QStringLiteral("edit_allowed"), editAllowed);
    }

    QTemporaryDir m_dir;
    const QString m_file = m_dir.filePath(QStringLiteral("config.db"));
};
