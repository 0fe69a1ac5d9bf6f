#include "HostOptions.h"

#include "platform/config/StoreUri.h"

#include <kivo/TceExport.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace {

QString defaultRecordsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kivo/host-records.db");
}

bool parseOffset(const QString &text, QPoint &offset)
{
    const QStringList parts = text.split(QLatin1Char(','));
    bool xValid = false, yValid = false;
    if (parts.size() == 2)
        offset = QPoint(parts[0].trimmed().toInt(&xValid), parts[1].trimmed().toInt(&yValid));
    return xValid && yValid;
}

// Ends the process as QCommandLineParser does for an argument it rejects.
[[noreturn]] void exitWithUsageError(const char *message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), message);
    std::exit(EXIT_FAILURE);
}

} // namespace

HostOptions HostOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A radiology workstation's study list with its teaching-file window."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption store(QStringLiteral("store"),
                                   QStringLiteral("The configuration store (created and seeded "
                                                  "when new). Default: the platform's store."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption records(
        QStringLiteral("records"),
        QStringLiteral("The workstation's studies and teaching files (created with sample "
                       "studies when new)."),
        QStringLiteral("FILE"), defaultRecordsFile());
    const QCommandLineOption login(QStringLiteral("login"),
                                   QStringLiteral("Who works at the workstation."),
                                   QStringLiteral("NAME"), QStringLiteral("radiologist"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Open the first study's entry, save the teaching-file window as a PNG "
                       "image, and exit. Drawn off screen unless QT_QPA_PLATFORM names a "
                       "window system."),
        QStringLiteral("FILE"));
    const QCommandLineOption design(
        QStringLiteral("design"),
        QStringLiteral("With --screenshot: show the window in design mode, its History box "
                       "picked up."));
    const QCommandLineOption demoSubmit(
        QStringLiteral("demo-submit"),
        QStringLiteral("Open the first study's entry, type TEXT into History, submit it "
                       "(answering the question with Yes), wait until it is saved, and exit."),
        QStringLiteral("TEXT"));
    const QCommandLineOption demoType(
        QStringLiteral("demo-type"),
        QStringLiteral("Open the first study's entry, type TEXT into every field, tick AFIP, "
                       "and keep the entry open until the process is ended."),
        QStringLiteral("TEXT"));
    const QCommandLineOption demoDesign(
        QStringLiteral("demo-design"),
        QStringLiteral("Open the first study's entry, drag the History label by DX,DY pixels "
                       "in design mode, save the layout, close the entry, open the second "
                       "study's, print where the label was, went and is, and exit."),
        QStringLiteral("DX,DY"));
    const QCommandLineOption exportDir(
        QStringLiteral("export-dir"),
        QStringLiteral("Write each submitted teaching file to DIR as a DICOM manifest and report."),
        QStringLiteral("DIR"));
    const QCommandLineOption exportTo(
        QStringLiteral("export-to"),
        QStringLiteral("Send each submitted teaching file to the DICOM receiver AET@HOST:PORT; "
                       "what cannot be sent is sent at the next start."),
        QStringLiteral("AET@HOST:PORT"));
    parser.addOptions(
        {store, records, login, screenshot, design, demoSubmit, demoType, demoDesign,
         exportDir, exportTo});
    parser.process(arguments);

    HostOptions options;
    // A URI names a database, not a file below the working folder.
    if (parser.isSet(store))
        options.storeFile = StoreUri::hasScheme(parser.value(store))
                                ? parser.value(store)
                                : QDir::current().absoluteFilePath(parser.value(store));
    options.recordsFile = QDir::current().absoluteFilePath(parser.value(records));
    options.login = parser.value(login);
    if (parser.isSet(screenshot))
        options.screenshotFile = QDir::current().absoluteFilePath(parser.value(screenshot));
    options.screenshotInDesignMode = parser.isSet(design);
    if (options.screenshotInDesignMode && options.screenshotFile.isEmpty())
        exitWithUsageError("--design goes with --screenshot");
    options.demoSubmit = parser.isSet(demoSubmit);
    options.demoText = parser.value(demoSubmit);
    options.demoType = parser.isSet(demoType);
    if (options.demoType)
        options.demoText = parser.value(demoType);
    options.demoDesign = parser.isSet(demoDesign);
    if (options.demoDesign && !parseOffset(parser.value(demoDesign), options.demoOffset))
        exitWithUsageError("--demo-design wants the offset in pixels as DX,DY, e.g. 40,-20");
    if (parser.isSet(exportDir))
        options.exportDir = QDir::current().absoluteFilePath(parser.value(exportDir));
    options.exportTo = parser.value(exportTo);
    if (parser.isSet(exportTo) && !kivo::tce::Destination::parse(options.exportTo))
        exitWithUsageError("--export-to wants the receiver as AET@HOST:PORT, e.g. TF@pacs:104");
    return options;
}
