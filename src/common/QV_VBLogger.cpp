#include "QV_VBLogger.h"

#include "LogLibrary.h"

namespace {

constexpr qint32 WriteLogLevel = 7;
// Fixed by the logging library's contract; its meaning is the library's.
constexpr qint32 LogConstant = 9999;

LogLibrary &releaseLibrary()
{
    static LogLibrary library("libkst.so");
    return library;
}

LogLibrary &debugLibrary()
{
    static LogLibrary library("libkstd.so");
    return library;
}

// Written by the configuration manager's Init and InitLog on the UI thread,
// only read afterwards. Until InitLog runs, calls go to the debug library.
bool useReleaseLibrary = false;
qint32 logModuleNumber = 0;
QString defaultSource;

LogLibrary &selectedLibrary()
{
    return useReleaseLibrary ? releaseLibrary() : debugLibrary();
}

} // namespace

namespace QV_VBLogger {

void InitLog()
{
    useReleaseLibrary = !LogLibrary::isLoaded(debugLibrary().fileName());
    selectedLibrary().openLog("quovira.log", "Quovira");
}

void WriteLog(const QString &message, const QString &source)
{
    WriteLogEx(message, WriteLogLevel, source);
}

void WriteLogEx(const QVariant &message, qint32 level, const QString &source)
{
    const QString &effectiveSource =
        source == QLatin1String("VB") && !defaultSource.isEmpty() ? defaultSource : source;
    selectedLibrary().log(message.toString().toUtf8(), level, effectiveSource.toUtf8(), LogConstant,
                          logModuleNumber);
}

void setLogModuleNumber(qint32 number)
{
    logModuleNumber = number;
}

void setDefaultSource(const QString &source)
{
    defaultSource = source;
}

} // namespace QV_VBLogger
