// The logging libraries, the component's logging module and the development
// environment probe. Every test writes into its own temporary log folder.
#include "common/LogLibrary.h"
#include "common/QV_VBLogger.h"
#include "form/Kivo_API.h"
#include "platform/Err.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <algorithm>
#include <dlfcn.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

struct LogLine
{
    QString library;
    QString app;
    int level = 0;
    QString source;
    int constant = 0;
    int module = 0;
    QString message;
};

// Every line must have the full layout; a line that does not parse fails the
// test rather than being skipped.
std::vector<LogLine> readLog(const QString &path)
{
    static const QRegularExpression layout(QStringLiteral(
        R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[\d+:\d+\] \[(kstd?)\] \[(.*?)\] \[(-?\d+)\] )"
        R"(\[(.*?)\] \[(-?\d+)\] \[(-?\d+)\] (.*)$)"));
    std::vector<LogLine> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no log at " << path.toStdString();
        return lines;
    }
    for (const QByteArray &raw : file.readAll().split('\n')) {
        if (raw.isEmpty())
            continue;
        const QRegularExpressionMatch match = layout.match(QString::fromUtf8(raw));
        if (!match.hasMatch()) {
            ADD_FAILURE() << "malformed log line: " << raw.toStdString();
            continue;
        }
        lines.push_back({match.captured(1), match.captured(2), match.captured(3).toInt(),
                         match.captured(4), match.captured(5).toInt(), match.captured(6).toInt(),
                         match.captured(7)});
    }
    return lines;
}

// Sets an environment variable for one test and puts the old value back.
auto scopedEnv(const char *name, const QByteArray &value)
{
    const bool had = qEnvironmentVariableIsSet(name);
    const QByteArray old = qgetenv(name);
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
    return qScopeGuard([=] { had ? qputenv(name, old) : qunsetenv(name); });
}

using OpenLogFunction = int32_t (*)(const char *, const char *);
using LogFunction = int32_t (*)(const char *, int32_t, const char *, int32_t, int32_t);

// The release library's entry points, called directly so null arguments
// can be passed.
struct Kst
{
    Kst()
    {
        void *handle = dlopen("libkst.so", RTLD_NOW);
        if (!handle)
            throw std::runtime_error(dlerror());
        openLog = reinterpret_cast<OpenLogFunction>(dlsym(handle, "VBLog_OpenLog"));
        log = reinterpret_cast<LogFunction>(dlsym(handle, "VBLog_Log"));
    }
    OpenLogFunction openLog;
    LogFunction log;
};

class LogFolder : public ::testing::Test
{
protected:
    QString logPath(const QString &name = QStringLiteral("quovira.log")) const
    {
        return m_dir.filePath(name);
    }

    QTemporaryDir m_dir;
    decltype(scopedEnv("", {})) m_env = scopedEnv("KIVO_LOG_DIR", m_dir.path().toUtf8());
};

} // namespace

// Kept first: it needs a process that has not used the release library yet,
// which ctest gives every test.
TEST_F(LogFolder, LibraryLogsBeforeOpenIntoDefaultFileAndTakesNullsAsEmpty)
{
    if (LogLibrary::isLoaded("libkst.so"))
        GTEST_SKIP() << "libkst.so is already open in this process";
    const Kst kst;

    EXPECT_EQ(kst.log(nullptr, 3, nullptr, 1, 2), 0);
    EXPECT_EQ(kst.log("first\nsecond\r", 7, "Kivo", 9999, 393), 0);

    const std::vector<LogLine> lines = readLog(logPath());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].library, "kst");
    EXPECT_EQ(lines[0].app, "Quovira");
    EXPECT_EQ(lines[0].level, 3);
    EXPECT_EQ(lines[0].source, "");
    EXPECT_EQ(lines[0].constant, 1);
    EXPECT_EQ(lines[0].module, 2);
    EXPECT_EQ(lines[0].message, "");
    // A message cannot start a line of its own.
    EXPECT_EQ(lines[1].message, R"(first\nsecond\r)");
}

