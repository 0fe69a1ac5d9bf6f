// The logging libraries and the component's logging module. Every test writes
// into its own temporary log folder.
#include "common/LogLibrary.h"
#include "common/QV_VBLogger.h"
#include "platform/Err.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <functional>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace {

struct LogLine
{
    QString library;
    std::tuple<std::string, int, std::string, int, int>
        fields; // app, level, source, constant, module
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
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "no log at " << path.toStdString();
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QRegularExpressionMatch m = layout.match(QString::fromUtf8(raw));
        if (raw.isEmpty() || !m.hasMatch()) {
            EXPECT_TRUE(raw.isEmpty()) << "malformed log line: " << raw.toStdString();
            continue;
        }
        lines.push_back(
            {m.captured(1),
             {m.captured(2).toStdString(), m.captured(3).toInt(), m.captured(4).toStdString(),
              m.captured(5).toInt(), m.captured(6).toInt()},
             m.captured(7)});
    }
    return lines;
}

// Sets an environment variable (unsets it for a null value) until the end
// of the scope.
auto scopedEnv(const char *name, const QByteArray &value)
{
    const bool had = qEnvironmentVariableIsSet(name);
    const QByteArray old = qgetenv(name);
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
    return qScopeGuard([=] { had ? qputenv(name, old) : qunsetenv(name); });
}

// The release library's entry points, called directly so null arguments
// can be passed.
struct Kst
{
    Kst()
    {
        void *handle = dlopen("libkst.so", RTLD_NOW);
        if (!handle)
            throw std::runtime_error(dlerror());
        openLog = reinterpret_cast<decltype(openLog)>(dlsym(handle, "VBLog_OpenLog"));
        log = reinterpret_cast<decltype(log)>(dlsym(handle, "VBLog_Log"));
    }
    int32_t (*openLog)(const char *, const char *);
    int32_t (*log)(const char *, int32_t, const char *, int32_t, int32_t);
};

class LogFolder : public ::testing::Test
{
protected:
    QString logPath(const char *name = "quovira.log") const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    decltype(scopedEnv("", {})) m_env = scopedEnv("KIVO_LOG_DIR", m_dir.path().toUtf8());
};

} // namespace

// Kept first: it needs a process that has not used the release library yet,
// which ctest gives every test. Guards logging before any open (into the
// default file), null arguments taken as empty, and a message that cannot
// start a line of its own.
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
    EXPECT_EQ(lines[0].fields, std::tuple("Quovira", 3, "", 1, 2));
    EXPECT_EQ(lines[0].message, "");
    EXPECT_EQ(lines[1].message, R"(first\nsecond\r)");
}

// Guards against logs landing outside the log folder, and against a crash or
// a silently lost log when the file cannot be opened: the failure shows in
// the result and the previous log stays in use.
TEST_F(LogFolder, LibraryStaysInTheLogFolderAndKeepsThePreviousLogWhenAnOpenFails)
{
    const Kst kst;
    ASSERT_EQ(kst.openLog("../outside/named.log", "App"), 0);
    ASSERT_EQ(kst.log("kept inside", 7, "T", 9999, 393), 0);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("../outside/named.log")));
    const std::vector<LogLine> named = readLog(logPath("named.log"));
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(std::get<0>(named[0].fields), "App");

    ASSERT_EQ(kst.openLog("quovira.log", "Quovira"), 0);
    QFile blocker(m_dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
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

class Logger : public LogFolder
{
protected:
    void SetUp() override
    {
        QV_VBLogger::setLogModuleNumber(393);
        QV_VBLogger::setDefaultSource("Kivo");
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
    QV_VBLogger::WriteLog("before", "Test");
    void *debug = dlopen("libkstd.so", RTLD_NOW);
    ASSERT_NE(debug, nullptr) << dlerror();
    const auto unload = qScopeGuard([debug] { dlclose(debug); });
    QV_VBLogger::InitLog();
    QV_VBLogger::WriteLog("after", "Test");

    EXPECT_EQ(lineWith("before").library, "kst");
    EXPECT_EQ(lineWith("after").library, "kstd");
}

// Guards against wrong argument order or values reaching the library,
// non-ASCII text being mangled, and "VB" as a source being replaced
// case-insensitively, by an empty default, or other sources being touched.
TEST_F(Logger, LinesCarryTheirFieldsAndVbStandsForTheDefaultSource)
{
    const QString umlauts = QStringLiteral("Größe \u2713 Befund");
    QV_VBLogger::WriteLog(umlauts, "Kivo_CFGManager");
    QV_VBLogger::WriteLogEx(42, 3, "Kivo_TablesFrm");
    EXPECT_EQ(lineWith(umlauts).fields, std::tuple("Quovira", 7, "Kivo_CFGManager", 9999, 393));
    EXPECT_EQ(lineWith("42").fields, std::tuple("Quovira", 3, "Kivo_TablesFrm", 9999, 393));

    const auto sourceOf = [this](const char *source) {
        QV_VBLogger::WriteLog(QStringLiteral("from %1").arg(source), QLatin1String(source));
        return std::get<2>(lineWith(QStringLiteral("from %1").arg(source)).fields);
    };
    EXPECT_EQ(sourceOf("VB"), "Kivo");
    EXPECT_EQ(sourceOf("vb"), "vb");
    QV_VBLogger::setDefaultSource(QString());
    QV_VBLogger::WriteLog("no default", "VB");
    EXPECT_EQ(std::get<2>(lineWith("no default").fields), "VB");
}

// Guards against a crash, or an error that does not say what is missing,
// when the library or one of its entry points is absent; and against a
// failed lookup being cached as success.
TEST(LogLibraryBinding, MissingLibraryOrEntryPointIsAnErrorNamingIt)
{
    const auto failure = [](const std::function<void()> &call) {
        try {
            call();
        } catch (const Err &err) {
            EXPECT_EQ(err.number(), Err::LibraryMissing);
            return err.description();
        }
        return QStringLiteral("<no error>");
    };
    LogLibrary missing("libkivo-no-such-log.so");
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_TRUE(failure([&] {
                        missing.log("m", 7, "s", 9999, 393);
                    }).contains("libkivo-no-such-log.so"));
    EXPECT_FALSE(LogLibrary::isLoaded("libkivo-no-such-log.so"));

    LogLibrary withoutEntryPoints("libkivo_platform.so");
    const QString said = failure([&] { withoutEntryPoints.openLog("quovira.log", "Quovira"); });
    EXPECT_TRUE(said.contains("VBLog_OpenLog") && said.contains("libkivo_platform.so"))
        << said.toStdString();
}
