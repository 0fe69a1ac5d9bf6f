// kivo-cfg import of the 30,000-code tree's export against its floor measured
// in the same run: loading the same tree from the store and swapping it back
// in (LoadTree + SwapTree), the store work an import cannot do without. The
// ratio counter is import over floor in user CPU time, which the other
// processes on a shared machine disturb less than wall time.
#include "AcrKeyPaths.h"
#include "UserCpuTime.h"

#include "platform/config/ConfigDatabase.h"
#include "platform/config/ConfigJson.h"
#include "platform/config/ConfigNode.h"
#include "platform/config/FreeConfigTree.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString CodeTreeParent =
    QStringLiteral("Corvalis\\system\\applications\\quovira\\teachingfile");
const QString CodeTreeName = QStringLiteral("ACR_codes");
const QString CodeTreePath = CodeTreeParent + QLatin1Char('\\') + CodeTreeName;
constexpr int CodeCount = 30000;

// The store holding the code tree, a description below every code, and the
// tree's export.
struct Fixture
{
    QTemporaryDir dir;
    QString storeFile = dir.filePath(QStringLiteral("bench.db"));
    QByteArray json;

    Fixture()
    {
        FreeConfigTree tree;
        tree.RenameRoot(QString(), CodeTreeName);
        for (const QString &keyPath : acrKeyPaths(CodeCount))
            tree.WriteString(keyPath + QStringLiteral("\\description"),
                             QStringLiteral("Description of code %1, anatomy region")
                                 .arg(keyPath.section(QLatin1Char('\\'), -1)));
        ConfigDatabase store(storeFile);
        store.AttachTree(CodeTreeParent, tree);
        json = ConfigJson::toJson(*store.LoadTree(CodeTreePath));
    }
};

// What kivo-cfg import does once the file is read.
void import(ConfigDatabase &store, const QByteArray &json)
{
    const auto tree = ConfigJson::fromJson(json);
    tree->RenameRoot(tree->RootName(), CodeTreeName);
    auto transaction = store.transaction();
    store.AttachTree(CodeTreeParent, *tree);
    transaction.commit();
}

void loadAndSwap(ConfigDatabase &store)
{
    const std::shared_ptr<FreeConfigTree> tree = store.LoadTree(CodeTreePath);
    store.SwapTree(*tree, *store.OpenSubTree(CodeTreePath), CodeTreeParent);
}

// Import and floor alternate, so that both see the same load on the machine.
void BM_ImportAgainstLoadAndSwap(benchmark::State &state)
{
    static Fixture fixture;
    ConfigDatabase store(fixture.storeFile);
    double importUs = 0;
    double floorUs = 0;
    for (auto _ : state) {
        const double start = userCpuMicroseconds();
        import(store, fixture.json);
        const double imported = userCpuMicroseconds();
        loadAndSwap(store);
        importUs += imported - start;
        floorUs += userCpuMicroseconds() - imported;
    }
    state.counters["import_ms"] =
        benchmark::Counter(importUs / 1000, benchmark::Counter::kAvgIterations);
    state.counters["floor_ms"] =
        benchmark::Counter(floorUs / 1000, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = importUs / floorUs;
    state.SetLabel(QStringLiteral("%1 keys, %2 MB of JSON")
                       .arg(store.LoadTree(CodeTreePath)->rootNode().countNodes())
                       .arg(double(fixture.json.size()) / 1e6, 0, 'f', 1)
                       .toStdString());
}
BENCHMARK(BM_ImportAgainstLoadAndSwap)->Unit(benchmark::kMillisecond)->MinTime(5);

} // namespace

BENCHMARK_MAIN();