// Guards against logs landing outside the log folder, and against the XDG
// fallbacks not creating the folder.
TEST_F(LogFolder, LibraryPlacesTheFileInTheLogFolder)
{
    const Kst kst;
    ASSERT_EQ(kst.openLog("../outside/named.log", "App"), 0);
    ASSERT_EQ(kst.log("kept inside", 7, "T", 9999, 393), 0);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("../outside/named.log"))));
    ASSERT_EQ(readLog(logPath(QStringLiteral("named.log"))).size(), 1u);
    EXPECT_EQ(readLog(logPath(QStringLiteral("named.log")))[0].app, "App");

    const auto noExplicitFolder = scopedEnv("KIVO_LOG_DIR", {});
    {
        const auto state = scopedEnv("XDG_STATE_HOME", m_dir.filePath("state").toUtf8());
        ASSERT_EQ(kst.openLog("quovira.log", "Quovira"), 0);
        ASSERT_EQ(kst.log("in state home", 7, "T", 9999, 393), 0);
        EXPECT_EQ(readLog(m_dir.filePath("state/kivo/quovira.log")).size(), 1u);
    }
    const auto noState = scopedEnv("XDG_STATE_HOME", {});
    const auto home = scopedEnv("HOME", m_dir.filePath("home").toUtf8());
    ASSERT_EQ(kst.openLog("quovira.log", "Quovira"), 0);
    ASSERT_EQ(kst.log("in home", 7, "T", 9999, 393), 0);
    EXPECT_EQ(readLog(m_dir.filePath("home/.local/state/kivo/quovira.log")).size(), 1u);
}

// Guards against a crash or a silently lost log when the file cannot be
// opened: the failure shows in the result and the previous log stays in use.
TEST_F(LogFolder, LibraryKeepsThePreviousLogWhenAnOpenFails)
{
    const Kst kst;
    ASSERT_EQ(kst.openLog("quovira.log", "Quovira"), 0);

    QFile blocker(m_dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    {
        const auto blocked =
            scopedEnv("KIVO_LOG_DIR", m_dir.filePath("not-a-folder/logs").toUtf8());
        EXPECT_NE(kst.openLog("quovira.log", "Quovira"), 0);
    }
    EXPECT_NE(kst.openLog(nullptr, "Quovira"), 0);
    EXPECT_NE(kst.openLog("", "Quovira"), 0);

    EXPECT_EQ(kst.log("still written", 7, "T", 9999, 393), 0);
    const std::vector<LogLine> lines = readLog(logPath());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].message, "still written");
}

// Guards against interleaved or lost lines when the host logs from several
// threads at once.
TEST_F(LogFolder, LibraryWritesWholeLinesFromManyThreads)
{
    const Kst kst;
    ASSERT_EQ(kst.openLog("quovira.log", "Quovira"), 0);
    constexpr int Threads = 4;
    constexpr int LinesPerThread = 250;
    std::vector<std::thread> writers;
    for (int t = 0; t < Threads; ++t) {
        writers.emplace_back([&kst, t] {
            for (int i = 0; i < LinesPerThread; ++i)
                kst.log(QByteArray::number(t * LinesPerThread + i).constData(), 7, "T", 9999, 393);
        });
    }
    for (std::thread &writer : writers)
        writer.join();

    std::vector<bool> seen(Threads * LinesPerThread, false);
    for (const LogLine &line : readLog(logPath()))
        seen.at(line.message.toInt()) = true;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), Threads * LinesPerThread);
}

class Logger : public LogFolder
{
protected:
    void SetUp() override
    {
        QV_VBLogger::setLogModuleNumber(393);
        QV_VBLogger::setDefaultSource(QStringLiteral("Kivo"));
        QV_VBLogger::InitLog();
    }

    LogLine lineWith(const QString &message) const
    {
        for (const LogLine &line : readLog(logPath())) {
            if (line.message == message)
                return line;
        }
        ADD_FAILURE() << "no line " << message.toStdString();
        return {};
    }
};

// Guards against the debug library being ignored when the host has it
// loaded, or used when it has not, and against a choice made only once.
TEST_F(Logger, ChoosesTheDebugLibraryOnlyWhenTheHostLoadedIt)
{
    if (LogLibrary::isLoaded("libkstd.so"))
        GTEST_SKIP() << "libkstd.so is already open in this process";
    QV_VBLogger::WriteLog(QStringLiteral("before the host loads kstd"), QStringLiteral("Test"));

    void *debug = dlopen("libkstd.so", RTLD_NOW);
    ASSERT_NE(debug, nullptr) << dlerror();
    const auto unload = qScopeGuard([debug] { dlclose(debug); });
    QV_VBLogger::InitLog();
    QV_VBLogger::WriteLog(QStringLiteral("after the host loaded kstd"), QStringLiteral("Test"));

    EXPECT_EQ(lineWith(QStringLiteral("before the host loads kstd")).library, "kst");
    EXPECT_EQ(lineWith(QStringLiteral("after the host loaded kstd")).library, "kstd");
}

