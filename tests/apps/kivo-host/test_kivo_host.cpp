#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

struct HostRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

class KivoHost : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    HostRun run(const QStringList &arguments, const QString &store) const
    {
        QProcess process;
        // Nothing of the user's own store, records or log may be touched.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.path());
        environment.insert(QStringLiteral("KIVO_LOG_DIR"), m_dir.path());
        environment.remove(QStringLiteral("KIVO_STORE"));
        QStringList command{QStringLiteral(KIVO_HOST_BINARY), QStringLiteral("--store"), store,
                            QStringLiteral("--records"), path(QStringLiteral("records.db"))};
        command += arguments;
        // A real X server, as on a workstation, when the machine has one to
        // start; otherwise the offscreen platform.
        const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (xvfbRun.isEmpty()) {
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        } else {
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            command.prepend(QStringLiteral("-a"));
            command.prepend(xvfbRun);
        }
        process.setProcessEnvironment(environment);
        process.start(command.takeFirst(), command);
        EXPECT_TRUE(process.waitForFinished(120000));
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // The value the host saved under tag for its first study, read as any
    // other program would read the records database.
    QString savedValue(const char *tag) const
    {
        sqlite3 *db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(path(QStringLiteral("records.db")).toUtf8().constData(), &db,
                                  SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        sqlite3_stmt *query = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db,
                                     "SELECT v.value FROM teaching_file_values v"
                                     " WHERE v.tag = ?1 AND v.study_id ="
                                     " (SELECT id FROM studies ORDER BY study_date, id LIMIT 1)",
                                     -1, &query, nullptr),
                  SQLITE_OK);
        sqlite3_bind_text(query, 1, tag, -1, SQLITE_STATIC);
        QString value;
        if (sqlite3_step(query) == SQLITE_ROW)
            value =
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(query, 0)));
        sqlite3_finalize(query);
        sqlite3_close(db);
        return value;
    }

    QTemporaryDir m_dir;
};

} // namespace

// Guards against a host that loses what the user submitted, submits without
// the question being answered, or reseeds a store that already exists.
TEST_F(KivoHost, DemoSubmitSavesTheEntryInTheRecordsDatabase)
{
    const QString store = path(QStringLiteral("config.db"));
    const HostRun first =
        run({QStringLiteral("--demo-submit"), QStringLiteral("Night sweats")}, store);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("Created the configuration store")));
    EXPECT_EQ(savedValue("KESTO_TF_HISTORY"), QStringLiteral("Night sweats"));
    EXPECT_EQ(savedValue("KESTO_TF_SUBMITTED_BY"), QStringLiteral("RADIOLOGIST"));
    EXPECT_EQ(savedValue("KESTO_TF_MODALITY"), QStringLiteral("CT"));

    // The second entry opens the saved record and adds to it.
    const HostRun second =
        run({QStringLiteral("--demo-submit"), QStringLiteral(", weight loss")}, store);
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_FALSE(second.out.contains(QStringLiteral("Created the configuration store")));
    EXPECT_EQ(savedValue("KESTO_TF_HISTORY"), QStringLiteral("Night sweats, weight loss"));
}

// Guards against a host that carries on, or crashes, when its store cannot
// be opened (the reason must reach the user and the run must end), and
// against a screenshot that is empty or silently not written.
TEST_F(KivoHost, ScreenshotDrawsTheFilledWindowOnlyFromAStoreThatOpens)
{
    const QString image = path(QStringLiteral("window.png"));
    const HostRun failed = run({QStringLiteral("--screenshot"), image}, m_dir.path());
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains(QStringLiteral("kivo-host:"))) << failed.err.toStdString();
    EXPECT_FALSE(QFile::exists(image));

    const HostRun result =
        run({QStringLiteral("--screenshot"), image}, path(QStringLiteral("config.db")));
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QImage shot(image);
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 300);
    EXPECT_GT(shot.height(), 300);
}
