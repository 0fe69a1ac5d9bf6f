// The platform logging library: two C entry points over one spdlog file
// logger. Callers ignore the results, so nothing may escape the entry points;
// failures only show as a non-zero result.
#include <spdlog/logger.h>
#include <spdlog/sinks/basic_file_sink.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <string>
#include <unistd.h>

#define KST_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr const char *DefaultFileName = "quovira.log";
constexpr const char *DefaultAppName = "Quovira";

std::string textOf(const char *text)
{
    return text ? std::string(text) : std::string();
}

// Each entry stays on one line, so a message cannot forge further entries.
std::string oneLine(std::string text)
{
    for (std::string::size_type at = text.find_first_of("\r\n"); at != std::string::npos;
         at = text.find_first_of("\r\n", at + 2))
        text.replace(at, 1, text[at] == '\n' ? "\\n" : "\\r");
    return text;
}

std::string environment(const char *name)
{
    return textOf(std::getenv(name));
}

std::filesystem::path homeFolder()
{
    const std::string home = environment("HOME");
    if (!home.empty())
        return home;
    const passwd *user = getpwuid(getuid());
    return user && user->pw_dir ? std::filesystem::path(user->pw_dir) : std::filesystem::path();
}

// KIVO_LOG_DIR, else the XDG state folder; empty when none can be told.
std::filesystem::path logFolder()
{
    const std::string explicitFolder = environment("KIVO_LOG_DIR");
    if (!explicitFolder.empty())
        return explicitFolder;
    const std::string stateHome = environment("XDG_STATE_HOME");
    if (!stateHome.empty())
        return std::filesystem::path(stateHome) / "kivo";
    const std::filesystem::path home = homeFolder();
    if (home.empty())
        return {};
    return home / ".local" / "state" / "kivo";
}

class LogFile
{
public:
    int32_t open(const std::string &fileName, const std::string &appName)
    {
        // Only the last component counts: the log always lands in the log
        // folder, whatever path the caller hands in.
        const std::filesystem::path name = std::filesystem::path(fileName).filename();
        if (name.empty() || name == "." || name == "..")
            return 1;
        const std::filesystem::path folder = logFolder();
        if (folder.empty())
            return 1;
        // The sink creates the folder. A failed open throws before anything
        // is replaced, so the previous log stays in use and nothing going
        // there is lost.
        auto sink = std::make_shared<spdlog::sinks::basic_file_sink_st>((folder / name).string());
        auto logger = std::make_shared<spdlog::logger>(KST_LIBRARY_NAME, std::move(sink));
        logger->set_pattern("%Y-%m-%d %H:%M:%S.%e [%P:%t] %v");
        logger->set_level(spdlog::level::trace);
        // Flushed line by line: a crash of the host loses nothing.
        logger->flush_on(spdlog::level::trace);
        // spdlog swallows write errors; keep them for the result instead
        // of its message on stderr.
        logger->set_error_handler([this](const std::string &) { m_writeFailed = true; });
        m_logger = std::move(logger);
        m_appName = appName;
        return 0;
    }

    int32_t log(const std::string &message, int32_t level, const std::string &source,
                int32_t constant, int32_t module)
    {
        if (!m_logger && open(DefaultFileName, DefaultAppName) != 0)
            return 1;
        m_writeFailed = false;
        m_logger->info("[{}] [{}] [{}] [{}] [{}] [{}] {}", KST_LIBRARY_NAME, m_appName, level,
                       oneLine(source), constant, module, oneLine(message));
        return m_writeFailed ? 1 : 0;
    }

private:
    std::shared_ptr<spdlog::logger> m_logger;
    std::string m_appName;
    bool m_writeFailed = false;
};

// Hosts may log from several threads; one lock covers reopening and writing.
std::mutex logMutex;
LogFile &logFile()
{
    static LogFile file;
    return file;
}

} // namespace

KST_EXPORT int32_t VBLog_OpenLog(const char *fileName, const char *appName)
{
    try {
        std::lock_guard<std::mutex> lock(logMutex);
        return logFile().open(textOf(fileName), textOf(appName));
    } catch (...) {
        return 1;
    }
}

KST_EXPORT int32_t VBLog_Log(const char *message, int32_t level, const char *source,
                             int32_t constant, int32_t module)
{
    try {
        std::lock_guard<std::mutex> lock(logMutex);
        return logFile().log(textOf(message), level, textOf(source), constant, module);
    } catch (...) {
        return 1;
    }
}
