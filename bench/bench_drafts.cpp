// Drafts and typing. On the shown teaching-file window, 1,000 keystrokes in
// the History box, each timed from the key press to the box painted, with
// drafts on (the record has a key) and off (it has none), in alternating
// blocks of 100 so that the machine's load falls on both alike. With drafts
// on, every keystroke comes right after a draft write was handed to the
// writer thread (the window lost the focus, which writes at once): the
// worst a user can meet, since typing at any speed otherwise only restarts
// the debounce timer. Then the cost of one draft write on its own, synced
// to the disk, as the writer thread pays it.
#include "StudyRecord.h"
#include "UserCpuTime.h"

#include "config/Kivo_CFGManager.h"
#include "config/StoreSeed.h"
#include "drafts/DraftStore.h"
#include "form/FieldTextBox.h"
#include "form/Kivo_UIManager.h"
#include "platform/config/ConfigDatabase.h"

#include <kivo/runtime.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int Keystrokes = 1000;
constexpr int BlockSize = 100;

void setPlatformValue(const char16_t *name, const QString &value)
{
    SetPlatformValue(name, reinterpret_cast<const OLECHAR *>(value.utf16()));
}

QMap<QString, QString> recordValues(bool keyed)
{
    QMap<QString, QString> values{
        {QStringLiteral("KESTO_TF_DIAGNOSIS"), QStringLiteral("Pneumonia")}};
    if (keyed)
        values.insert(QStringLiteral("KIVO_ENTRY_KEY"), QStringLiteral("bench-study"));
    return values;
}

// The teaching-file window on a seeded store of its own, its log and drafts
// in a folder of their own, shown.
class ShownForm
{
public:
    ShownForm()
    {
        qputenv("KIVO_LOG_DIR", m_dir.path().toUtf8());
        setPlatformValue(u"ConfigStoreFile", m_dir.filePath(QStringLiteral("config.db")));
        setPlatformValue(u"CurrUser", QStringLiteral("radiologist"));
        {
            ConfigDatabase store;
            seedStore(store, true);
        }
        m_manager = std::make_unique<Kivo_CFGManager>();
        m_manager->Init();
        Kivo_CFGManager::setInstance(m_manager.get());
        m_form = std::make_unique<Kivo_UIManager>();
        m_form->InitAndUpdateUIFields(m_keyless.get());
        m_form->ViewOnly(0);
        m_form->AppShow();
        if (!QTest::qWaitForWindowExposed(m_form.get()))
            qFatal("the teaching-file window was not shown");
    }

    ~ShownForm()
    {
        m_form->Uninitialize();
        m_form.reset();
        Kivo_CFGManager::setInstance(nullptr);
        m_manager->Uninitialize();
    }

    // Shows the record with or without a key, History empty again.
    QPlainTextEdit *startEntry(bool drafts)
    {
        m_form->UpdateUIFields(drafts ? m_keyed.get() : m_keyless.get());
        QPlainTextEdit *box = m_form->fieldSets().first().text;
        box->setFocus();
        QApplication::processEvents();
        return box;
    }

    QWidget *window() const { return m_form.get(); }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Kivo_CFGManager> m_manager;
    std::unique_ptr<Kivo_UIManager> m_form;
    ComRef<StudyRecord> m_keyed = StudyRecord::create(1, recordValues(true));
    ComRef<StudyRecord> m_keyless = StudyRecord::create(2, recordValues(false));
};

// Microseconds from the key press to the box painted.
double keystroke(QWidget *window, QPlainTextEdit *box, QChar character)
{
    // Drafts on: the previous keystroke's draft goes to the writer now.
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(window, &deactivate);
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
    QApplication::sendEvent(box, &release);
    box->viewport()->repaint();
    return double(timer.nsecsElapsed()) / 1000.0;
}

// The value below which share of values lie (0.5: the median).
double quantile(std::vector<double> values, double share)
{
    const auto at = values.begin() + std::ptrdiff_t(double(values.size() - 1) * share);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

void keystrokeToPaint(benchmark::State &state)
{
    ShownForm shown;
    for (auto _ : state) {
        std::vector<double> off, on;
        for (int block = 0; block < 2 * Keystrokes / BlockSize; ++block) {
            const bool drafts = block % 2 == 1;
            QPlainTextEdit *box = shown.startEntry(drafts);
            for (int i = 0; i < BlockSize; ++i) {
                const QChar character = QLatin1Char(i % 10 == 9 ? ' ' : char('a' + i % 26));
                (drafts ? on : off).push_back(keystroke(shown.window(), box, character));
                // What the event loop does between two keys.
                QApplication::processEvents();
            }
        }
        state.counters["off_median_us"] = quantile(off, 0.5);
        state.counters["off_p99_us"] = quantile(off, 0.99);
        state.counters["off_worst_us"] = quantile(off, 1.0);
        state.counters["on_median_us"] = quantile(on, 0.5);
        state.counters["on_p99_us"] = quantile(on, 0.99);
        state.counters["on_worst_us"] = quantile(on, 1.0);
        state.counters["worst_on_per_off"] =
            state.counters["on_worst_us"] / state.counters["off_worst_us"];
    }
}

// One draft of a filled form replacing the previous one, synced.
void draftWrite(benchmark::State &state)
{
    QTemporaryDir dir;
    DraftStore store(dir.filePath(QStringLiteral("drafts.db")));
    Draft draft{QStringLiteral("bench-study"),
                QStringLiteral("radiologist"),
                QStringLiteral("ws-01"),
                QDateTime::currentDateTimeUtc(),
                {}};
    for (const char *tag : {"KESTO_TF_HISTORY", "KESTO_TF_DIAGNOSIS", "KESTO_TF_FINDINGS",
                            "KESTO_TF_DIFFERENTIAL", "KESTO_TF_DISCUSSION"})
        draft.values.insert(QLatin1String(tag), QString(400, QLatin1Char('x')));
    std::vector<double> wall;
    const double userBefore = userCpuMicroseconds();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        store.write(draft);
        wall.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    state.counters["median_us"] = quantile(wall, 0.5);
    state.counters["worst_us"] = quantile(wall, 1.0);
    state.counters["user_cpu_us"] = (userCpuMicroseconds() - userBefore) / double(wall.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("BM_KeystrokeToPaint", keystrokeToPaint)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("BM_DraftWrite", draftWrite)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(200);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
