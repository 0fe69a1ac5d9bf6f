// From Init to the first paint of a filled teaching-file window (the layout
// read, the eleven field sets built, a record bound, also one with a
// megabyte of text), through the factory as a host calls it; against the
// floor: the same kinds and numbers of widgets created, shown and painted with
// no logic. Warm: again and again in one process, the floor painted in the
// same iteration. Cold: the first paint of a fresh process, this program run
// again with --cold, the product and the floor in turns; medians and their
// ratio, wall clock and the process's CPU time. The warm paint runs on the
// SQLite file and on a PostgreSQL store seeded alike, over its Unix socket.
#include "PgTestServer.h"
#include "StudyRecord.h"

#include "config/StoreSeed.h"

#include <kivo/TF_IUI.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolBar>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <dlfcn.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int FieldSets = 11;
constexpr int Tools = 12;

// Notes the first paint of the watched window.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(const QString &windowName) : m_windowName(windowName)
    {
        qApp->installEventFilter(this);
    }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    // Runs the event loop until the window has painted; the whole paint
    // pass, children included, is over when processEvents returns.
    void waitForPaint()
    {
        while (!m_painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == m_windowName)
            m_painted = true;
        return false;
    }

private:
    QString m_windowName;
    bool m_painted = false;
};

TF_IUI *createManager()
{
    static void *library = dlopen(KIVO_COMPONENT_FILE, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        qFatal("%s", dlerror());
    auto getClassObject =
        reinterpret_cast<DllGetClassObjectFn>(dlsym(library, KIVO_FACTORY_SYMBOL));
    IClassFactory *factory = nullptr;
    TF_IUI *manager = nullptr;
    if (!getClassObject ||
        FAILED(getClassObject(CLSID_Kivo_Manager, IID_IClassFactory,
                              reinterpret_cast<void **>(&factory))) ||
        FAILED(factory->CreateInstance(nullptr, IID_TF_IUI, reinterpret_cast<void **>(&manager))))
        qFatal("cannot create Kivo_Manager");
    factory->Release();
    return manager;
}

QMap<QString, QString> sampleRecord()
{
    return {{QStringLiteral("KESTO_TF_HISTORY"), QStringLiteral("Cough for three weeks")},
            {QStringLiteral("KESTO_TF_FINDINGS"), QStringLiteral("Right upper lobe mass")},
            {QStringLiteral("KESTO_TF_MODALITY"), QStringLiteral("CT")},
            {QStringLiteral("KESTO_TF_AFIP"), QStringLiteral("Y")},
            {QStringLiteral("KESTO_TF_ANATOMY"), QStringLiteral("6")},
            {QStringLiteral("KESTO_TF_PATHOLOGY"), QStringLiteral("45")}};
}

// state.range(0): 0 for the sample record; 1 when its Findings hold a
// megabyte in one unbroken line, 2 a megabyte in lines of 80 characters.
QMap<QString, QString> benchRecord(int kind)
{
    QMap<QString, QString> values = sampleRecord();
    if (kind == 0)
        return values;
    QString megabyte(1024 * 1024, QLatin1Char('x'));
    if (kind == 2) {
        for (qsizetype i = 79; i < megabyte.size(); i += 80)
            megabyte[i] = QLatin1Char('\n');
    }
    values.insert(QStringLiteral("KESTO_TF_FINDINGS"), megabyte);
    return values;
}

// Wall clock and the process's CPU time, user and system, since start.
class SpanClock
{
public:
    SpanClock() : m_cpuStart(processCpuSeconds()) { m_wall.start(); }
    double wallSeconds() const { return m_wall.nsecsElapsed() / 1e9; }
    double cpuSeconds() const { return processCpuSeconds() - m_cpuStart; }

private:
    static double processCpuSeconds()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }

    QElapsedTimer m_wall;
    double m_cpuStart;
};

