// Design mode on the shown teaching-file window, each measure against its
// floor in the same run:
//  - a field's label dragged across the form (press, 100 mouse moves,
//    release), against a plain QLabel in a plain parent moved with
//    QWidget::move to the same 100 points, with the same mouse events sent
//    and the same event processing after every step;
//  - Save Layout of the layout as seeded and with every caption edited,
//    against the very keys that save writes put into a copy of the store
//    with bare SQLite calls: one transaction, WAL and synchronous=FULL as the
//    store runs, each key replacing its previous row. Both sync, so the user
//    part of their CPU time is a counter of its own.
#include "UserCpuTime.h"

#include "config/Kivo_CFGManager.h"
#include "config/StoreSeed.h"
#include "form/Kivo_UIManager.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/ui/TwipsGeometry.h"

#include <kivo/runtime.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int MoveCount = 100;
// Where the drag takes hold of the label, in the label's pixels.
const QPoint Grab(3, 3);

void setPlatformValue(const char16_t *name, const QString &value)
{
    SetPlatformValue(name, reinterpret_cast<const OLECHAR *>(value.utf16()));
}

// The teaching-file window on a freshly seeded store of its own, the seeded
// radiologist (who may edit the layout) logged in, shown and in design mode.
class DesignedForm
{
public:
    DesignedForm()
    {
        setPlatformValue(u"ConfigStoreFile", storeFile());
        setPlatformValue(u"CurrUser", QStringLiteral("radiologist"));
        {
            ConfigDatabase store;
            seedStore(store, true);
        }
        m_manager = std::make_unique<Kivo_CFGManager>();
        m_manager->Init();
        Kivo_CFGManager::setInstance(m_manager.get());
        m_form = std::make_unique<Kivo_UIManager>();
        m_form->InitAndUpdateUIFields(nullptr);
        m_form->setDesignMode(true);
        m_form->AppShow();
        if (!QTest::qWaitForWindowExposed(m_form.get()))
            qFatal("the teaching-file window was not shown");
        m_form->EnterDesignMode();
    }

    ~DesignedForm()
    {
        m_form->Uninitialize();
        m_form.reset();
        Kivo_CFGManager::setInstance(nullptr);
        m_manager->Uninitialize();
    }

    Kivo_UIManager &form() const { return *m_form; }
    QLabel *firstLabel() const { return m_form->fieldSets().first().label; }
    QString storeFile() const { return m_dir.filePath(QStringLiteral("config.db")); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Kivo_CFGManager> m_manager;
    std::unique_ptr<Kivo_UIManager> m_form;
};

// --- the drag ----------------------------------------------------------------

// The left button pressed, held or let go at pos (pixels of widget).
void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// MoveCount evenly spaced points after from, the last one at to.
QVector<QPoint> pathAcross(const QPoint &from, const QPoint &to)
{
    QVector<QPoint> path;
    for (int i = 1; i <= MoveCount; ++i)
        path.append(from + (to - from) * i / MoveCount);
    return path;
}

// The same offset for both drags: half the form's width and a quarter of
// its height, which keeps the mouse inside the window.
QPoint dragOffset(const QWidget &form)
{
    return QPoint(form.width() / 2, form.height() / 4);
}

// Presses on label, moves the mouse over area along path and lets go at
// its end, the events processed after every step as the event loop would
// between two mouse events. follow, when given, runs after each move.
void drag(QWidget *label, QWidget *area, const QVector<QPoint> &path,
          const std::function<void(const QPoint &)> &follow = {})
{
    sendMouse(label, QEvent::MouseButtonPress, Grab);
    QCoreApplication::processEvents();
    for (const QPoint &to : path) {
        sendMouse(area, QEvent::MouseMove, to);
        if (follow)
            follow(to);
        QCoreApplication::processEvents();
    }
    sendMouse(area, QEvent::MouseButtonRelease, path.last());
    QCoreApplication::processEvents();
}

void dragField(benchmark::State &state, const DesignedForm &designed)
{
    QLabel *label = designed.firstLabel();
    QWidget *area = label->parentWidget();
    const QRect home = TwipsGeometry::geometry(label);
    const QPoint start = label->pos() + Grab;
    const QVector<QPoint> path = pathAcross(start, start + dragOffset(designed.form()));
    // A drag that does not drop the label under the mouse measures nothing.
    drag(label, area, path);
    if (label->pos() != path.last() - Grab)
        qFatal("the drag did not move the label");
    for (auto _ : state) {
        state.PauseTiming();
        TwipsGeometry::setGeometry(label, home);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        drag(label, area, path);
    }
    // The next run (the benchmark makes several) starts from the same place.
    TwipsGeometry::setGeometry(label, home);
}

// Floor: a plain QLabel with the field label's caption and place, in a
// plain parent of the form's size, moved to each point the mouse reaches.
void dragFloor(benchmark::State &state, const DesignedForm &designed)
{
    const QLabel *fieldLabel = designed.firstLabel();
    QWidget parent;
    parent.resize(designed.form().size());
    auto *label = new QLabel(fieldLabel->text(), &parent);
    label->setGeometry(fieldLabel->geometry());
    parent.show();
    if (!QTest::qWaitForWindowExposed(&parent))
        qFatal("the floor's window was not shown");
    const QPoint home = label->pos();
    const QVector<QPoint> path = pathAcross(home + Grab, home + Grab + dragOffset(parent));
    const auto follow = [label](const QPoint &to) { label->move(to - Grab); };
    for (auto _ : state) {
        state.PauseTiming();
        label->move(home);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        drag(label, &parent, path, follow);
    }
}

// --- the save ----------------------------------------------------------------

struct StatementFinalizer
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
struct ValueFree
{
    void operator()(sqlite3_value *value) const { sqlite3_value_free(value); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;
using Value = std::unique_ptr<sqlite3_value, ValueFree>;

// A bare SQLite connection to a store file, failing loudly.
class BareStore
{
public:
    explicit BareStore(const QString &file)
    {
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, SQLITE_OPEN_READWRITE,
                            nullptr) != SQLITE_OK)
            fail("opening");
    }
    ~BareStore() { sqlite3_close_v2(m_db); }
    BareStore(const BareStore &) = delete;
    BareStore &operator=(const BareStore &) = delete;

