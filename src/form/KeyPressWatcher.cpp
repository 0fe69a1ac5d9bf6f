#include "form/KeyPressWatcher.h"

#include <QKeyEvent>

void KeyPressWatcher::watch(QObject *target, Callback callback)
{
    new KeyPressWatcher(target, std::move(callback));
}

KeyPressWatcher::KeyPressWatcher(QObject *target, Callback callback)
    : QObject(target), m_callback(std::move(callback))
{
    target->installEventFilter(this);
}

bool KeyPressWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        m_callback(static_cast<const QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}
