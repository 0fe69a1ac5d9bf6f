#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

// Tells a callback about every key pressed on one widget before the widget
// handles it, without taking the key away. It lives as the widget's child.
class KeyPressWatcher : public QObject
{
    Q_OBJECT

public:
    using Callback = std::function<void(const QKeyEvent *)>;

    static void watch(QObject *target, Callback callback);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyPressWatcher(QObject *target, Callback callback);

    Callback m_callback;
};
