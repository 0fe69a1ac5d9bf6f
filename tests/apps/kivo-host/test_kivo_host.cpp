#include "PgTestStore.h"
#include "platform/config/ConfigDatabase.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>

#include <sqlite3.h>
#include <sys/stat.h>

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
        // Under the sanitizers, LeakSanitizer's own tracer thread sometimes
        // dies (SIGSEGV) as a kivo-host that used the DICOM network ends,
        // failing a run that leaked nothing. The host runs with every other
        // sanitizer check; the component's leaks are checked in process by
        // the host and form tests.
        const QString sanitizer = environment.value("ASAN_OPTIONS");
        if (!sanitizer.isEmpty())
            environment.insert("ASAN_OPTIONS", sanitizer + ":detect_leaks=0");
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
    // the texts bound in order, read as any other program would read it;
    // none when the file cannot answer it.
    static std::optional<QString> tryQueryText(const QString &file, const char *sql,
                                               const QStringList &texts)
    {
        sqlite3 *db = nullptr;
        sqlite3_stmt *query = nullptr;
        std::optional<QString> value;
        if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
                SQLITE_OK &&
            sqlite3_prepare_v2(db, sql, -1, &query, nullptr) == SQLITE_OK) {
            for (int i = 0; i < texts.size(); ++i)
                sqlite3_bind_text(query, i + 1, texts[i].toUtf8().constData(), -1,
                                  SQLITE_TRANSIENT);
            const int step = sqlite3_step(query);
            if (step == SQLITE_ROW)
                value = QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(query, 0)));
            else if (step == SQLITE_DONE)
                value = QString();
        }
        sqlite3_finalize(query);
        sqlite3_close(db);
        return value;
    }

    static QString queryText(const QString &file, const char *sql, const QStringList &texts)
    {
        const std::optional<QString> value = tryQueryText(file, sql, texts);
        EXPECT_TRUE(value.has_value()) << file.toStdString() << ": " << sql;
        return value.value_or(QString());
    }

    // How many drafts hold text in the workstation's drafts file; -1 while
    // there is no file that answers.
    int draftsHolding(const QString &text) const
    {
        const std::optional<QString> count =
            tryQueryText(path("teaching-file-drafts.db"),
                         "SELECT count(*) FROM drafts WHERE instr(fields, ?1) > 0", {text});
        return count ? count->toInt() : -1;
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

// Guards against typed work lost when the workstation dies mid-entry: the
// draft must reach the disk a moment after the typing, readable by the user
// only; the same study opened again must offer it, naming the entry and what
// differs, restore every field as it was and submit it into the record; and
// a draft must not outlive the submit that saved it.
TEST_F(KivoHost, AKilledWorkstationOffersTheEntryBackAsTyped)
{
    const QString store = path("config.db");
    QProcess typing;
    typing.setProcessEnvironment(environment("offscreen"));
    QStringList command = host(store) << "--demo-type"
                                      << "Pleural effusion";
    typing.start(command.takeFirst(), command);
    // The AFIP tick is the last edit: a draft with it holds all the typing.
    ASSERT_TRUE(QTest::qWaitFor([&] { return draftsHolding("\"chkAFIP\":\"Y\"") == 1; }, 60000))
        << typing.readAllStandardError().toStdString();
    struct stat status
    {
    };
    ASSERT_EQ(stat(QFile::encodeName(path("teaching-file-drafts.db")).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    typing.kill();
    ASSERT_TRUE(typing.waitForFinished(10000));
    QStringList typed;
    for (const QString &line : QString::fromLocal8Bit(typing.readAllStandardOutput()).split('\n')) {
        if (line.startsWith("Typed: "))
            typed << line.mid(7);
    }
    ASSERT_GE(typed.size(), 5);

    const HostRun reopened = run({"--demo-submit", ""}, store);
    ASSERT_EQ(reopened.exitCode, 0) << reopened.err.toStdString();
    const QString first = queryText(
        path("records.db"), "SELECT patient FROM studies ORDER BY study_date, id LIMIT 1", {});
    EXPECT_TRUE(reopened.out.contains(QRegularExpression(
        "Answered: [^\n]*" + QRegularExpression::escape(first) + "[^\n]*History")))
        << reopened.out.toStdString();
    for (const QString &value : typed) {
        EXPECT_EQ(queryText(path("records.db"),
                            "SELECT count(*) FROM teaching_file_values WHERE value = ?1", {value}),
                  "1")
            << value.toStdString();
    }
    EXPECT_EQ(savedValue("KESTO_TF_AFIP"), "Y");
    EXPECT_EQ(draftsHolding("Pleural effusion"), 0);
}

namespace {

// A tool's combined output, or an empty run when the tool is not installed.
HostRun tool(const char *name, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(QLatin1String(name));
    EXPECT_FALSE(program.isEmpty()) << name << " is not installed (scripts/setup installs it)";
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()), QString()};
}

QStringList dicomFiles(const QString &folder, const char *prefix)
{
    QStringList files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QLatin1String(prefix) + "*"}, QDir::Files))
        files << dir.filePath(name);
    return files;
}

void writeSql(const QString &file, const char *sql, const QStringList &texts)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    sqlite3_stmt *statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK);
    for (int i = 0; i < texts.size(); ++i)
        sqlite3_bind_text(statement, i + 1, texts[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

// A port nothing listens on now.
quint16 freePort()
{
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost));
    return probe.serverPort();
}

