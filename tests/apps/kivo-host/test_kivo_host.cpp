#include "PgTestStore.h"
#include "platform/config/ConfigDatabase.h"

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
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

// Where --demo-design saw the History label, in pixels of the field area.
struct LabelPlaces
{
    QRect before, dropped, next;
};

class KivoHost : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    static HostRun exec(QStringList command, const QProcessEnvironment &environment, int ms)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(command.takeFirst(), command);
        EXPECT_TRUE(process.waitForFinished(ms));
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // Nothing of the user's own store, records or log may be touched.
    QProcessEnvironment environment(const char *platform) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", m_dir.path());
        environment.insert("KIVO_LOG_DIR", m_dir.path());
        environment.insert("QT_QPA_PLATFORM", platform);
        environment.remove("KIVO_STORE");
        return environment;
    }

    QStringList host(const QString &store) const
    {
        return {KIVO_HOST_BINARY, "--store", store, "--records", path("records.db")};
    }

    // On a real X server, as on a workstation, when the machine has one to
    // start; otherwise on the offscreen platform.
    HostRun run(const QStringList &arguments, const QString &store) const
    {
        const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
        QStringList command;
        if (!xvfb.isEmpty())
            command << xvfb << QStringLiteral("-a");
        command << host(store) << arguments;
        return exec(command, environment(xvfb.isEmpty() ? "offscreen" : "xcb"), 120000);
    }

    // The first column of the first row sql answers from the database file,
    // the texts bound in order, read as any other program would read it.
    static QString queryText(const QString &file, const char *sql, const QStringList &texts)
    {
        sqlite3 *db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        sqlite3_stmt *query = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &query, nullptr), SQLITE_OK);
        for (int i = 0; i < texts.size(); ++i)
            sqlite3_bind_text(query, i + 1, texts[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
        QString value;
        if (sqlite3_step(query) == SQLITE_ROW)
            value =
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(query, 0)));
        sqlite3_finalize(query);
        sqlite3_close(db);
        return value;
    }

    // The value the host saved under tag for its first study.
    QString savedValue(const char *tag) const
    {
        return queryText(path("records.db"),
                         "SELECT v.value FROM teaching_file_values v"
                         " WHERE v.tag = ?1 AND v.study_id ="
                         " (SELECT id FROM studies ORDER BY study_date, id LIMIT 1)",
                         {QLatin1String(tag)});
    }

    // Runs --demo-design by (dx, dy) pixels and reads where it saw the label.
    LabelPlaces demoDesign(const QString &store, int dx, int dy,
                           const QStringList &options = {}) const
    {
        const HostRun result = run(
            QStringList{QStringLiteral("--demo-design=%1,%2").arg(dx).arg(dy)} + options, store);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        // Each place as "x,y wxh".
        const QString place = "(-?\\d+),(-?\\d+) (\\d+)x(\\d+)";
        const QRegularExpressionMatch match =
            QRegularExpression("History label: before " + place + ", dropped " + place +
                               ", in the next entry " + place + "\n")
                .match(result.out);
        EXPECT_TRUE(match.hasMatch()) << result.out.toStdString();
        const auto rect = [&](int i) {
            return QRect(match.captured(i).toInt(), match.captured(i + 1).toInt(),
                         match.captured(i + 2).toInt(), match.captured(i + 3).toInt());
        };
        return {rect(1), rect(5), rect(9)};
    }

    // The History label's stored place (left, top) in twips, from the layout
    // the form saves or the default one; -1 when there is none.
    static QPoint storedLabel(const QString &store, const char *layout)
    {
        const QString parent = QStringLiteral("corvalis\\system\\applications\\quovira\\"
                                              "teachingfile\\appearance\\%1\\set1\\label")
                                   .arg(QLatin1String(layout));
        const auto value = [&](const char *name) {
            const QString text =
                queryText(store,
                          "SELECT value FROM keys WHERE parent = "
                          "(SELECT id FROM parents WHERE path = ?1) AND fname = ?2",
                          {parent, QLatin1String(name)});
            return text.isEmpty() ? -1 : text.toInt();
        };
        return {value("left"), value("top")};
    }

    QTemporaryDir m_dir;
};

} // namespace

