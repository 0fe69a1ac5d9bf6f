// The configuration store against floors measured in the same run: loading a
// 30,000-code tree, random path reads, the CPU cost of durable writes (WAL,
// synchronous=FULL) against the same writes without syncing, and the size of
// the file. The loading, reads, swap and write run once more on a PostgreSQL
// store (a throwaway server over its Unix socket), compared with SQLite in
// wall time: the server's work is not the benchmark's CPU time.
//
// A floor is the same work with none of the store's code: plain structures
// built from a flat file, a plain hash, the bare SQLite calls. The summary
// printed after the run gives every ratio against those lean floors; the
// older floors, which run our own in-memory tree, stay as extra columns.
#include "AcrKeyPaths.h"
#include "PgTestServer.h"
#include "UserCpuTime.h"

#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"
#include "platform/config/StoreConnection.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

const QString CodeTreeParent =
    QStringLiteral("Corvalis\\system\\applications\\quovira\\teachingfile");
const QString CodeTreePath = CodeTreeParent + QStringLiteral("\\ACR_codes");
constexpr int CodeCount = 30000;

// A SQLite store whose durability can be lowered, for the floor of the write
// cost; it reaches the connection its store shares.
class TunableDatabase : public ConfigDatabase
{
public:
    explicit TunableDatabase(const QString &file)
        : ConfigDatabase(file), m_connection(StoreConnection::open(file))
    {
    }
    void setSynchronousOff() { m_connection->execute("PRAGMA synchronous=OFF"); }
    sqlite3 *handle() const { return m_connection->handle(); }

private:
    std::shared_ptr<StoreConnection> m_connection;
};

// The case folding of key names, written out: ASCII letters only.
QString folded(QString text)
{
    for (QChar &c : text) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}

// The ACR-like code tree with a description for every code.
struct CodeData
{
    QStringList keyPaths = acrKeyPaths(CodeCount); // "1\12\123"
    QStringList descriptions;

    CodeData()
    {
        for (const QString &keyPath : keyPaths)
            descriptions.append(QStringLiteral("Description of code %1, anatomy region")
                                    .arg(keyPath.section(QLatin1Char('\\'), -1)));
    }
};

struct Fixture
{
    CodeData codes;
    QTemporaryDir dir;
    QString storeFile = dir.filePath(QStringLiteral("bench.db"));
    // Lines "1\12\123<tab>description".
    QString flatFile = dir.filePath(QStringLiteral("codes.txt"));
    // The same keys in pre-order, one a line: "depth<tab>name[<tab>value]".
    QString treeFile = dir.filePath(QStringLiteral("codes.tree"));
    FreeConfigTree memoryTree;
    QStringList randomPaths;
    QStringList foldedRandomPaths;
    // Every key's folded full path to its value, for the read floor.
    QHash<QString, QString> plainHash;

    Fixture()
    {
        memoryTree.RenameRoot(QString(), QStringLiteral("ACR_codes"));
        QFile flat(flatFile);
        flat.open(QIODevice::WriteOnly);
        QTextStream out(&flat);
        for (qsizetype i = 0; i < codes.keyPaths.size(); ++i) {
            memoryTree.WriteString(codes.keyPaths[i] + QStringLiteral("\\description"),
                                   codes.descriptions[i]);
            out << codes.keyPaths[i] << '\t' << codes.descriptions[i] << '\n';
            const QString path = folded(codes.keyPaths[i]);
            plainHash.insert(path, QString());
            plainHash.insert(path + QStringLiteral("\\description"), codes.descriptions[i]);
        }
        out.flush();
        writeTreeFile();
        ConfigDatabase(storeFile).AttachTree(CodeTreeParent, memoryTree);
        QRandomGenerator random(42);
        for (int i = 0; i < 1000; ++i) {
            randomPaths.append(codes.keyPaths[random.bounded(int(codes.keyPaths.size()))] +
                               QStringLiteral("\\description"));
            foldedRandomPaths.append(folded(randomPaths.last()));
        }
    }

