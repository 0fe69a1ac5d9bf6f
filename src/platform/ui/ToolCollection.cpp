#include "ToolCollection.h"

#include "platform/Err.h"
#include "platform/ui/IconCache.h"

#include <QAction>
#include <QKeySequence>
#include <QMetaEnum>
#include <QStyle>

namespace {

const QLatin1String StandardIconPrefix("std:");
const char *ToolIdProperty = "toolId";

QIcon iconFor(const QString &icon)
{
    if (icon.isEmpty())
        return {};
    if (!icon.startsWith(StandardIconPrefix))
        return IconCache::fileIcon(icon);
    bool known = false;
    const int pixmap = QMetaEnum::fromType<QStyle::StandardPixmap>().keyToValue(
        icon.mid(StandardIconPrefix.size()).toLatin1().constData(), &known);
    return known ? IconCache::standardIcon(QStyle::StandardPixmap(pixmap)) : QIcon();
}

} // namespace

ToolCollection::ToolCollection(QObject *parent) : QObject(parent) {}

QAction *ToolCollection::define(const ToolBarLayout::Tool &tool)
{
    if (m_tools.contains(tool.id))
        throw Err(Err::InvalidArgument,
                  QStringLiteral("The toolbar already has a tool %1").arg(tool.id));

    auto *action = new QAction(iconFor(tool.icon), tool.caption, this);
    action->setObjectName(tool.name);
    action->setProperty(ToolIdProperty, tool.id);
    if (!tool.key.isEmpty())
        action->setShortcut(QKeySequence::fromString(tool.key));
    if (!tool.toolTip.isEmpty())
        action->setToolTip(tool.toolTip);
    action->setVisible(tool.visible);
    action->setEnabled(tool.enabled);
    const qint32 id = tool.id;
    connect(action, &QAction::triggered, this, [this, id] { emit toolClicked(id); });
    m_tools.insert(tool.id, action);
    return action;
}

QAction *ToolCollection::tool(qint32 id) const
{
    QAction *action = m_tools.value(id);
    if (!action)
        throw Err(Err::InvalidArgument, QStringLiteral("The toolbar has no tool %1").arg(id));
    return action;
}

bool ToolCollection::contains(qint32 id) const
{
    return m_tools.contains(id);
}

void ToolCollection::releaseIfUnused(QAction *action)
{
    if (!action->associatedObjects().isEmpty())
        return;
    m_tools.remove(action->property(ToolIdProperty).toInt());
    // The tool may be the one whose click is being delivered right now.
    action->deleteLater();
}

void ToolCollection::clear()
{
    qDeleteAll(m_tools);
    m_tools.clear();
}