struct Span
{
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

Span spanOf(const SpanClock &clock)
{
    return {clock.wallSeconds(), clock.cpuSeconds()};
}

// Init and Show of a new component on record, until the window has painted.
Span paintComponent(TFData *record)
{
    TF_IUI *manager = createManager();
    PaintWatch watch(QStringLiteral("Kivo_UIManager"));
    const SpanClock clock;
    if (FAILED(manager->Init()) || FAILED(manager->Show(record)))
        qFatal("the teaching-file window did not open");
    watch.waitForPaint();
    const Span span = spanOf(clock);

    manager->UnInitialize();
    manager->Release();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return span;
}

// The standard icons of the window's main band, decoded once per process as
// any application keeps them.
const QList<QIcon> &toolIcons()
{
    static const QList<QIcon> icons = [] {
        QList<QIcon> decoded;
        for (QStyle::StandardPixmap pixmap :
             {QStyle::SP_DialogApplyButton, QStyle::SP_DialogSaveButton,
              QStyle::SP_LineEditClearButton, QStyle::SP_ArrowBack, QStyle::SP_BrowserReload,
              QStyle::SP_DialogCloseButton})
            decoded << QApplication::style()->standardIcon(pixmap);
        return decoded;
    }();
    return icons;
}

// The window's widgets without the component: a toolbar with the main band's
// icons, the fixed rows and the field sets in a scroll area, each with the
// same kinds of controls.
Span paintPlainWidgets()
{
    PaintWatch watch(QStringLiteral("floor"));
    const SpanClock clock;
    auto *window = new QWidget;
    window->setObjectName(QStringLiteral("floor"));
    auto *rows = new QVBoxLayout(window);
    auto *toolBar = new QToolBar(window);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (int i = 0; i < Tools; ++i)
        toolBar->addAction(toolIcons().value(i), QStringLiteral("Tool %1").arg(i));
    rows->addWidget(toolBar);
    auto *scroller = new QScrollArea(window);
    auto *area = new QWidget;
    auto *fields = new QVBoxLayout(area);
    for (const char *caption : {"ACR:", "Angio:", "Submitted by:", "Date:", "", "Status"})
        fields->addWidget(new QLabel(QLatin1String(caption)));
    for (int i = 0; i < 2; ++i) {
        fields->addWidget(new QPushButton(QStringLiteral("...")));
        fields->addWidget(new QPlainTextEdit(QStringLiteral("Code description")));
    }
    fields->addWidget(new QCheckBox(QStringLiteral("AFIP")));
    for (int i = 0; i < 4; ++i) {
        auto *line = new QFrame;
        line->setFrameShape(QFrame::HLine);
        fields->addWidget(line);
    }
    for (int i = 0; i < FieldSets; ++i) {
        fields->addWidget(new QLabel(QStringLiteral("Field %1:").arg(i)));
        fields->addWidget(new QPlainTextEdit(QStringLiteral("Value %1").arg(i)));
        auto *combo = new QComboBox;
        combo->setEditable(true);
        combo->addItems({QStringLiteral("CR"), QStringLiteral("CT"), QStringLiteral("MR"),
                         QStringLiteral("US"), QStringLiteral("XA")});
        combo->setVisible(i >= 5 && i < 10);
        fields->addWidget(combo);
    }
    scroller->setWidget(area);
    scroller->setWidgetResizable(true);
    rows->addWidget(scroller);
    window->resize(733, 774);
    window->show();
    watch.waitForPaint();
    const Span span = spanOf(clock);
    delete window;
    return span;
}

QString &benchStoreFile()
{
    static QString file;
    return file;
}

void setPlatformValue(const char16_t *name, const QString &value)
{
    SetPlatformValue(name, reinterpret_cast<const OLECHAR *>(value.utf16()));
}

void useStore(const QString &storeFile)
{
    setPlatformValue(u"ConfigStoreFile", storeFile);
    setPlatformValue(u"CurrUser", QStringLiteral("radiologist"));
    setPlatformValue(u"CurrMachine", QStringLiteral("bench"));
}

// The seeded store on the tests' throwaway PostgreSQL server; "" (and the
// benchmark skipped) when no server can be started.
QString pgStore(benchmark::State &state)
{
    static PgTestServer server;
    static const QString store = [] {
        if (!server.isRunning())
            return QString();
        ConfigDatabase database(server.uri());
        seedStore(database, false);
        return server.uri();
    }();
    if (store.isEmpty())
        state.SkipWithError(qPrintable(QStringLiteral("no PostgreSQL server: ") + server.error()));
    return store;
}

// Product and floor in the same iteration, so that the load of the machine
// weighs on both alike; the ratios are of their sums. state.range(1): 1 on
// PostgreSQL, 0 on the SQLite file.
void BM_FirstPaintOfFilledWindow(benchmark::State &state)
{
    const bool onPostgres = state.range(1) != 0;
    const QString store = onPostgres ? pgStore(state) : benchStoreFile();
    if (store.isEmpty())
        return;
    useStore(store);
    ComRef<StudyRecord> record = StudyRecord::create(1, benchRecord(int(state.range(0))));
    Span product;
    Span floor;
    for (auto _ : state) {
        const Span component = paintComponent(record.get());
        state.SetIterationTime(component.wallSeconds);
        product.wallSeconds += component.wallSeconds;
        product.cpuSeconds += component.cpuSeconds;
        const Span plain = paintPlainWidgets();
        floor.wallSeconds += plain.wallSeconds;
        floor.cpuSeconds += plain.cpuSeconds;
    }
    const double iterations = double(state.iterations());
    state.counters["floor_ms"] = floor.wallSeconds * 1e3 / iterations;
    state.counters["ratio"] = product.wallSeconds / floor.wallSeconds;
    state.counters["cpu_ms"] = product.cpuSeconds * 1e3 / iterations;
    state.counters["floor_cpu_ms"] = floor.cpuSeconds * 1e3 / iterations;
    state.counters["cpu_ratio"] = product.cpuSeconds / floor.cpuSeconds;
    state.SetLabel(onPostgres ? "PostgreSQL" : "SQLite");
    useStore(benchStoreFile());
}
BENCHMARK(BM_FirstPaintOfFilledWindow)
    ->ArgNames({"megabyte", "postgres"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({2, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_FloorPlainWidgets(benchmark::State &state)
{
    for (auto _ : state)
        state.SetIterationTime(paintPlainWidgets().wallSeconds);
}
BENCHMARK(BM_FloorPlainWidgets)->UseManualTime()->Unit(benchmark::kMillisecond);

const QString ColdOption = QStringLiteral("--cold");
const QString ColdComponent = QStringLiteral("component");
const QString ColdFloor = QStringLiteral("floor");

// This program run again for one cold first paint (of what: ColdComponent or
// ColdFloor) on the store; answers what it printed.
Span paintInFreshProcess(const QString &what, const QString &storeFile)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {ColdOption, what, storeFile});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        qFatal("the cold %s run failed", qPrintable(what));
    const QList<QByteArray> seconds = child.readAllStandardOutput().trimmed().split(' ');
    if (seconds.size() != 2)
        qFatal("the cold %s run printed no times", qPrintable(what));
    return {seconds[0].toDouble(), seconds[1].toDouble()};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Each iteration starts one process for the component and one for the floor,
// in turns which first, so neither always runs on the warmer page cache.
void BM_ColdFirstPaint(benchmark::State &state)
{
    std::vector<double> productWall, productCpu, floorWall, floorCpu;
    for (auto _ : state) {
        const bool floorFirst = productWall.size() % 2;
        Span floor;
        if (floorFirst)
            floor = paintInFreshProcess(ColdFloor, benchStoreFile());
        const Span product = paintInFreshProcess(ColdComponent, benchStoreFile());
        if (!floorFirst)
            floor = paintInFreshProcess(ColdFloor, benchStoreFile());
        state.SetIterationTime(product.wallSeconds);
        productWall.push_back(product.wallSeconds);
        productCpu.push_back(product.cpuSeconds);
        floorWall.push_back(floor.wallSeconds);
        floorCpu.push_back(floor.cpuSeconds);
    }
    state.counters["median_ms"] = median(productWall) * 1e3;
    state.counters["floor_ms"] = median(floorWall) * 1e3;
    state.counters["ratio"] = median(productWall) / median(floorWall);
    state.counters["cpu_ms"] = median(productCpu) * 1e3;
    state.counters["floor_cpu_ms"] = median(floorCpu) * 1e3;
    state.counters["cpu_ratio"] = median(productCpu) / median(floorCpu);
}
BENCHMARK(BM_ColdFirstPaint)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

// One cold first paint in this fresh process; prints its wall and CPU
// seconds.
int paintCold(const QString &what, const QString &storeFile)
{
    useStore(storeFile);
    Span span;
    if (what == ColdComponent) {
        ComRef<StudyRecord> record = StudyRecord::create(1, sampleRecord());
        span = paintComponent(record.get());
    } else {
        span = paintPlainWidgets();
    }
    std::printf("%.9f %.9f\n", span.wallSeconds, span.cpuSeconds);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == ColdOption)
        return paintCold(arguments[2], arguments[3]);

    QTemporaryDir dir;
    qputenv("KIVO_LOG_DIR", QFile::encodeName(dir.path()));
    benchStoreFile() = dir.filePath(QStringLiteral("config.db"));
    useStore(benchStoreFile());
    {
        ConfigDatabase store;
        seedStore(store, false);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
