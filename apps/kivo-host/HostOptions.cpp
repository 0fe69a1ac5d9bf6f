#include "HostOptions.h"

#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>

namespace {

const char *const ScreenshotOption = "screenshot";

QString defaultRecordsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kivo/host-records.db");
}

} // namespace

bool HostOptions::wantsOffscreen(int argc, char **argv)
{
    const QByteArray option = QByteArray("--") + ScreenshotOption;
    for (int i = 1; i < argc; ++i) {
        if (option == argv[i] || QByteArray(argv[i]).startsWith(option + '='))
            return true;
    }
    return false;
}

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
        QLatin1String(ScreenshotOption),
        QStringLiteral("Open the first study's entry, save the teaching-file window as a PNG "
                       "image without a display, and exit."),
        QStringLiteral("FILE"));
    const QCommandLineOption demoSubmit(
        QStringLiteral("demo-submit"),
        QStringLiteral("Open the first study's entry, type TEXT into History, submit it "
                       "(answering the question with Yes), wait until it is saved, and exit."),
        QStringLiteral("TEXT"));
    parser.addOptions({store, records, login, screenshot, demoSubmit});
    parser.process(arguments);

    HostOptions options;
    if (parser.isSet(store))
        options.storeFile = QDir::current().absoluteFilePath(parser.value(store));
    options.recordsFile = QDir::current().absoluteFilePath(parser.value(records));
    options.login = parser.value(login);
    if (parser.isSet(screenshot))
        options.screenshotFile = QDir::current().absoluteFilePath(parser.value(screenshot));
    options.demoSubmit = parser.isSet(demoSubmit);
    options.demoText = parser.value(demoSubmit);
    return options;
}
