// The ACR picker on a 30,000-code tree in a store file, against the floor:
// the same tree read from a flat file and one level painted in a plain list,
// Qt and the C++ library alone. Opening the picker measures the floor in the
// same iteration and reports the ratio. Then one level change into 100
// children. Reading the tree and opening the picker run on the SQLite file
// and on a PostgreSQL store holding the same tree, over its Unix socket.
#include "AcrKeyPaths.h"
#include "PgTestServer.h"
#include "PickerBenchMain.h"

#include "common/QV_ResourceSettings.h"
#include "pickers/Kivo_ACRCodeFrm.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"

#include <kivo/runtime.h>

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

const QString TreeParent = QStringLiteral("Corvalis\\system\\applications\\quovira\\teachingfile");
constexpr int CodeCount = 30000;
constexpr int WideLevelSize = 100;

// Codes in the ACR digit hierarchy (1..9, then ten children each, breadth
// first), plus the region 0 whose level holds WideLevelSize codes.
struct BenchStore
{
    QTemporaryDir dir;
    QString storeFile = dir.filePath(QStringLiteral("bench.db"));
    QString flatFile = dir.filePath(QStringLiteral("codes.txt"));

    BenchStore()
    {
        QStringList keyPaths = acrKeyPaths(CodeCount);
        keyPaths << QStringLiteral("0");
        for (int i = 0; i < WideLevelSize; ++i)
            keyPaths << QStringLiteral("0\\0%1").arg(i, 3, 10, QLatin1Char('0'));

        FreeConfigTree tree;
        tree.RenameRoot(QString(), QStringLiteral("ACR_codes"));
        QFile flat(flatFile);
        if (!flat.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(flatFile));
        for (const QString &keyPath : keyPaths) {
            const QString description = QStringLiteral("Description of code %1")
                                            .arg(keyPath.section(QLatin1Char('\\'), -1));
            tree.WriteString(keyPath + QStringLiteral("\\description"), description);
            flat.write((keyPath + QLatin1Char('\t') + description + QLatin1Char('\n')).toUtf8());
        }
        ConfigDatabase(storeFile).AttachTree(TreeParent, tree);
        if (pgServer.isRunning())
            ConfigDatabase(pgServer.uri()).AttachTree(TreeParent, tree);
    }

    PgTestServer pgServer;
};

BenchStore &store()
{
    static BenchStore instance;
    return instance;
}

// The floor: read every code from the flat file into a parent -> children
// index, then show and paint the top level in a plain list.
void readFlatFileIntoList(QListWidget &list)
{
    QFile file(store().flatFile);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no flat file");
    QHash<QString, QStringList> children;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0)
            continue;
        const QString keyPath = QString::fromUtf8(line.left(tab));
        const QString description = QString::fromUtf8(line.mid(tab + 1));
        const qsizetype slash = keyPath.lastIndexOf(QLatin1Char('\\'));
        children[slash < 0 ? QString() : keyPath.left(slash)]
            << keyPath.mid(slash + 1) + QStringLiteral("        ") + description;
    }
    list.clear();
    list.addItems(children.value(QString()));
    list.repaint();
}

struct FloorList : QListWidget
{
    FloorList()
    {
        resize(360, 454);
        show();
    }
};

void BM_FloorFlatFileAndPlainList(benchmark::State &state)
{
    FloorList list;
    for (auto _ : state)
        readFlatFileIntoList(list);
}

// This thread's CPU time, user and system.
double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Makes the benchmark's store current while it lives: the SQLite file, or
// with state.range(0) 1 the PostgreSQL store (the benchmark skipped when no
// server could be started). The file is current again afterwards.
class BackendChoice
{
public:
    explicit BackendChoice(benchmark::State &state)
    {
        const bool onPostgres = state.range(0) != 0;
        if (onPostgres && !store().pgServer.isRunning()) {
            state.SkipWithError(
                qPrintable(QStringLiteral("no PostgreSQL server: ") + store().pgServer.error()));
            return;
        }
        m_usable = true;
        use(onPostgres ? store().pgServer.uri() : store().storeFile);
        state.SetLabel(onPostgres ? "PostgreSQL" : "SQLite");
    }
    ~BackendChoice() { use(store().storeFile); }
    BackendChoice(const BackendChoice &) = delete;
    BackendChoice &operator=(const BackendChoice &) = delete;

