#pragma once

#include "common/QV_ResourceSettings.h"

#include <kivo/runtime.h>

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

// The main of a picker benchmark: a log folder of its own, the offscreen
// platform unless another is asked for, the store storeFile() names (made
// once the application exists) as the current one, and the UI settings read.
inline int runPickerBenchmarks(int argc, char **argv, const std::function<QString()> &storeFile)
{
    QTemporaryDir logDir;
    qputenv("KIVO_LOG_DIR", logDir.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString file = storeFile();
    SetPlatformValue(u"ConfigStoreFile", reinterpret_cast<const OLECHAR *>(file.utf16()));
    QV_Resource::InitUISettings();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
