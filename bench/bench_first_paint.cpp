// From Init to the first paint of a filled teaching-file window (the layout
// read, the eleven field sets built, a record bound, also one with a
// megabyte of text), through the factory as a host calls it; against the floor measured in the same
// run: the same kinds and numbers of widgets created, shown and painted with no logic.
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
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QToolBar>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <dlfcn.h>

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

void BM_FirstPaintOfFilledWindow(benchmark::State &state)
{
    ComRef<StudyRecord> record = StudyRecord::create(1, benchRecord(int(state.range(0))));
    for (auto _ : state) {
        TF_IUI *manager = createManager();
        PaintWatch watch(QStringLiteral("Kivo_UIManager"));
        QElapsedTimer clock;
        clock.start();
        if (FAILED(manager->Init()) || FAILED(manager->Show(record.get())))
            qFatal("the teaching-file window did not open");
        watch.waitForPaint();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);

        manager->UnInitialize();
        manager->Release();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_FirstPaintOfFilledWindow)
    ->ArgName("megabyte")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The window's widgets without the component: a toolbar, the fixed rows and
// the field sets in a scroll area, each with the same kinds of controls.
void BM_FloorPlainWidgets(benchmark::State &state)
{
    for (auto _ : state) {
        PaintWatch watch(QStringLiteral("floor"));
        QElapsedTimer clock;
        clock.start();
        auto *window = new QWidget;
        window->setObjectName(QStringLiteral("floor"));
        auto *rows = new QVBoxLayout(window);
        auto *toolBar = new QToolBar(window);
        for (int i = 0; i < Tools; ++i)
            toolBar->addAction(QStringLiteral("Tool %1").arg(i));
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
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        delete window;
    }
}
BENCHMARK(BM_FloorPlainWidgets)->UseManualTime()->Unit(benchmark::kMillisecond);

void setPlatformValue(const char16_t *name, const QString &value)
{
    SetPlatformValue(name, reinterpret_cast<const OLECHAR *>(value.utf16()));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("KIVO_LOG_DIR", QFile::encodeName(dir.path()));
    setPlatformValue(u"ConfigStoreFile", dir.filePath(QStringLiteral("config.db")));
    setPlatformValue(u"CurrUser", QStringLiteral("radiologist"));
    setPlatformValue(u"CurrMachine", QStringLiteral("bench"));
    {
        ConfigDatabase store;
        seedStore(store, false);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