    void execute(const char *sql)
    {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(sql);
    }

    Statement prepare(const char *sql)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            fail(sql);
        return Statement(statement);
    }

    [[noreturn]] void fail(const char *what) const { qFatal("%s: %s", what, sqlite3_errmsg(m_db)); }

private:
    sqlite3 *m_db = nullptr;
};

// One row of the store's keys table, as SQLite holds it.
struct KeyRow
{
    QByteArray parent;
    QByteArray fname;
    QByteArray name;
    sqlite3_int64 ord = 0;
    Value value;
};

// Every row save inserts or updates in the store's keys table, caught by
// triggers while it runs; a key written twice counts once, as last written.
std::vector<KeyRow> rowsWrittenBy(const QString &storeFile, const std::function<void()> &save)
{
    BareStore store(storeFile);
    store.execute(R"(
CREATE TABLE bench_written AS SELECT parent, fname, name, ord, value FROM keys WHERE 0;
CREATE TRIGGER bench_inserted AFTER INSERT ON keys BEGIN
    INSERT INTO bench_written VALUES (NEW.parent, NEW.fname, NEW.name, NEW.ord, NEW.value);
END;
CREATE TRIGGER bench_updated AFTER UPDATE ON keys BEGIN
    INSERT INTO bench_written VALUES (NEW.parent, NEW.fname, NEW.name, NEW.ord, NEW.value);
END;
)");
    save();
    std::vector<KeyRow> rows;
    {
        Statement written = store.prepare(R"(
SELECT parent, fname, name, ord, value FROM bench_written AS w
WHERE rowid = (SELECT max(rowid) FROM bench_written WHERE parent = w.parent AND fname = w.fname)
ORDER BY rowid)");
        const auto text = [&written](int column) {
            return QByteArray(
                reinterpret_cast<const char *>(sqlite3_column_text(written.get(), column)));
        };
        while (sqlite3_step(written.get()) == SQLITE_ROW) {
            rows.push_back({text(0), text(1), text(2), sqlite3_column_int64(written.get(), 3),
                            Value(sqlite3_value_dup(sqlite3_column_value(written.get(), 4)))});
        }
    }
    store.execute("DROP TRIGGER bench_inserted; DROP TRIGGER bench_updated; "
                  "DROP TABLE bench_written;");
    return rows;
}

// The rows a Save Layout of the shown form writes over a layout saved
// before, as every save does but the user's first, which also makes the
// keys the field types' captions go under.
std::vector<KeyRow> rowsOfARepeatedSave(const DesignedForm &designed)
{
    designed.form().SaveLayout();
    return rowsWrittenBy(designed.storeFile(), [&designed] { designed.form().SaveLayout(); });
}

