#pragma once

#include <QByteArray>
#include <QMutex>

// One build of the platform logging library, opened by its plain file name on
// first use. Each entry point is bound on its first call and kept; the library
// stays loaded for the life of the process, since those pointers are cached.
class LogLibrary
{
public:
    explicit LogLibrary(QByteArray fileName);

    const QByteArray &fileName() const { return m_fileName; }

    // Both throw Err::LibraryMissing when the library or the entry point
    // cannot be found; the library's own result is handed back unexamined.
    qint32 openLog(const QByteArray &fileName, const QByteArray &appName);
    qint32 log(const QByteArray &message, qint32 level, const QByteArray &source, qint32 constant,
               qint32 module);

    // Whether a library of that name is already in the process. Loads nothing.
    static bool isLoaded(const QByteArray &fileName);

private:
    using OpenLogFunction = qint32 (*)(const char *, const char *);
    using LogFunction = qint32 (*)(const char *, qint32, const char *, qint32, qint32);

    template <typename Function> Function bound(Function &cached, const char *name);
    void *entryPoint(const char *name);

    QByteArray m_fileName;
    QMutex m_mutex;
    void *m_handle = nullptr;
    OpenLogFunction m_openLog = nullptr;
    LogFunction m_log = nullptr;
};