// Polls until the receiver started by the test accepts connections.
bool accepting(quint16 port)
{
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(1000))
            return true;
        // A refused connection answers at once; poll, rather than spin.
        QThread::msleep(20);
    }
    return false;
}

} // namespace

// Guards against an export that loses or garbles what was typed (non-ASCII
// text), sends empty items, drops the ACR codes or their meanings from the
// code tree, writes objects a DICOM validator rejects, or a manifest that
// does not reference the study's own images.
TEST_F(KivoHost, SubmitWithAnExportFolderWritesTheManifestAndTheReport)
{
    const QString store = path("config.db");
    ASSERT_EQ(run({"--demo-submit", "x"}, store).exitCode, 0);
    const char *firstStudy = "(SELECT id FROM studies ORDER BY study_date, id LIMIT 1)";
    const QList<QStringList> values = {
        {"KESTO_TF_HISTORY", ""},
        {"KESTO_TF_FINDINGS", "Épanchement pleural gauche, 5 cm"},
        {"KESTO_TF_DIAGNOSIS", "Empyème"},
        {"KESTO_TF_DISCUSSION", ""},
        {"KESTO_TF_ANATOMY", "62"},
        {"KESTO_TF_PATHOLOGY", "32"},
        {"KESTO_TF_ANGIOGRAPHY", "2"},
    };
    for (const QStringList &value : values)
        writeSql(path("records.db"),
                 QByteArray("INSERT OR REPLACE INTO teaching_file_values VALUES (") + firstStudy +
                     ", ?1, ?2)",
                 value);

    const QString folder = path("export");
    const HostRun result =
        run({"--demo-submit", "Fièvre, toux — 3 jours", "--export-dir", folder}, store);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("was exported to " + folder)) << result.out.toStdString();
    const QStringList manifest = dicomFiles(folder, "KO_"), report = dicomFiles(folder, "SR_");
    ASSERT_EQ(manifest.size(), 1);
    ASSERT_EQ(report.size(), 1);

    for (const QString &file : manifest + report) {
        const HostRun verified = tool("dciodvfy", {file});
        EXPECT_FALSE(verified.out.contains("Error")) << verified.out.toStdString();
    }
    const QString information = tool("dsrdump", {"+Pl", report.first()}).out;
    for (const char *item : {
             "CONTAINER:(,,\"Additional Teaching File Information\")",
             "PNAME:(,,\"Author\")=\"RADIOLOGIST\"",
             "TEXT:(,,\"History\")=\"Fièvre, toux — 3 jours\"",
             "TEXT:(,,\"Findings\")=\"Épanchement pleural gauche, 5 cm\"",
             "TEXT:(,,\"Diagnosis\")=\"Empyème\"",
             "CODE:(,,\"Radiographic anatomy\")=(62,ACR,\"Pleura\")",
             "CODE:(,,\"Pathology\")=(32,ACR,\"Abscess\")",
             "TEXT:(,,\"Radiographic anatomy\")=\"2 Cerebral and cervical arteries\"",
         })
        EXPECT_TRUE(information.contains(QString::fromUtf8(item))) << item << "\n"
                                                                   << information.toStdString();
    EXPECT_FALSE(information.contains("Discussion")) << information.toStdString();

    const QString references =
        tool("dcmdump", {"+P", "ReferencedSOPInstanceUID", manifest.first()}).out;
    const QString images =
        queryText(path("records.db"),
                  "SELECT group_concat(sop_instance_uid, ' ') FROM study_images WHERE study_id = "
                  "(SELECT id FROM studies ORDER BY study_date, id LIMIT 1)",
                  {});
    ASSERT_EQ(images.split(' ').size(), 3);
    for (const QString &image : images.split(' '))
        EXPECT_TRUE(references.contains(image)) << references.toStdString();
    const QString title = tool("dsrdump", {manifest.first()}).out;
    EXPECT_TRUE(title.contains("CONTAINER:(,,\"For Teaching File Export\")"))
        << title.toStdString();
}

// Guards against a send that is lost when the receiver is down instead of
// waiting in the outbox, an outbox that is not emptied at the next start, or
// a receiver that does not get both documents.
TEST_F(KivoHost, ExportsThatCannotBeSentGoOutAtTheNextStart)
{
    const QString store = path("config.db");
    const quint16 port = freePort();
    const QString receiver = QStringLiteral("TF@127.0.0.1:%1").arg(port);
    const HostRun down = run({"--demo-submit", "Cough", "--export-to", receiver}, store);
    ASSERT_EQ(down.exitCode, 0) << down.err.toStdString();
    EXPECT_TRUE(down.out.contains("could not be sent to " + receiver)) << down.out.toStdString();
    const QDir outbox(path("outbox"));
    EXPECT_EQ(outbox.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

    const QString received = path("received");
    ASSERT_TRUE(QDir().mkpath(received));
    QProcess storescp;
    storescp.start(QStandardPaths::findExecutable("storescp"),
                   {"-aet", "TF", "-od", received, QString::number(port)});
    ASSERT_TRUE(storescp.waitForStarted());
    ASSERT_TRUE(accepting(port));

    const HostRun up = run({"--demo-submit", "Fever", "--export-to", receiver}, store);
    storescp.kill();
    storescp.waitForFinished();
    ASSERT_EQ(up.exitCode, 0) << up.err.toStdString();
    EXPECT_EQ(up.out.count("was sent to " + receiver), 2) << up.out.toStdString();
    EXPECT_TRUE(outbox.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_EQ(dicomFiles(received, "KO").size(), 2);
    EXPECT_EQ(dicomFiles(received, "SR").size(), 2);
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