    bool usable() const { return m_usable; }

private:
    static void use(const QString &storeName)
    {
        SetPlatformValue(u"ConfigStoreFile", reinterpret_cast<const OLECHAR *>(storeName.utf16()));
    }

    bool m_usable = false;
};

// The store's part of opening: reading the whole tree into memory. Freeing
// the previous tree is not part of it.
void BM_LoadTreeFromStore(benchmark::State &state)
{
    const BackendChoice backend(state);
    if (!backend.usable())
        return;
    ConfigDatabase database;
    std::shared_ptr<FreeConfigTree> tree;
    for (auto _ : state) {
        tree = database.LoadTree(TreeParent + QStringLiteral("\\ACR_codes"));
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
}

// Opening the picker as on the first Init of a process: load the dialog,
// read the tree from the store, show and paint the top level.
// The floor runs in the same iteration, untimed by the benchmark; the ratios
// are of the sums of the picker's and the floor's CPU time.
void BM_OpenAcrPicker(benchmark::State &state)
{
    const BackendChoice backend(state);
    if (!backend.usable())
        return;
    Kivo_ACRCodeFrm picker;
    FloorList floorList;
    double pickerCpu = 0;
    double floorCpu = 0;
    for (auto _ : state) {
        // Letting go of the last tree belongs to closing, not to opening.
        state.PauseTiming();
        picker.Uninitialize();
        state.ResumeTiming();
        const double pickerStart = threadCpuSeconds();
        QTimer::singleShot(0, &picker, [&picker] {
            picker.repaint();
            picker.reject();
        });
        QString code;
        bool cancelled = false;
        picker.Init(nullptr, code, cancelled);
        pickerCpu += threadCpuSeconds() - pickerStart;

        state.PauseTiming();
        const double floorStart = threadCpuSeconds();
        readFlatFileIntoList(floorList);
        floorCpu += threadCpuSeconds() - floorStart;
        state.ResumeTiming();
    }
    state.counters["floor_cpu_ms"] = floorCpu * 1e3 / double(state.iterations());
    state.counters["cpu_ratio"] = pickerCpu / floorCpu;
}

// Opening it again later in the process: the tree is already in memory.
void BM_ReopenAcrPicker(benchmark::State &state)
{
    Kivo_ACRCodeFrm picker;
    QString code;
    bool cancelled = false;
    QTimer::singleShot(0, &picker, &QDialog::reject);
    picker.Init(nullptr, code, cancelled);
    for (auto _ : state) {
        QTimer::singleShot(0, &picker, [&picker] {
            picker.repaint();
            picker.reject();
        });
        picker.Init(nullptr, code, cancelled);
    }
}

// Choosing the region whose level holds 100 codes: the list is refilled
// and the dialog painted. Going back to the top is not timed.
void BM_AcrLevelChangeInto100(benchmark::State &state)
{
    Kivo_ACRCodeFrm picker;
    QTimer::singleShot(0, &picker, [&picker, &state] {
        auto *list = picker.findChild<QListWidget *>(QStringLiteral("mainList"));
        auto *anatomy = picker.findChild<QPushButton *>(QStringLiteral("cmdAnatomy"));
        const int row = list->count() - 1; // region 0 was stored last
        const QPoint at = list->visualItemRect(list->item(row)).center();
        for (auto _ : state) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            picker.repaint();
            state.PauseTiming();
            if (list->count() != WideLevelSize)
                state.SkipWithError("the wide level was not shown");
            QTest::mouseClick(anatomy, Qt::LeftButton);
            state.ResumeTiming();
        }
        picker.reject();
    });
    QString code;
    bool cancelled = false;
    picker.Init(nullptr, code, cancelled);
}

} // namespace

BENCHMARK(BM_FloorFlatFileAndPlainList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTreeFromStore)->ArgName("postgres")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAcrPicker)->ArgName("postgres")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReopenAcrPicker)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AcrLevelChangeInto100)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runPickerBenchmarks(argc, argv, [] { return store().storeFile; });
}
