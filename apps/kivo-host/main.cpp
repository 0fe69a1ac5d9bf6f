// kivo-host: a small radiology workstation around the teaching-file
// component. It loads the component the way any third-party host does and
// keeps the teaching-file records in a database of its own.
#include "DemoDesign.h"
#include "DemoSubmit.h"
#include "EntryController.h"
#include "EntryScreenshot.h"
#include "ExportSettings.h"
#include "HostOptions.h"
#include "HostWindow.h"
#include "RecordsDatabase.h"
#include "TeachingFileComponent.h"
#include "TeachingFileExporter.h"

#include "config/StoreSeed.h"
#include "platform/Err.h"

#include <kivo/runtime.h>

#include <QApplication>
#include <QMessageBox>
#include <QThreadPool>
#include <QStatusBar>
#include <QSysInfo>

#include <cstdio>

namespace {

void setPlatformValue(const char16_t *name, const QString &value)
{
    SetPlatformValue(name, reinterpret_cast<const OLECHAR *>(value.utf16()));
}

// A fresh machine gets a seeded store, so the window has a layout, value
// tables and a user to work with.
void prepareStore(const HostOptions &options)
{
    if (!options.storeFile.isEmpty())
        setPlatformValue(u"ConfigStoreFile", options.storeFile);
    ConfigDatabase store;
    if (seedStore(store, false))
        std::printf("Created the configuration store %s\n", qPrintable(store.displayName()));
    setPlatformValue(u"ConfigStoreFile", store.file());
    setPlatformValue(u"CurrUser", options.login);
    setPlatformValue(u"CurrMachine", QSysInfo::machineHostName());
}

int run(const HostOptions &options)
{
    prepareStore(options);
    RecordsDatabase records(options.recordsFile);
    TeachingFileComponent component(QCoreApplication::applicationDirPath() +
                                    QStringLiteral("/libkivo_teachingfile.so"));
    EntryController controller(component, records);
    controller.start();
    // Queued: the export starts once the window has heard that the record
    // was saved, and never holds up the submit.
    const ConfigDatabase store;
    TeachingFileExporter exporter(records, store, ExportSettings::read(store, options));
    QObject::connect(&controller, &EntryController::submitted, &exporter,
                     &TeachingFileExporter::exportEntry, Qt::QueuedConnection);

    if (options.automated()) {
        const QList<Study> studies = records.studies();
        if (studies.isEmpty()) {
            std::fprintf(stderr, "kivo-host: the records database has no studies\n");
            return 1;
        }
        if (options.demoDesign)
            return runDemoDesign(controller, studies, options.demoOffset);
        if (options.demoType)
            return runDemoType(controller, studies.first(), options.demoText);
        if (!options.demoSubmit)
            return saveEntryScreenshot(controller, studies.first(), options.screenshotFile,
                                       options.screenshotInDesignMode);
        QObject::connect(&exporter, &TeachingFileExporter::reported,
                         [](const QString &message) { std::printf("%s\n", qPrintable(message)); });
        exporter.sendOutbox();
        const int submitted = runDemoSubmit(controller, studies.first(), options.demoText);
        // The export was queued behind the submit's completion.
        QCoreApplication::sendPostedEvents();
        exporter.waitForSends();
        return submitted;
    }

    HostWindow window(controller, records);
    QObject::connect(
        &exporter, &TeachingFileExporter::reported, window.statusBar(),
        [&window](const QString &message) { window.statusBar()->showMessage(message); });
    window.show();
    controller.setOwner(window.winId());
    exporter.sendOutbox();
    return QApplication::exec();
}

// Read while no window system is open, so that --help, --version and a
// wrong option answer on a machine without a display.
HostOptions readOptions(int &argc, char **argv)
{
    const QCoreApplication parsing(argc, argv);
    return HostOptions::parse(QCoreApplication::arguments());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("kivo-host"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    const HostOptions options = readOptions(argc, argv);
    // A screenshot needs no display: it is drawn off screen, unless a
    // window system was named.
    if (!options.screenshotFile.isEmpty() && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QString failure;
    try {
        const int result = run(options);
        // A send still running on a worker thread ends before the process.
        QThreadPool::globalInstance()->waitForDone();
        return result;
    } catch (const Err &err) {
        failure = err.description();
    } catch (const std::exception &err) {
        failure = QString::fromLocal8Bit(err.what());
    }
    std::fprintf(stderr, "kivo-host: %s\n", qPrintable(failure));
    if (!options.automated())
        QMessageBox::critical(nullptr, QStringLiteral("kivo-host"), failure);
    return 1;
}