// Guards against "VB" being replaced case-insensitively, replaced by an
// empty default, or other sources being touched.
TEST_F(Logger, VbSourceStandsForTheDefaultSource)
{
    QV_VBLogger::WriteLog(QStringLiteral("upper"), QStringLiteral("VB"));
    QV_VBLogger::WriteLog(QStringLiteral("lower"), QStringLiteral("vb"));
    QV_VBLogger::WriteLog(QStringLiteral("class"), QStringLiteral("Kivo_UIManager"));
    QV_VBLogger::setDefaultSource(QString());
    QV_VBLogger::WriteLog(QStringLiteral("no default"), QStringLiteral("VB"));

    EXPECT_EQ(lineWith(QStringLiteral("upper")).source, "Kivo");
    EXPECT_EQ(lineWith(QStringLiteral("lower")).source, "vb");
    EXPECT_EQ(lineWith(QStringLiteral("class")).source, "Kivo_UIManager");
    EXPECT_EQ(lineWith(QStringLiteral("no default")).source, "VB");
}

// Guards against wrong argument order or values reaching the library, and
// against non-ASCII text being mangled on the way.
TEST_F(Logger, LinesCarryLevelConstantAndModule)
{
    const QString umlauts = QStringLiteral("Größe \u2713 Befund");
    QV_VBLogger::WriteLog(QStringLiteral("Start ReadLayout"), QStringLiteral("Kivo_CFGManager"));
    QV_VBLogger::WriteLog(umlauts, QStringLiteral("Kivo_Manager"));
    QV_VBLogger::WriteLogEx(42, 3, QStringLiteral("Kivo_TablesFrm"));

    for (const QString &message : {QStringLiteral("Start ReadLayout"), umlauts}) {
        const LogLine line = lineWith(message);
        EXPECT_EQ(line.level, 7);
        EXPECT_EQ(line.constant, 9999);
        EXPECT_EQ(line.module, 393);
        EXPECT_EQ(line.app, "Quovira");
    }
    const LogLine converted = lineWith(QStringLiteral("42"));
    EXPECT_EQ(converted.level, 3);
    EXPECT_EQ(converted.source, "Kivo_TablesFrm");
    EXPECT_EQ(converted.module, 393);
}

// Guards against a crash, or an error that does not say what is missing,
// when the library or one of its entry points is absent; and against a
// failed lookup being cached as success.
TEST(LogLibraryBinding, MissingLibraryOrEntryPointIsAnErrorNamingIt)
{
    LogLibrary missing("libkivo-no-such-log.so");
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            missing.log("m", 7, "s", 9999, 393);
            ADD_FAILURE() << "a missing library was not reported";
        } catch (const Err &err) {
            EXPECT_EQ(err.number(), Err::LibraryMissing);
            EXPECT_TRUE(err.description().contains("libkivo-no-such-log.so"))
                << err.description().toStdString();
        }
    }

    LogLibrary withoutEntryPoints("libkivo_platform.so");
    try {
        withoutEntryPoints.openLog("quovira.log", "Quovira");
        ADD_FAILURE() << "a missing entry point was not reported";
    } catch (const Err &err) {
        EXPECT_EQ(err.number(), Err::LibraryMissing);
        EXPECT_TRUE(err.description().contains("VBLog_OpenLog"));
        EXPECT_TRUE(err.description().contains("libkivo_platform.so"));
    }
    EXPECT_FALSE(LogLibrary::isLoaded("libkivo-no-such-log.so"));
}

// Guards against a pattern that is case-sensitive, accepts a non-digit or
// several digits, or is anchored to one folder.
TEST(IsInIDE, MatchesDevelopmentEnvironmentExecutables)
{
    using Kivo_API::isIdeExecutable;
    EXPECT_TRUE(isIdeExecutable(QStringLiteral(R"(C:\Program Files\VB98\VB6.EXE)")));
    EXPECT_TRUE(isIdeExecutable(QStringLiteral("/opt/tools/Vb5.Exe")));
    EXPECT_TRUE(isIdeExecutable(QStringLiteral("/home/dev/vb6.exe.local/run")));
    EXPECT_FALSE(isIdeExecutable(QStringLiteral("/opt/tools/vbx.exe")));
    EXPECT_FALSE(isIdeExecutable(QStringLiteral("/opt/tools/vb10.exe")));
    EXPECT_FALSE(isIdeExecutable(QStringLiteral("/opt/tools/vb6-exe")));
    EXPECT_FALSE(isIdeExecutable(QStringLiteral("/usr/bin/kivo-host")));
    EXPECT_FALSE(isIdeExecutable(QString()));

    EXPECT_FALSE(Kivo_API::IsInIDE());
}
