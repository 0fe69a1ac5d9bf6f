#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

// Places a window on the screen by position code (see PlacementRules) and
// remembers where the user leaves it, in the application settings of the
// store: below "<configuration path>\<placement id>" the keys "screen" (the
// name of the screen under the window's centre), "left" and "top" (the
// frame's corner, desktop pixels), "width" and "height" (the window without
// its frame). UIEnvironment::PositionForWindow reads the same keys.
//
// The place is stored half a second after the user stops moving or sizing
// the window, and at once when the window is hidden; never while the window
// is minimised, maximised or full screen.
class WindowPlacementControl : public QObject
{
    Q_OBJECT

public:
    explicit WindowPlacementControl(QObject *parent = nullptr);

    void attach(QWidget *window);
    void setConfigPath(const QString &path);
    void setPlacementId(qint32 id);
    void setPositionCode(qint32 code);
    void setLeft(qint32 left);
    void setTop(qint32 top);
    // Places the attached window; throws Err when none is attached.
    void apply();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString storePath() const;
    // Never throws: it runs from event handling.
    void save();

    QPointer<QWidget> m_window;
    QString m_configPath;
    qint32 m_placementId = 0;
    qint32 m_positionCode = 0;
    qint32 m_left = 0;
    qint32 m_top = 0;
    QTimer m_saveDelay;
};