// Guards against a host that loses what the user submitted, submits without
// the question being answered, or reseeds a store that already exists.
TEST_F(KivoHost, DemoSubmitSavesTheEntryInTheRecordsDatabase)
{
    const QString store = path("config.db");
    const HostRun first = run({"--demo-submit", "Night sweats"}, store);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains("Created the configuration store"));
    EXPECT_EQ(savedValue("KESTO_TF_HISTORY"), "Night sweats");
    EXPECT_EQ(savedValue("KESTO_TF_SUBMITTED_BY"), "RADIOLOGIST");
    EXPECT_EQ(savedValue("KESTO_TF_MODALITY"), "CT");

    // The second entry opens the saved record and adds to it.
    const HostRun second = run({"--demo-submit", ", weight loss"}, store);
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_FALSE(second.out.contains("Created the configuration store"));
    EXPECT_EQ(savedValue("KESTO_TF_HISTORY"), "Night sweats, weight loss");
}

// Guards against options read only after the window system is opened: on a
// machine without a display a wrong option aborted with the platform's error
// instead of naming the option, and --help did not answer.
TEST_F(KivoHost, OptionsAnswerWithoutADisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    const HostRun bogus = exec({KIVO_HOST_BINARY, "--bogus"}, environment, 30000);
    EXPECT_EQ(bogus.exitCode, 1);
    EXPECT_TRUE(bogus.err.contains("Unknown option 'bogus'")) << bogus.err.toStdString();

    const HostRun help = exec({KIVO_HOST_BINARY, "--help"}, environment, 30000);
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains("--demo-submit")) << help.out.toStdString();
}

// Guards against typed work lost on the keyboard-only path of a day's
// entries: the entry's window must take the keys when it opens, the
// workstation's keys must work from it, an ended entry must hide it and give
// the keys back to the study list, and every entry's text must reach the
// records database, whether kept at close or submitted.
TEST_F(KivoHost, AKeyboardOnlyDayLosesNothingTyped)
{
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty() ||
        QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "needs xvfb-run and xdotool";
    // Each step waits for what the previous key must have done.
    // clang-format off
    const char *const script = R"sh(
        "$@" &
        host=$!
        shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
        waitFor() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
        # A window other than the entry's: the question asked over it.
        waitForOther() {
            while ! other=$(shown 'Teaching File' | grep -vx "$1"); do sleep 0.02; done
            echo "$other" | head -n 1
        }
        waitGone() { while shown "$1" | grep -qx "$2"; do sleep 0.02; done; }
        waitFocus() { while focus=$(xdotool getwindowfocus) && [ "$focus" != "$1" ]; do sleep 0.02; done; }
        list=$(waitFor 'kivo-host - Studies')
        xdotool windowfocus --sync "$list"
        # Opens the study the keys select, types, presses the key that ends
        # or submits the entry, and answers the question it asks with Yes.
        entry() {
            xdotool key $1 ctrl+o
            form=$(waitFor 'Teaching File')
            waitFocus "$form"
            xdotool type "$2"
            xdotool key $3
            question=$(waitForOther "$form")
            xdotool key Return
            waitGone 'Teaching File' "$question"
        }
        # Ctrl+W keeps the changes; the list must have the keys back.
        closed() { waitGone 'Teaching File' "$form"; waitFocus "$list"; }
        entry Home 'Alpha' ctrl+w; closed
        entry Down 'Beta' ctrl+w; closed
        # Back to the first study: add to it and submit.
        entry Up ' more' ctrl+Return
        # Xvfb has no window manager to give the focus back to the window
        # under a closed dialog; do what one would.
        xdotool windowfocus --sync "$form"
        xdotool key ctrl+w
        closed
        xdotool key ctrl+q
        wait $host)sh";
    // clang-format on
    // timeout ends a step that waits for what its key did not do; the X
    // server then goes, and the host with it.
    const HostRun day =
        exec(QStringList{"xvfb-run", "-a", "timeout", "50", "sh", "-c", script, "sh"} +
                 host(path("config.db")),
             environment("xcb"), 70000);
    ASSERT_EQ(day.exitCode, 0) << "a step waited for what its key did not do\n"
                               << day.err.toStdString();

    // Every value the host saved for the study in that row of the list.
    const auto typed = [this](int row) {
        const QByteArray sql = "SELECT group_concat(value, '|') FROM teaching_file_values"
                               " WHERE study_id = (SELECT id FROM studies"
                               " ORDER BY study_date, id LIMIT 1 OFFSET " +
                               QByteArray::number(row) + ")";
        return queryText(path("records.db"), sql.constData(), {});
    };
    // Where the cursor stands in a reopened entry is the window's choice;
    // what matters is that both typings are in the record.
    EXPECT_TRUE(typed(0).contains("Alpha") && typed(0).contains(" more")) << typed(0).toStdString();
    EXPECT_TRUE(typed(1).contains("Beta")) << typed(1).toStdString();
}