// What the save floor needs: the rows a Save Layout writes, and a copy of
// the store after that save to write them into.
struct SaveFloorData
{
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("floor.db"));
    std::vector<KeyRow> rows;

    explicit SaveFloorData(const DesignedForm &designed) : rows(rowsOfARepeatedSave(designed))
    {
        if (rows.empty())
            qFatal("Save Layout wrote nothing");
        BareStore store(designed.storeFile());
        Statement copy = store.prepare("VACUUM INTO ?1");
        const QByteArray target = QFile::encodeName(file);
        sqlite3_bind_text(copy.get(), 1, target.constData(), int(target.size()), SQLITE_STATIC);
        if (sqlite3_step(copy.get()) != SQLITE_DONE)
            store.fail("copying the store");
    }
};

// Saves the layout as seeded (state.range(0) == 0) or with every caption
// edited before each save (1): SQLite writes no page for a value rewritten
// unchanged, so the two differ by what writing the edited captions costs.
void saveLayout(benchmark::State &state, const DesignedForm &designed, const SaveFloorData &floor)
{
    const bool editCaptions = state.range(0) == 1;
    QStringList captions;
    for (const FieldSet &set : designed.form().fieldSets())
        captions.append(set.label->text());
    const auto setCaptions = [&designed, &captions](const QString &suffix) {
        for (qsizetype i = 0; i < captions.size(); ++i)
            designed.form().fieldSets()[i].label->setText(captions[i] + suffix);
    };
    int round = 0;
    const double userBefore = userCpuMicroseconds();
    for (auto _ : state) {
        if (editCaptions) {
            state.PauseTiming();
            setCaptions(QString::number(++round % 2));
            state.ResumeTiming();
        }
        designed.form().SaveLayout();
    }
    state.counters["user_us"] =
        benchmark::Counter(userCpuMicroseconds() - userBefore, benchmark::Counter::kAvgIterations);
    state.counters["keys"] = double(floor.rows.size());
    state.SetLabel(editCaptions ? "every caption edited" : "layout as seeded");
    setCaptions(QString());
}

// Floor: each key bound and stepped into one INSERT OR REPLACE, which puts
// it in place of its previous row as the save replaces the stored layout.
void saveFloor(benchmark::State &state, const SaveFloorData &floor)
{
    BareStore store(floor.file);
    store.execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
    Statement insert =
        store.prepare("INSERT OR REPLACE INTO keys (parent, fname, name, ord, value) "
                      "VALUES (?1, ?2, ?3, ?4, ?5)");
    sqlite3_stmt *row = insert.get();
    const double userBefore = userCpuMicroseconds();
    for (auto _ : state) {
        store.execute("BEGIN IMMEDIATE");
        for (const KeyRow &key : floor.rows) {
            sqlite3_bind_text(row, 1, key.parent.constData(), int(key.parent.size()),
                              SQLITE_STATIC);
            sqlite3_bind_text(row, 2, key.fname.constData(), int(key.fname.size()), SQLITE_STATIC);
            sqlite3_bind_text(row, 3, key.name.constData(), int(key.name.size()), SQLITE_STATIC);
            sqlite3_bind_int64(row, 4, key.ord);
            sqlite3_bind_value(row, 5, key.value.get());
            if (sqlite3_step(row) != SQLITE_DONE)
                store.fail("writing a key");
            sqlite3_reset(row);
        }
        store.execute("COMMIT");
    }
    state.counters["user_us"] =
        benchmark::Counter(userCpuMicroseconds() - userBefore, benchmark::Counter::kAvgIterations);
    state.counters["keys"] = double(floor.rows.size());
}

// The offscreen platform cannot grab the mouse and says so at every drag;
// the drag's events are sent to the form's widgets all the same.
QtMessageHandler messageOutput = nullptr;

void dropGrabWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message != QLatin1String("This plugin does not support grabbing the mouse"))
        messageOutput(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    messageOutput = qInstallMessageHandler(dropGrabWarnings);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir logDir;
    qputenv("KIVO_LOG_DIR", QFile::encodeName(logDir.path()));
    const DesignedForm designed;
    const SaveFloorData saveFloorData(designed);

    // The fixtures outlive every run; the benchmarks get references to them.
    benchmark::RegisterBenchmark("BM_DragField", dragField, std::cref(designed))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DragFloor_PlainLabel", dragFloor, std::cref(designed))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SaveLayout", saveLayout, std::cref(designed),
                                 std::cref(saveFloorData))
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SaveFloor_BareSqlite", saveFloor, std::cref(saveFloorData))
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
