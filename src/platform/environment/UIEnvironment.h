#pragma once

#include "platform/config/ConfigTree.h"

#include <QRect>
#include <QString>

class QScreen;

// The platform's UI environment: UI settings of the system, the screens, where
// a window goes and which files the settings name. Created fresh for each use;
// the screen answers are those of the moment of the call.
//
// Monitors are numbered as QGuiApplication::screens() lists them (the primary
// screen first). Without a QGuiApplication there are no monitors.
class UIEnvironment
{
public:
    // Absolute store path of the system's UI settings.
    static constexpr const char *UiSettingsPath = "Corvalis\\system\\ui";
    // Keys of a stored window placement, below the configuration path and the
    // placement id ("<path>\<id>\left", ...), relative to AppSettings. The
    // rectangle is in desktop pixels; "screen" is the name of its screen.
    static constexpr const char *PlacementScreenKey = "screen";
    static constexpr const char *PlacementLeftKey = "left";
    static constexpr const char *PlacementTopKey = "top";
    static constexpr const char *PlacementWidthKey = "width";
    static constexpr const char *PlacementHeightKey = "height";
    // The position code asking to restore the stored placement.
    static constexpr qint32 RestorePosition = 4;

    // Opens the UI settings; the text settings need it, the rest does not.
    void Init();

    // The UI setting key below UiSettingsPath ("font_name", "font_charset");
    // "" when unset. Throws Err before Init.
    QString GetSetting(const QString &key) const;
    // The setting "language_library"; "" when unset. Throws Err before Init.
    QString LanguageLibrary() const;

    qint32 MonitorCount() const;
    // 3 true colour (24 bits and more), 1 palette; -1 when no such monitor.
    qint32 ColorMode(qint32 monitor) const;
    // 0 landscape, 1 portrait; -1 when undetermined.
    qint32 Orientation(qint32 monitor) const;
    // 1 high (144 logical DPI or more, or a device pixel ratio of 2 or more),
    // 0 normal; -1 when undetermined.
    qint32 ResolutionClass(qint32 monitor) const;

    // Where a window of the default size (pixels) goes. display: the name of
    // the screen it will be on ("" without screens); placement: its rectangle
    // in desktop pixels. With RestorePosition the placement stored under
    // configPath and placementId is used when there is one on a present
    // screen (moved onto the screen where it sticks out); otherwise, and for
    // every other code, the default size centred on the primary screen.
    void PositionForWindow(qint32 width, qint32 height, qint32 placementId, qint32 positionCode,
                           const QString &configPath, QString &display, QRect &placement) const;
    // The monitor index of a display named by PositionForWindow; 0 (the
    // primary monitor) when no such screen is present any more.
    qint32 DisplayHandle(const QString &display) const;

    // The file the application setting folder + "\" + key names (relative to
    // AppSettings); when unset, the shipped default "qv/resources/<key>.json".
    // A relative path is taken relative to the install root.
    QString FilePath(const QString &folder, const QString &key) const;

private:
    static QScreen *screenAt(qint32 monitor);

    ConfigTreePtr m_uiSettings;
    bool m_initialised = false;
};
