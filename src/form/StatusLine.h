#pragma once

#include <QObject>

class QLabel;
class QString;
class QTimer;

// The form's status line: a message that goes by itself after its timer
// runs out (the outcome of a submit), or one that stays until cleared (the
// design-mode and save texts).
class StatusLine : public QObject
{
    Q_OBJECT

public:
    StatusLine(QLabel *label, QTimer *timer, QObject *parent = nullptr);

    // Shown until the timer runs out; a message that follows while it runs
    // goes with it, four seconds from the first.
    void showBriefly(const QString &text);
    // Shown until cleared; a running timer no longer hides it.
    void show(const QString &text);
    void clear();

private:
    void display(const QString &text);

    QLabel *m_label;
    QTimer *m_timer;
};
