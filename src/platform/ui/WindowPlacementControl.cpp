#include "WindowPlacementControl.h"

#include "PlacementRules.h"
#include "platform/Err.h"
#include "platform/config/AppSettings.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"
#include "platform/environment/UIEnvironment.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

QString key(const char *name)
{
    return QLatin1Char('\\') + QLatin1String(name);
}

} // namespace

WindowPlacementControl::WindowPlacementControl(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("UI_MultiMon1"));
    m_saveDelay.setSingleShot(true);
    m_saveDelay.setInterval(500);
    connect(&m_saveDelay, &QTimer::timeout, this, &WindowPlacementControl::save);
}

void WindowPlacementControl::attach(QWidget *window)
{
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (m_window)
        m_window->installEventFilter(this);
}

void WindowPlacementControl::setConfigPath(const QString &path)
{
    m_configPath = path;
}

void WindowPlacementControl::setPlacementId(qint32 id)
{
    m_placementId = id;
}

void WindowPlacementControl::setPositionCode(qint32 code)
{
    m_positionCode = code;
}

void WindowPlacementControl::setLeft(qint32 left)
{
    m_left = left;
}

void WindowPlacementControl::setTop(qint32 top)
{
    m_top = top;
}

void WindowPlacementControl::apply()
{
    if (!m_window)
        throw Err(Err::WrongState, QStringLiteral("No window to place"));

    QList<WindowPlacement::ScreenArea> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append({screen->name(), screen->geometry(), screen->availableGeometry()});
    const int primary = int(QGuiApplication::screens().indexOf(QGuiApplication::primaryScreen()));

    // The frame is what is placed; the window keeps the frame it has (none
    // before it was first shown).
    const QSize frameMargins = m_window->frameGeometry().size() - m_window->size();
    PlacementRules::Request request;
    request.code = m_positionCode;
    request.window = m_window->frameGeometry();
    request.given = QPoint(m_left, m_top);
    if (const QWidget *owner = m_window->parentWidget())
        request.owner = owner->window()->frameGeometry();
    const QString path = storePath();
    if (m_positionCode == PlacementRules::RestorePosition && !path.isEmpty()) {
        // One subtree load: on a server store each key read is a round trip.
        const std::shared_ptr<FreeConfigTree> stored = ConfigDatabase().LoadTree(
            QLatin1String(AppSettings::ApplicationPath) + QLatin1Char('\\') + path);
        if (stored && stored->KeyExists(QLatin1String(UIEnvironment::PlacementLeftKey))) {
            const auto number = [&stored](const char *name) {
                return stored->ReadLong(QLatin1String(name));
            };
            request.storedScreen =
                stored->ReadString(QLatin1String(UIEnvironment::PlacementScreenKey));
            request.stored = QRect(number(UIEnvironment::PlacementLeftKey),
                                   number(UIEnvironment::PlacementTopKey),
                                   number(UIEnvironment::PlacementWidthKey),
                                   number(UIEnvironment::PlacementHeightKey));
            request.stored.setSize(request.stored.size() + frameMargins);
        }
    }

    const QRect frame = PlacementRules::place(screens, primary, request);
    m_window->resize(frame.size() - frameMargins);
    m_window->move(frame.topLeft());
}

bool WindowPlacementControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            if (m_window->isVisible())
                m_saveDelay.start();
            break;
        case QEvent::Hide:
            m_saveDelay.stop();
            save();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

QString WindowPlacementControl::storePath() const
{
    if (m_configPath.isEmpty())
        return QString();
    return m_configPath + QLatin1Char('\\') + QString::number(m_placementId);
}

void WindowPlacementControl::save()
{
    const QString path = storePath();
    if (!m_window || path.isEmpty() ||
        (m_window->windowState() &
         (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;

    const QRect frame = m_window->frameGeometry();
    const QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = m_window->screen();
    // Called from event handling, where nothing may be thrown: a store that
    // cannot be written costs the remembered place, not the window.
    try {
        AppSettings settings;
        settings.WriteString(path + key(UIEnvironment::PlacementScreenKey),
                             screen ? screen->name() : QString());
        settings.WriteLong(path + key(UIEnvironment::PlacementLeftKey), frame.left());
        settings.WriteLong(path + key(UIEnvironment::PlacementTopKey), frame.top());
        settings.WriteLong(path + key(UIEnvironment::PlacementWidthKey), m_window->width());
        settings.WriteLong(path + key(UIEnvironment::PlacementHeightKey), m_window->height());
    } catch (const Err &err) {
        qWarning("Window position not stored under %s: %s", qPrintable(path), err.what());
    }
}
