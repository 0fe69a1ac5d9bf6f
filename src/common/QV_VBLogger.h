#pragma once

#include <QString>
#include <QVariant>

// The component's trace in the platform log. The configuration manager sets
// the module number and the default source, then calls InitLog, before any
// other class logs. A missing logging library or entry point throws
// Err::LibraryMissing to the operation that logged.
namespace QV_VBLogger {

// Picks the debug library when the host process already has it loaded, the
// release library otherwise, and opens the log. Each call decides afresh.
void InitLog();

// Logs at level 7; the source names the calling class.
void WriteLog(const QString &message, const QString &source);
// The source "VB" stands for the default source, when one is set.
void WriteLogEx(const QVariant &message, qint32 level, const QString &source);

void setLogModuleNumber(qint32 number);
void setDefaultSource(const QString &source);

} // namespace QV_VBLogger
