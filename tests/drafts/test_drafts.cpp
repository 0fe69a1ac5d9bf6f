#include "drafts/BackgroundDraftStore.h"
#include "drafts/DraftStore.h"
#include "platform/Err.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

mode_t modeOf(const QString &file)
{
    struct stat status
    {
    };
    EXPECT_EQ(stat(QFile::encodeName(file).constData(), &status), 0);
    return status.st_mode & 0777;
}

Draft draft(const QString &key, const QString &login, const QString &history, int daysOld = 0)
{
    return Draft{key,
                 login,
                 QStringLiteral("ws-01"),
                 QDateTime::currentDateTimeUtc().addDays(-daysOld).addMSecs(-1),
                 {{QStringLiteral("KESTO_TF_HISTORY"), history},
                  {QStringLiteral("chkAFIP"), QStringLiteral("Y")}}};
}

class Drafts : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QTemporaryDir m_dir;
    // In a folder that does not exist yet, as on a fresh account.
    const QString m_file = m_dir.filePath(QStringLiteral("state/kivo/drafts.db"));
};

} // namespace

// Guards against a drafts file others can read, a draft offered to another
// login, a later draft of an entry not replacing the earlier one, values that
// do not come back exactly, and drafts that outlive their age or their delete.
TEST_F(Drafts, KeepOneDraftPerEntryAndLoginReadableByTheUserOnly)
{
    DraftStore store(m_file);
    EXPECT_EQ(modeOf(m_file), 0600u);
    EXPECT_TRUE(store.setAsideAs().isEmpty());

    store.write(draft("study-1", "radiologist", "first", 40));
    store.write(draft("study-1", "resident", "the resident's"));
    const Draft latest = draft("study-1", "radiologist", "Cough\r\n\tfor \"three\" weeks · ü", 40);
    store.write(latest);
    const std::optional<Draft> read = store.read("study-1", "radiologist");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->values, latest.values);
    EXPECT_EQ(read->savedAt, latest.savedAt);
    EXPECT_EQ(read->workstation, "ws-01");
    EXPECT_FALSE(store.read("study-1", "visitor"));
    EXPECT_FALSE(store.read("study-2", "radiologist"));

    EXPECT_EQ(store.dropSavedBefore(QDateTime::currentDateTimeUtc().addDays(-30)), 1);
    EXPECT_FALSE(store.read("study-1", "radiologist"));
    store.remove("study-1", "resident");
    EXPECT_FALSE(store.read("study-1", "resident"));

    // A file widened by hand is narrowed again when opened.
    ASSERT_EQ(chmod(QFile::encodeName(m_file).constData(), 0644), 0);
    DraftStore reopened(m_file);
    EXPECT_EQ(modeOf(m_file), 0600u);
}

// Guards against the last drafts of a clean exit lost in the writer's queue,
// and a failure to open the file that goes unnoticed.
TEST_F(Drafts, TheWriterThreadFinishesEveryWriteBeforeItGoes)
{
    {
        BackgroundDraftStore background(m_file);
        for (int i = 0; i < 50; ++i)
            background.write(draft(QString::number(i), "radiologist", QString::number(i)));
        background.remove("0", "radiologist");
    }
    DraftStore store(m_file);
    EXPECT_FALSE(store.read("0", "radiologist"));
    const std::optional<Draft> last = store.read("49", "radiologist");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->values.value("KESTO_TF_HISTORY"), "49");

    // A folder where a file is cannot hold the drafts.
    EXPECT_THROW(BackgroundDraftStore(m_file + "/drafts.db"), Err);
}
