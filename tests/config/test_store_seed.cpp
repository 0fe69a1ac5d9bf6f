// Seeding a new store while another process starts on it too.
#include "config/StoreSeed.h"

#include <support/ChildProcess.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Writes a byte to a pipe the first time the store is asked whether a key
// exists: the moment the seeding process has judged the store fresh or not.
class WatchedDatabase : public ConfigDatabase
{
public:
    WatchedDatabase(const QString &file, int lookedFd) : ConfigDatabase(file), m_lookedFd(lookedFd)
    {
    }

protected:
    bool keyExists(const ConfigPath &path) const override
    {
        const bool exists = ConfigDatabase::keyExists(path);
        if (m_lookedFd >= 0 && write(m_lookedFd, "l", 1) == 1)
            m_lookedFd = -1;
        return exists;
    }

private:
    mutable int m_lookedFd;
};

} // namespace

// Guards against seeding on the strength of a freshness check made before
// the write lock: a process that wrote the store after the check, while this
// one waited for the lock, would find its write replaced by the samples.
TEST(StoreSeed, WriteLandingAfterTheFreshnessCheckIsNotReplaced)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("store.db"));
    ConfigDatabase{file}; // the schema, before either process starts
    const QString siteCode =
        QLatin1String(StoreSeed::TeachingFilePath) + QStringLiteral("\\ACR_codes\\9\\description");
    int locked[2];
    int looked[2];
    ASSERT_EQ(pipe(locked), 0);
    ASSERT_EQ(pipe(looked), 0);
    const pid_t writer = spawn([&] {
        close(locked[0]);
        close(looked[1]);
        ConfigDatabase store(file);
        auto transaction = store.transaction();
        store.WriteString(siteCode, QStringLiteral("site code"));
        char byte = 0;
        if (write(locked[1], "w", 1) != 1 || read(looked[0], &byte, 1) != 1)
            return 10;
        transaction.commit();
        return 0;
    });
    close(locked[1]);
    close(looked[0]);
    char byte = 0;
    ASSERT_EQ(read(locked[0], &byte, 1), 1) << "the writer did not take the write lock";

    WatchedDatabase store(file, looked[1]);
    EXPECT_FALSE(seedStore(store, false));
    close(looked[1]);
    close(locked[0]);
    EXPECT_EQ(exitCode(writer), 0);
    EXPECT_EQ(store.ReadString(siteCode), QStringLiteral("site code"));
}