// Guards against a host that carries on, or crashes, when its store cannot
// be opened (the reason must reach the user and the run must end), against
// a screenshot that is empty or silently not written, and a design-mode one
// that shows the window as it is outside design mode.
TEST_F(KivoHost, ScreenshotDrawsTheFilledWindowOnlyFromAStoreThatOpens)
{
    const QString image = path("window.png");
    const HostRun failed = run({"--screenshot", image}, m_dir.path());
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains("kivo-host:")) << failed.err.toStdString();
    EXPECT_FALSE(QFile::exists(image));

    const HostRun result = run({"--screenshot", image}, path("config.db"));
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QImage shot(image);
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 300);
    EXPECT_GT(shot.height(), 300);

    // In design mode the picture differs: the band, the handles, the status.
    const QString designImage = path("design.png");
    const HostRun design = run({"--screenshot", designImage, "--design"}, path("config.db"));
    ASSERT_EQ(design.exitCode, 0) << design.err.toStdString();
    const QImage designShot(designImage);
    ASSERT_FALSE(designShot.isNull());
    EXPECT_NE(designShot, shot);
}

// Guards against design mode that is offered to a user who may not edit the
// layout; a drag with real mouse events that does not move the field by the
// mouse's way; Save Layout storing anything but the dropped place (15 twips a
// pixel); an emptied window left up after its entry is closed; a next entry
// that does not show the field where it was dropped; and a new workstation
// whose window is not built from the stored layout.
TEST_F(KivoHost, DemoDesignStoresTheDropForTheNextWindows)
{
    const QString store = path("config.db");
    const HostRun refused = run({"--demo-design=5,5", "--login", "visitor"}, store);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("does not offer Design Mode")) << refused.err.toStdString();
    EXPECT_EQ(storedLabel(store, "form_layout"), QPoint(-1, -1));

    const LabelPlaces first = demoDesign(store, 40, 20);
    EXPECT_EQ(first.dropped, first.before.translated(40, 20));
    EXPECT_EQ(first.next, first.dropped);
    const QPoint saved = storedLabel(store, "form_layout");
    EXPECT_EQ(saved - storedLabel(store, "default_layout"), QPoint(40 * 15, 20 * 15));

    const LabelPlaces second = demoDesign(store, -25, -10);
    EXPECT_EQ(second.before, first.dropped);
    EXPECT_EQ(second.dropped, second.before.translated(-25, -10));
    EXPECT_EQ(second.next, second.dropped);
    EXPECT_EQ(storedLabel(store, "form_layout") - saved, QPoint(-25 * 15, -10 * 15));
}

// Guards against a workstation that does not build the layout another one
// saved in the site's PostgreSQL store: a second host, another login with
// its own records, starts where the first one dropped the field, and its
// own drop is what the first one builds next.
TEST_F(KivoHost, TwoWorkstationsShareTheSiteStore)
{
    KIVO_REQUIRE_PG_SERVER();
    const QString site = TempPgStore().uri;
    const LabelPlaces first = demoDesign(site, 40, 20);
    EXPECT_EQ(first.next, first.dropped);
    ConfigDatabase(site).WriteLong("Corvalis\\system\\users\\second\\edit_allowed", 1);
    const QStringList secondDesk = {"--login", "second", "--records", path("second.db")};
    const LabelPlaces second = demoDesign(site, -25, -10, secondDesk);
    EXPECT_EQ(second.before, first.dropped);
    EXPECT_EQ(demoDesign(site, 5, 5).before, second.dropped);
}
