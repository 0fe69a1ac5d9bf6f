#include "ProportionalResizer.h"

#include "ProportionalGeometry.h"

#include <QEvent>
#include <QLayout>

ProportionalResizer *ProportionalResizer::attach(QWidget *window)
{
    if (auto *existing =
            window->findChild<ProportionalResizer *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new ProportionalResizer(window);
}

ProportionalResizer::ProportionalResizer(QWidget *window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("THBResize1"));
    record();
    window->installEventFilter(this);
}

void ProportionalResizer::record()
{
    m_children.clear();
    if (m_window->layout() || m_window->size().isEmpty())
        return;
    for (QWidget *child :
         m_window->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            m_children.push_back(
                {child, ProportionalGeometry::relative(child->geometry(), m_window->size())});
    }
}

bool ProportionalResizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Resize)
        applyProportions();
    return QObject::eventFilter(watched, event);
}

void ProportionalResizer::applyProportions()
{
    const QSize size = m_window->size();
    if (size.isEmpty())
        return;
    for (const Child &child : m_children) {
        if (child.widget)
            child.widget->setGeometry(ProportionalGeometry::absolute(child.proportions, size));
    }
}
