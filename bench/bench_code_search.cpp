// Searching the ACR picker on a 30,000-code tree in a store file. In one run:
// the floor of a keystroke, a plain case-blind substring scan of the same
// descriptions; the picker's keystroke, from the key to the first hits
// painted; building the search index; and opening the picker, which builds
// it, so the index's share of the open can be read off.
#include "AcrKeyPaths.h"
#include "PickerBenchMain.h"

#include "common/QV_ResourceSettings.h"
#include "pickers/Kivo_ACRCodeFrm.h"
#include "pickers/codewalk/AcrCodeWalk.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"

#include <kivo/runtime.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

const QString TreeParent = QStringLiteral("Corvalis\\system\\applications\\quovira\\teachingfile");
const QString TreePath = TreeParent + QStringLiteral("\\ACR_codes");
constexpr int CodeCount = 30000;

// Descriptions of three to five words drawn from a radiology vocabulary, a
// few accented, so that words and their starts repeat as in a real index.
QString description(int code)
{
    static const QStringList words =
        QStringLiteral(
            "Squamous cell carcinoma adenocarcinoma right left upper lower lobe lung chest "
            "fracture cyst benign malignant neoplasm inflammation abscess vascular artery vein "
            "stenosis aneurysm thrombosis pneumonia edema hemorrhage infarct m\u00E9tastase "
            "l\u00E9sion nodule mass calcification effusion pleural bronchus trachea mediastinum "
            "hilum segment apical posterior anterior medial lateral ganglion lymph node "
            "hyperplasia atrophy")
            .split(QLatin1Char(' '));
    quint32 state = quint32(code) * 2654435761u + 12345u;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    const int count = 3 + int(next() % 3);
    QStringList chosen;
    for (int i = 0; i < count; ++i)
        chosen << words[int(next() % words.size())];
    return chosen.join(QLatin1Char(' '));
}

struct BenchStore
{
    QTemporaryDir dir;
    QString storeFile = dir.filePath(QStringLiteral("bench.db"));
    QStringList descriptions;

    BenchStore()
    {
        FreeConfigTree tree;
        tree.RenameRoot(QString(), QStringLiteral("ACR_codes"));
        int code = 0;
        for (const QString &keyPath : acrKeyPaths(CodeCount)) {
            descriptions << description(code++);
            tree.WriteString(keyPath + QStringLiteral("\\description"), descriptions.last());
        }
        ConfigDatabase(storeFile).AttachTree(TreeParent, tree);
    }
};

BenchStore &store()
{
    static BenchStore instance;
    return instance;
}

// What the user has typed before the timed key, and that key.
struct Keystroke
{
    const char *before;
    char key;
};
constexpr Keystroke Keystrokes[] = {
    {"", 's'},              // the first letter: thousands of codes match
    {"squam car", 'c'},     // two word starts
    {"lesion metast", 'a'}, // typed without the accents
    {"641", '4'},           // digits
};

// The floor: the same descriptions scanned for the typed text with
// QString::contains, ignoring case; nothing of ours.
void BM_FloorSubstringScan(benchmark::State &state)
{
    const Keystroke &typed = Keystrokes[state.range(0)];
    const QString text = QLatin1String(typed.before) + QLatin1Char(typed.key);
    const QStringList &descriptions = store().descriptions;
    qsizetype found = 0;
    for (auto _ : state) {
        found = 0;
        for (const QString &description : descriptions) {
            if (description.contains(text, Qt::CaseInsensitive))
                ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}

// One key typed into the open picker's search box: the search, the hit list
// filled and its first rows painted.
void BM_SearchKeystroke(benchmark::State &state)
{
    const Keystroke &typed = Keystrokes[state.range(0)];
    Kivo_ACRCodeFrm picker;
    QTimer::singleShot(0, &picker, [&picker, &state, &typed] {
        auto *box = picker.findChild<QLineEdit *>(QStringLiteral("txtSearch"));
        auto *hits = picker.findChild<QListView *>(QStringLiteral("searchList"));
        for (auto _ : state) {
            state.PauseTiming();
            box->setText(QLatin1String(typed.before));
            state.ResumeTiming();
            QTest::keyClick(box, typed.key);
            hits->repaint();
        }
        state.counters["hits"] = double(hits->model()->rowCount());
        picker.reject();
    });
    QString code;
    bool cancelled = false;
    picker.Init(nullptr, code, cancelled);
}

// Building the search index from the tree already in memory, as every load
// of the picker does once its list is painted.
void BM_BuildSearchIndex(benchmark::State &state)
{
    const std::shared_ptr<FreeConfigTree> tree = ConfigDatabase().LoadTree(TreePath);
    AcrCodeWalk walk;
    for (auto _ : state) {
        walk.setTree(tree);
        walk.buildSearchIndex();
        state.PauseTiming();
        walk.release();
        state.ResumeTiming();
    }
}

// Opening the picker as on the first Init of a process: load the dialog,
// read the tree from the store, show and paint the top. The index is built
// once that paint is done, so it is not part of the wait.
void BM_OpenAcrPicker(benchmark::State &state)
{
    Kivo_ACRCodeFrm picker;
    for (auto _ : state) {
        state.PauseTiming();
        picker.Uninitialize();
        state.ResumeTiming();
        QTimer::singleShot(0, &picker, [&picker] {
            picker.repaint();
            picker.reject();
        });
        QString code;
        bool cancelled = false;
        picker.Init(nullptr, code, cancelled);
    }
}

} // namespace

BENCHMARK(BM_FloorSubstringScan)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchKeystroke)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildSearchIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAcrPicker)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runPickerBenchmarks(argc, argv, [] { return store().storeFile; });
}