    void writeTreeFile()
    {
        QFile file(treeFile);
        file.open(QIODevice::WriteOnly);
        QTextStream out(&file);
        const std::function<void(const ConfigTree &, int)> write = [&](const ConfigTree &key,
                                                                       int depth) {
            const KeyNameList names = key.ChildNames(QString());
            for (const QString &name : names.names()) {
                const std::optional<ConfigValue> value = key.ReadValue(name);
                out << depth << '\t' << name;
                if (value)
                    out << '\t' << key.ReadString(name);
                out << '\n';
                write(*key.OpenSubTree(name), depth + 1);
            }
        };
        write(memoryTree, 1);
    }
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

// The code tree on a PostgreSQL store; "" (and the benchmark skipped) when no
// server can be started.
QString pgStore(benchmark::State &state)
{
    static PgTestServer server;
    static const QString store = [] {
        if (!server.isRunning())
            return QString();
        ConfigDatabase(server.uri()).AttachTree(CodeTreeParent, fixture().memoryTree);
        return server.uri();
    }();
    if (store.isEmpty())
        state.SkipWithError(qPrintable(QStringLiteral("no PostgreSQL server: ") + server.error()));
    return store;
}

// The write measures keep to their own files, away from the code tree.
QString scratchFile(const QString &name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

void BM_WriteCodeTree(benchmark::State &state)
{
    Fixture &f = fixture();
    int run = 0;
    for (auto _ : state) {
        ConfigDatabase db(f.dir.filePath(QStringLiteral("write%1.db").arg(run++)));
        db.AttachTree(CodeTreeParent, f.memoryTree);
    }
}
BENCHMARK(BM_WriteCodeTree)->Unit(benchmark::kMillisecond)->Iterations(3);

void loadTree(benchmark::State &state, const QString &store)
{
    ConfigDatabase db(store);
    for (auto _ : state) {
        std::shared_ptr<FreeConfigTree> tree = db.LoadTree(CodeTreePath);
        benchmark::DoNotOptimize(tree);
    }
}

void BM_LoadTree(benchmark::State &state)
{
    loadTree(state, fixture().storeFile);
}
BENCHMARK(BM_LoadTree)->Unit(benchmark::kMillisecond);

void BM_LoadTreePostgres(benchmark::State &state)
{
    if (const QString store = pgStore(state); !store.isEmpty())
        loadTree(state, store);
}
BENCHMARK(BM_LoadTreePostgres)->Unit(benchmark::kMillisecond);

// Floor: the same codes parsed from a flat text file into a memory tree.
void BM_LoadTreeFloor_FlatFile(benchmark::State &state)
{
    for (auto _ : state) {
        QFile flat(fixture().flatFile);
        flat.open(QIODevice::ReadOnly);
        FreeConfigTree tree;
        tree.RenameRoot(QString(), QStringLiteral("ACR_codes"));
        const QStringList lines =
            QString::fromUtf8(flat.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &line : lines) {
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            tree.WriteString(line.left(tab) + QStringLiteral("\\description"), line.mid(tab + 1));
        }
        benchmark::DoNotOptimize(tree);
    }
}
BENCHMARK(BM_LoadTreeFloor_FlatFile)->Unit(benchmark::kMillisecond);

// Lean floor: plain nodes built straight from the pre-order file, no path
// parsing, no look-up by name.
struct PlainNode
{
    QString name;
    QString value;
    std::vector<std::unique_ptr<PlainNode>> children;
};

void BM_LoadTreeFloor_NodeTree(benchmark::State &state)
{
    for (auto _ : state) {
        QFile file(fixture().treeFile);
        file.open(QIODevice::ReadOnly);
        const QByteArray text = file.readAll();
        PlainNode root;
        std::vector<PlainNode *> ancestors{&root};
        for (qsizetype start = 0; start < text.size();) {
            const qsizetype end = text.indexOf('\n', start);
            const QByteArrayView line(text.constData() + start, end - start);
            const qsizetype nameStart = line.indexOf('\t') + 1;
            const int depth = line.first(nameStart - 1).toInt();
            qsizetype nameEnd = line.indexOf('\t', nameStart);
            auto node = std::make_unique<PlainNode>();
            node->name = QString::fromUtf8(
                line.sliced(nameStart, (nameEnd < 0 ? line.size() : nameEnd) - nameStart));
            if (nameEnd >= 0)
                node->value = QString::fromUtf8(line.sliced(nameEnd + 1));
            ancestors.resize(size_t(depth));
            ancestors.push_back(node.get());
            ancestors[size_t(depth) - 1]->children.push_back(std::move(node));
            start = end + 1;
        }
        benchmark::DoNotOptimize(root);
    }
}
BENCHMARK(BM_LoadTreeFloor_NodeTree)->Unit(benchmark::kMillisecond);

// Lean floor: a plain hash of every key's full path, folded once, to its value.
void BM_LoadTreeFloor_PlainHash(benchmark::State &state)
{
    for (auto _ : state) {
        QFile flat(fixture().flatFile);
        flat.open(QIODevice::ReadOnly);
        const QByteArray text = flat.readAll();
        QHash<QString, QString> values;
        for (qsizetype start = 0; start < text.size();) {
            const qsizetype end = text.indexOf('\n', start);
            const qsizetype tab = text.indexOf('\t', start);
            const QString path = folded(QString::fromUtf8(text.constData() + start, tab - start));
            values.insert(path, QString());
            values.insert(path + QStringLiteral("\\description"),
                          QString::fromUtf8(text.constData() + tab + 1, end - tab - 1));
            start = end + 1;
        }
        benchmark::DoNotOptimize(values);
    }
}
BENCHMARK(BM_LoadTreeFloor_PlainHash)->Unit(benchmark::kMillisecond);

// Lean floor: the bare SQLite scan of the rows LoadTree reads (the key, then
// everything below it), building nothing. The statements are the store's
// own, run straight on the file.
void BM_LoadTreeFloor_SqliteScan(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(fixture().storeFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray key = folded(CodeTreePath).toUtf8();
    const QByteArray parent = folded(CodeTreeParent).toUtf8();
    const QByteArray below = key + '\\';
    const QByteArray after = key + ']';
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *root = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT name, value FROM keys WHERE parent = (SELECT id FROM parents "
                           "WHERE path = ?1) AND fname = ?2",
                           -1, &root, nullptr);
        sqlite3_bind_text(root, 1, parent.constData(), int(parent.size()), SQLITE_STATIC);
        sqlite3_bind_text(root, 2, "acr_codes", -1, SQLITE_STATIC);
        if (sqlite3_step(root) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(root, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(root, 1));
        }
        sqlite3_finalize(root);
        sqlite3_stmt *rows = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT p.path, k.ord, k.name, k.value FROM parents p JOIN keys k ON "
                           "k.parent = p.id WHERE p.path >= ?1 AND p.path < ?3 AND (p.path = ?1 "
                           "OR p.path >= ?2) ORDER BY p.path",
                           -1, &rows, nullptr);
        sqlite3_bind_text(rows, 1, key.constData(), int(key.size()), SQLITE_STATIC);
        sqlite3_bind_text(rows, 2, below.constData(), int(below.size()), SQLITE_STATIC);
        sqlite3_bind_text(rows, 3, after.constData(), int(after.size()), SQLITE_STATIC);
        int count = 0;
        while (sqlite3_step(rows) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(rows, 0));
            benchmark::DoNotOptimize(sqlite3_column_int64(rows, 1));
            benchmark::DoNotOptimize(sqlite3_column_text(rows, 2));
            benchmark::DoNotOptimize(sqlite3_column_text(rows, 3));
            ++count;
        }
        sqlite3_finalize(rows);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        state.counters["rows"] = count;
    }
    sqlite3_close(db);
}
BENCHMARK(BM_LoadTreeFloor_SqliteScan)->Unit(benchmark::kMillisecond);

