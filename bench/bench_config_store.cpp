// The configuration store against in-memory floors measured in the same run:
// loading a 30,000-code tree, random path reads, and the CPU cost of durable
// writes (WAL, synchronous=FULL) against the same writes without syncing,
// with the user part of a single write's CPU time as its own counter.
#include "AcrKeyPaths.h"
#include "UserCpuTime.h"

#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"
#include "platform/config/StoreConnection.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>

namespace {

const QString CodeTreeParent =
    QStringLiteral("Corvalis\\system\\applications\\quovira\\teachingfile");
const QString CodeTreePath = CodeTreeParent + QStringLiteral("\\ACR_codes");
constexpr int CodeCount = 30000;

// A store whose durability can be lowered, for the floor of the write cost.
class TunableDatabase : public ConfigDatabase
{
public:
    using ConfigDatabase::ConfigDatabase;
    void setSynchronousOff() { m_connection->execute("PRAGMA synchronous=OFF"); }
};

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
    QString flatFile = dir.filePath(QStringLiteral("codes.txt"));
    FreeConfigTree memoryTree;
    QStringList randomPaths;

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
        }
        ConfigDatabase(storeFile).AttachTree(CodeTreeParent, memoryTree);
        QRandomGenerator random(42);
        for (int i = 0; i < 1000; ++i)
            randomPaths.append(codes.keyPaths[random.bounded(int(codes.keyPaths.size()))] +
                               QStringLiteral("\\description"));
    }
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
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

void BM_LoadTree(benchmark::State &state)
{
    ConfigDatabase db(fixture().storeFile);
    for (auto _ : state) {
        std::shared_ptr<FreeConfigTree> tree = db.LoadTree(CodeTreePath);
        benchmark::DoNotOptimize(tree);
    }
}
BENCHMARK(BM_LoadTree)->Unit(benchmark::kMillisecond);

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

void BM_RandomReads(benchmark::State &state)
{
    ConfigDatabase db(fixture().storeFile);
    const ConfigTreePtr codes = db.OpenSubTree(CodeTreePath);
    for (auto _ : state) {
        for (const QString &path : fixture().randomPaths)
            benchmark::DoNotOptimize(codes->ReadString(path));
    }
}
BENCHMARK(BM_RandomReads)->Unit(benchmark::kMillisecond);

// Floor: the same 1,000 look-ups in the in-memory tree.
void BM_RandomReadsFloor_Memory(benchmark::State &state)
{
    for (auto _ : state) {
        for (const QString &path : fixture().randomPaths)
            benchmark::DoNotOptimize(fixture().memoryTree.ReadString(path));
    }
}
BENCHMARK(BM_RandomReadsFloor_Memory)->Unit(benchmark::kMillisecond);

// A 2,000-key subtree swapped in, and a single value written: with
// synchronous=FULL (state.range(0) == 1) and, as the floor, OFF.
void BM_SwapTree(benchmark::State &state)
{
    const bool durable = state.range(0) == 1;
    TunableDatabase db(
        scratchFile(durable ? QStringLiteral("swap_full.db") : QStringLiteral("swap_off.db")));
    if (!durable)
        db.setSynchronousOff();
    FreeConfigTree layout;
    layout.RenameRoot(QString(), QStringLiteral("form_layout"));
    for (int i = 0; i < 2000; ++i)
        layout.WriteLong(QStringLiteral("set%1\\text\\top").arg(i), i);
    db.AttachTree(QStringLiteral("app"), layout);
    for (auto _ : state)
        db.SwapTree(layout, *db.OpenSubTree(QStringLiteral("app\\form_layout")),
                    QStringLiteral("app"));
    state.SetLabel(durable ? "synchronous=FULL" : "synchronous=OFF (floor)");
}
BENCHMARK(BM_SwapTree)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_WriteString(benchmark::State &state)
{
    const bool durable = state.range(0) == 1;
    TunableDatabase db(
        scratchFile(durable ? QStringLiteral("write_full.db") : QStringLiteral("write_off.db")));
    if (!durable)
        db.setSynchronousOff();
    int i = 0;
    const double userBefore = userCpuMicroseconds();
    for (auto _ : state)
        db.WriteString(QStringLiteral("app\\value"), QString::number(i++));
    state.counters["user_us"] =
        benchmark::Counter(userCpuMicroseconds() - userBefore, benchmark::Counter::kAvgIterations);
    state.SetLabel(durable ? "synchronous=FULL" : "synchronous=OFF (floor)");
}
BENCHMARK(BM_WriteString)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
