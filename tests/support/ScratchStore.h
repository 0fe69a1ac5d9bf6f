#pragma once

#include "TestLog.h"

#include <kivo/runtime.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

// Makes the file the platform's current store, the one ConfigDatabase() opens.
inline bool useStoreFile(const QString &file)
{
    return SetPlatformValue(u"ConfigStoreFile", reinterpret_cast<const OLECHAR *>(file.utf16())) ==
           S_OK;
}

// Each test gets a store file of its own, so no test reads the user's
// settings or what another test left behind.
class ScratchStore : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid() && useStoreFile(m_file)); }
    void TearDown() override { SetPlatformValue(u"ConfigStoreFile", nullptr); }

    QTemporaryDir m_dir;
    const QString m_file = m_dir.filePath(QStringLiteral("store.db"));
};

// For a whole test program: logs go to TestLog's folder and a scratch store
// is current, then `start` (reading the UI settings, say) runs once the
// application exists. Call from a namespace-scope initializer.
inline bool startOnScratchStore(std::function<void()> start = {})
{
    struct Start : ::testing::Environment
    {
        explicit Start(std::function<void()> start) : m_start(std::move(start)) {}
        void SetUp() override
        {
            TestLog::useTemporaryFolder();
            useStoreFile(m_dir.filePath(QStringLiteral("startup.db")));
            if (m_start)
                m_start();
        }
        std::function<void()> m_start;
        QTemporaryDir m_dir;
    };
    ::testing::AddGlobalTestEnvironment(new Start(std::move(start)));
    return true;
}
