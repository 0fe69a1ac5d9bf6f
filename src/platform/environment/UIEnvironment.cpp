#include "UIEnvironment.h"

#include "DisplayTraits.h"
#include "InstallLocation.h"
#include "WindowPlacement.h"

#include "platform/Err.h"
#include "platform/config/AppSettings.h"
#include "platform/config/ConfigDatabase.h"

#include <QGuiApplication>
#include <QScreen>

void UIEnvironment::Init()
{
    m_uiSettings = ConfigDatabase().OpenSubTree(QString::fromLatin1(UiSettingsPath));
    m_initialised = true;
}

QString UIEnvironment::GetSetting(const QString &key) const
{
    if (!m_initialised)
        throw Err(Err::WrongState, QStringLiteral("UIEnvironment used before Init"));
    return m_uiSettings ? m_uiSettings->ReadString(key) : QString();
}

QString UIEnvironment::LanguageLibrary() const
{
    return GetSetting(QStringLiteral("language_library"));
}

QScreen *UIEnvironment::screenAt(qint32 monitor)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return monitor >= 0 && monitor < screens.size() ? screens.at(monitor) : nullptr;
}

qint32 UIEnvironment::MonitorCount() const
{
    return qint32(QGuiApplication::screens().size());
}

qint32 UIEnvironment::ColorMode(qint32 monitor) const
{
    const QScreen *screen = screenAt(monitor);
    return screen ? DisplayTraits::colorModeForDepth(screen->depth()) : DisplayTraits::Undetermined;
}

qint32 UIEnvironment::Orientation(qint32 monitor) const
{
    const QScreen *screen = screenAt(monitor);
    return screen ? DisplayTraits::orientationForSize(screen->geometry().size())
                  : DisplayTraits::Undetermined;
}

qint32 UIEnvironment::ResolutionClass(qint32 monitor) const
{
    const QScreen *screen = screenAt(monitor);
    return screen ? DisplayTraits::resolutionClassFor(screen->logicalDotsPerInch(),
                                                      screen->devicePixelRatio())
                  : DisplayTraits::Undetermined;
}

void UIEnvironment::PositionForWindow(qint32 width, qint32 height, qint32 placementId,
                                      qint32 positionCode, const QString &configPath,
                                      QString &display, QRect &placement) const
{
    QList<WindowPlacement::ScreenArea> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append({screen->name(), screen->geometry(), screen->availableGeometry()});
    const int primary = int(QGuiApplication::screens().indexOf(QGuiApplication::primaryScreen()));

    QString storedScreen;
    QRect stored;
    if (positionCode == RestorePosition) {
        const ConfigTreePtr saved = AppSettings().OpenSubTree(configPath + QLatin1Char('\\') +
                                                              QString::number(placementId));
        if (saved) {
            storedScreen = saved->ReadString(QString::fromLatin1(PlacementScreenKey));
            stored = QRect(saved->ReadLong(QString::fromLatin1(PlacementLeftKey)),
                           saved->ReadLong(QString::fromLatin1(PlacementTopKey)),
                           saved->ReadLongOr(QString::fromLatin1(PlacementWidthKey), 0),
                           saved->ReadLongOr(QString::fromLatin1(PlacementHeightKey), 0));
        }
    }

    const WindowPlacement::Placement chosen =
        WindowPlacement::place(screens, primary, storedScreen, stored, QSize(width, height));
    display = chosen.screen >= 0 ? screens[chosen.screen].name : QString();
    placement = chosen.rect;
}

qint32 UIEnvironment::DisplayHandle(const QString &display) const
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (qint32 i = 0; i < screens.size(); ++i) {
        if (screens.at(i)->name() == display)
            return i;
    }
    return 0;
}

QString UIEnvironment::FilePath(const QString &folder, const QString &key) const
{
    QString path = AppSettings().ReadString(folder + QLatin1Char('\\') + key);
    if (path.isEmpty())
        path = QStringLiteral("qv/resources/") + key + QStringLiteral(".json");
    return InstallLocation::resolve(path);
}
