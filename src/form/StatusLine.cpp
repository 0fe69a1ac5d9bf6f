#include "form/StatusLine.h"

#include "form/UserAction.h"

#include <QLabel>
#include <QTimer>

StatusLine::StatusLine(QLabel *label, QTimer *timer, QObject *parent)
    : QObject(parent), m_label(label), m_timer(timer)
{
    connect(m_timer, &QTimer::timeout, this,
            [this] { runUserAction(QStringLiteral("Timer1_Timer"), [this] { clear(); }); });
}

void StatusLine::showBriefly(const QString &text)
{
    display(text);
    if (!m_timer->isActive())
        m_timer->start();
}

void StatusLine::show(const QString &text)
{
    m_timer->stop();
    display(text);
}

void StatusLine::display(const QString &text)
{
    m_label->setText(text);
    m_label->show();
    // The label sits in the scrolled area; a long save shows its steps only
    // when each is painted at once.
    m_label->repaint();
}

void StatusLine::clear()
{
    m_label->hide();
    m_label->clear();
    m_timer->stop();
}
