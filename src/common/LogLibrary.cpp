#include "LogLibrary.h"

#include "platform/Err.h"

#include <QString>

#include <dlfcn.h>

LogLibrary::LogLibrary(QByteArray fileName) : m_fileName(std::move(fileName)) {}

qint32 LogLibrary::openLog(const QByteArray &fileName, const QByteArray &appName)
{
    return bound(m_openLog, "VBLog_OpenLog")(fileName.constData(), appName.constData());
}

qint32 LogLibrary::log(const QByteArray &message, qint32 level, const QByteArray &source,
                       qint32 constant, qint32 module)
{
    return bound(m_log, "VBLog_Log")(message.constData(), level, source.constData(), constant,
                                     module);
}

bool LogLibrary::isLoaded(const QByteArray &fileName)
{
    void *handle = dlopen(fileName.constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle); // RTLD_NOLOAD still took a reference
    return true;
}

template <typename Function> Function LogLibrary::bound(Function &cached, const char *name)
{
    QMutexLocker locker(&m_mutex);
    if (!cached)
        cached = reinterpret_cast<Function>(entryPoint(name));
    return cached;
}

// dlopen is called from here rather than through QLibrary on purpose: the
// search then follows the run path of the object this code is linked into
// (the component or the program beside the libraries), not Qt's.
void *LogLibrary::entryPoint(const char *name)
{
    if (!m_handle) {
        m_handle = dlopen(m_fileName.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) {
            throw Err(Err::LibraryMissing,
                      QStringLiteral("The logging library %1 cannot be loaded: %2")
                          .arg(QString::fromUtf8(m_fileName), QString::fromLocal8Bit(dlerror())));
        }
    }
    void *address = dlsym(m_handle, name);
    if (!address) {
        throw Err(Err::LibraryMissing,
                  QStringLiteral("The logging library %1 has no entry point %2")
                      .arg(QString::fromUtf8(m_fileName), QString::fromLatin1(name)));
    }
    return address;
}