void randomReads(benchmark::State &state, const QString &store)
{
    ConfigDatabase db(store);
    const ConfigTreePtr codes = db.OpenSubTree(CodeTreePath);
    for (auto _ : state) {
        for (const QString &path : fixture().randomPaths)
            benchmark::DoNotOptimize(codes->ReadString(path));
    }
}

void BM_RandomReads(benchmark::State &state)
{
    randomReads(state, fixture().storeFile);
}
BENCHMARK(BM_RandomReads)->Unit(benchmark::kMillisecond);

void BM_RandomReadsPostgres(benchmark::State &state)
{
    if (const QString store = pgStore(state); !store.isEmpty())
        randomReads(state, store);
}
BENCHMARK(BM_RandomReadsPostgres)->Unit(benchmark::kMillisecond);

// Floor: the same 1,000 look-ups in the in-memory tree.
void BM_RandomReadsFloor_Memory(benchmark::State &state)
{
    for (auto _ : state) {
        for (const QString &path : fixture().randomPaths)
            benchmark::DoNotOptimize(fixture().memoryTree.ReadString(path));
    }
}
BENCHMARK(BM_RandomReadsFloor_Memory)->Unit(benchmark::kMillisecond);

// Lean floor: the same 1,000 look-ups in a plain hash, the paths folded up front.
void BM_RandomReadsFloor_PlainHash(benchmark::State &state)
{
    const QHash<QString, QString> &values = fixture().plainHash;
    for (auto _ : state) {
        for (const QString &path : fixture().foldedRandomPaths)
            benchmark::DoNotOptimize(values.value(path));
    }
}
BENCHMARK(BM_RandomReadsFloor_PlainHash)->Unit(benchmark::kMillisecond);

