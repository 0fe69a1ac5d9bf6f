#include "AppSettings.h"

#include "ConfigDatabase.h"
#include "StoreBackend.h"

#include <atomic>

namespace {

// Installed once by the UI thread, read by whoever opens the settings.
std::atomic<AppSettings::ColorDefaultsSource> colorDefaultsSource{nullptr};

} // namespace

void AppSettings::SetColorDefaultsSource(ColorDefaultsSource source)
{
    colorDefaultsSource.store(source);
}

AppSettings::AppSettings() : AppSettings(ConfigDatabase::defaultFile()) {}

AppSettings::AppSettings(const QString &storeFile)
    : StoreTree(StoreBackend::open(storeFile),
                ConfigPath::parse(QString::fromLatin1(ApplicationPath)))
{
}

void AppSettings::Init()
{
    takeColorDefaults();
}

void AppSettings::takeColorDefaults() const
{
    const ColorDefaultsSource source = colorDefaultsSource.load();
    m_colorDefaults = source ? source() : [](const QString &) { return quint32(0); };
}

quint32 AppSettings::ColorByName(const QString &name) const
{
    // A negative number is no colour (nor is a system colour index with the
    // high bit set): the default colour stands in for it.
    const qint32 stored = ReadLong(QStringLiteral("appearance\\colors\\") + name);
    if (stored >= 0)
        return quint32(stored) & 0x00ffffffu;
    if (!m_colorDefaults)
        takeColorDefaults();
    return m_colorDefaults(name);
}