// Not a floor of the targets, for scale: the same look-ups as bare SQLite
// calls on the store file (a prepared statement bound, stepped and reset per
// read; each is a read transaction of its own, as the store's reads are).
void BM_RandomReadsBareSqlite(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(fixture().storeFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *read = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT value FROM keys WHERE parent = (SELECT id FROM parents WHERE "
                       "path = ?1) AND fname = ?2",
                       -1, &read, nullptr);
    std::vector<std::pair<QByteArray, QByteArray>> keys;
    const QString prefix = folded(CodeTreePath) + QLatin1Char('\\');
    for (const QString &path : fixture().foldedRandomPaths) {
        const QByteArray key = (prefix + path).toUtf8();
        const qsizetype separator = key.lastIndexOf('\\');
        keys.emplace_back(key.left(separator), key.mid(separator + 1));
    }
    for (auto _ : state) {
        for (const auto &[parent, name] : keys) {
            sqlite3_bind_text(read, 1, parent.constData(), int(parent.size()), SQLITE_STATIC);
            sqlite3_bind_text(read, 2, name.constData(), int(name.size()), SQLITE_STATIC);
            if (sqlite3_step(read) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_text(read, 0));
            sqlite3_reset(read);
        }
    }
    sqlite3_finalize(read);
    sqlite3_close(db);
}
BENCHMARK(BM_RandomReadsBareSqlite)->Unit(benchmark::kMillisecond);

// A 2,000-key layout, stored once below "app" of db.
FreeConfigTree storedLayout(ConfigDatabase &db)
{
    FreeConfigTree layout;
    layout.RenameRoot(QString(), QStringLiteral("form_layout"));
    for (int i = 0; i < 2000; ++i)
        layout.WriteLong(QStringLiteral("set%1\\text\\top").arg(i), i);
    db.AttachTree(QStringLiteral("app"), layout);
    return layout;
}

void swapTree(benchmark::State &state, ConfigDatabase &db, const FreeConfigTree &layout)
{
    for (auto _ : state)
        db.SwapTree(layout, *db.OpenSubTree(QStringLiteral("app\\form_layout")),
                    QStringLiteral("app"));
}

// A 2,000-key subtree swapped in, and a single value written: with
// synchronous=FULL (state.range(0) == 1) and, as the floor, OFF.
void BM_SwapTree(benchmark::State &state)
{
    const bool durable = state.range(0) == 1;
    TunableDatabase db(
        scratchFile(durable ? QStringLiteral("swap_full.db") : QStringLiteral("swap_off.db")));
    // The first write creates the file; the setting is the connection's.
    const FreeConfigTree layout = storedLayout(db);
    if (!durable)
        db.setSynchronousOff();
    swapTree(state, db, layout);
    state.SetLabel(durable ? "synchronous=FULL" : "synchronous=OFF (floor)");
}
BENCHMARK(BM_SwapTree)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_SwapTreePostgres(benchmark::State &state)
{
    const QString store = pgStore(state);
    if (store.isEmpty())
        return;
    ConfigDatabase db(store);
    swapTree(state, db, storedLayout(db));
}
BENCHMARK(BM_SwapTreePostgres)->Unit(benchmark::kMillisecond);

// One value written to a key that exists: one statement, committed.
void BM_WriteStringPostgres(benchmark::State &state)
{
    const QString store = pgStore(state);
    if (store.isEmpty())
        return;
    ConfigDatabase db(store);
    const QString path = QStringLiteral("app\\value");
    db.WriteString(path, QString());
    int i = 0;
    for (auto _ : state)
        db.WriteString(path, QString::number(i++));
}
BENCHMARK(BM_WriteStringPostgres)->Unit(benchmark::kMicrosecond);

void BM_WriteString(benchmark::State &state)
{
    const bool durable = state.range(0) == 1;
    TunableDatabase db(
        scratchFile(durable ? QStringLiteral("write_full.db") : QStringLiteral("write_off.db")));
    const QString path = QStringLiteral("app\\value");
    db.WriteString(path, QString());
    if (!durable)
        db.setSynchronousOff();
    // Every statement SQLite starts on the connection, BEGIN and COMMIT included.
    int statements = 0;
    sqlite3_trace_v2(
        db.handle(), SQLITE_TRACE_STMT,
        [](unsigned, void *count, void *, void *) {
            ++*static_cast<int *>(count);
            return 0;
        },
        &statements);
    int i = 0;
    const double userBefore = userCpuMicroseconds();
    for (auto _ : state)
        db.WriteString(path, QString::number(i++));
    state.counters["user_us"] =
        benchmark::Counter(userCpuMicroseconds() - userBefore, benchmark::Counter::kAvgIterations);
    sqlite3_trace_v2(db.handle(), 0, nullptr, nullptr);
    state.counters["statements"] =
        benchmark::Counter(statements, benchmark::Counter::kAvgIterations);
    // Writes of every run so far, the calibration runs included: the sync
    // calls strace counts for the whole program are divided by it.
    static int writesSoFar = 0;
    writesSoFar += i;
    state.counters["writes_so_far"] = writesSoFar;
    state.SetLabel(durable ? "synchronous=FULL" : "synchronous=OFF (floor)");
}
BENCHMARK(BM_WriteString)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The store file (with its write-ahead log, if any) against the flat file of
// the same codes.
void BM_StoreSize(benchmark::State &state)
{
    const Fixture &f = fixture();
    const QFileInfo wal(f.storeFile + QStringLiteral("-wal"));
    const double storeBytes =
        double(QFileInfo(f.storeFile).size() + (wal.exists() ? wal.size() : 0));
    const double flatBytes = double(QFileInfo(f.flatFile).size());
    for (auto _ : state)
        benchmark::DoNotOptimize(storeBytes);
    state.counters["store_bytes"] = storeBytes;
    state.counters["flat_bytes"] = flatBytes;
    state.counters["ratio"] = storeBytes / flatBytes;
}
BENCHMARK(BM_StoreSize)->Iterations(1);

// The console report, then every ratio against its lean floor from the same
// run, the older floors as extra columns.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            m_cpu[run.benchmark_name()] = run.GetAdjustedCPUTime();
            m_real[run.benchmark_name()] = run.GetAdjustedRealTime();
            for (const auto &counter : run.counters)
                m_counters[run.benchmark_name() + "." + counter.first] = counter.second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-44s %10s %14s\n", "ratio", "lean floor", "old floor");
        row("LoadTree / bare SQLite scan", cpu("BM_LoadTree", "BM_LoadTreeFloor_SqliteScan"));
        row("LoadTree / plain hash", cpu("BM_LoadTree", "BM_LoadTreeFloor_PlainHash"));
        row("LoadTree / node tree (old: FreeConfigTree)",
            cpu("BM_LoadTree", "BM_LoadTreeFloor_NodeTree"),
            cpu("BM_LoadTree", "BM_LoadTreeFloor_FlatFile"));
        row("1,000 random reads / plain hash (old: tree)",
            cpu("BM_RandomReads", "BM_RandomReadsFloor_PlainHash"),
            cpu("BM_RandomReads", "BM_RandomReadsFloor_Memory"));
        row("  (for scale: / bare SQLite look-ups)",
            cpu("BM_RandomReads", "BM_RandomReadsBareSqlite"));
        row("durable write user CPU / unsynced",
            counter("BM_WriteString/1.user_us") / counter("BM_WriteString/0.user_us"));
        row("statements per durable write", counter("BM_WriteString/1.statements"));
        row("store size / flat file", counter("BM_StoreSize/iterations:1.ratio"));
        std::printf("\n%-44s %10s\n", "PostgreSQL / SQLite, wall time", "ratio");
        row("LoadTree", real("BM_LoadTreePostgres", "BM_LoadTree"));
        row("1,000 random reads", real("BM_RandomReadsPostgres", "BM_RandomReads"));
        row("SwapTree of 2,000 keys (synchronous=FULL)",
            real("BM_SwapTreePostgres", "BM_SwapTree/1"));
        row("one write (synchronous=FULL)", real("BM_WriteStringPostgres", "BM_WriteString/1"));
    }

private:
    double cpu(const std::string &measured, const std::string &floor) const
    {
        const auto m = m_cpu.find(measured);
        const auto f = m_cpu.find(floor);
        return m == m_cpu.end() || f == m_cpu.end() ? NAN : m->second / f->second;
    }
    double real(const std::string &measured, const std::string &base) const
    {
        const auto m = m_real.find(measured);
        const auto b = m_real.find(base);
        return m == m_real.end() || b == m_real.end() ? NAN : m->second / b->second;
    }
    double counter(const std::string &name) const
    {
        const auto found = m_counters.find(name);
        return found == m_counters.end() ? NAN : found->second;
    }
    static void row(const char *what, double lean, double old = NAN)
    {
        if (std::isnan(old))
            std::printf("%-44s %10.2f\n", what, lean);
        else
            std::printf("%-44s %10.2f %14.2f\n", what, lean, old);
    }

    std::map<std::string, double> m_cpu;
    std::map<std::string, double> m_real;
    std::map<std::string, double> m_counters;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
