#include "ToolBand.h"

#include "ToolCollection.h"
#include "platform/Err.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QVBoxLayout>

ToolBand::ToolBand(const ToolBarLayout::Band &band, ToolCollection &tools, QWidget *control)
    : QObject(control), m_name(band.name), m_kind(band.kind), m_tools(tools)
{
    const QString title = band.caption.isEmpty() ? band.name : band.caption;
    switch (m_kind) {
    case Kind::Normal:
        m_toolBar = new QToolBar(title, control);
        break;
    case Kind::Popup:
        m_menu = new QMenu(title, control);
        // Top-level windows do not inherit the control's colours and font
        // unless asked to.
        m_menu->setAttribute(Qt::WA_WindowPropagation);
        break;
    case Kind::Floating:
        m_window = new QWidget(control, Qt::Tool);
        m_window->setAttribute(Qt::WA_WindowPropagation);
        m_window->setWindowTitle(title);
        m_toolBar = new QToolBar(title, m_window);
        auto *layout = new QVBoxLayout(m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_toolBar);
        break;
    }
    if (m_toolBar) {
        m_toolBar->setObjectName(band.name);
        m_toolBar->setMovable(false);
        // Captions under the icons keep the main band within the window's
        // width, so no command hides behind the overflow arrow.
        m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    } else {
        m_menu->setObjectName(band.name);
    }
    for (qint32 id : band.toolIds)
        insert(m_tools.tool(id));
}

ToolBand::~ToolBand()
{
    if (!holder())
        return; // the control is going and took its widgets along
    const QList<QAction *> actions = tools();
    delete widget();
    for (QAction *action : actions)
        m_tools.releaseIfUnused(action);
}

QString ToolBand::name() const
{
    return m_name;
}

ToolBand::Kind ToolBand::kind() const
{
    return m_kind;
}

bool ToolBand::isVisible() const
{
    return m_kind == Kind::Popup ? m_popupVisible : !widget()->isHidden();
}

void ToolBand::setVisible(bool visible)
{
    if (m_kind == Kind::Popup)
        m_popupVisible = visible;
    else
        widget()->setVisible(visible);
}

QWidget *ToolBand::widget() const
{
    if (m_window)
        return m_window;
    if (m_menu)
        return m_menu;
    return m_toolBar;
}

QMenu *ToolBand::menu() const
{
    return m_menu;
}

QList<QAction *> ToolBand::tools() const
{
    return holder()->actions();
}

QAction *ToolBand::tool(qint32 id) const
{
    QAction *action = m_tools.contains(id) ? m_tools.tool(id) : nullptr;
    if (!action || !tools().contains(action))
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Band \"%1\" has no tool %2").arg(m_name).arg(id));
    return action;
}

QAction *ToolBand::addTool(const ToolBarLayout::Tool &tool)
{
    QAction *action = m_tools.define(tool);
    insert(action);
    return action;
}

void ToolBand::removeTool(qint32 id)
{
    QAction *action = tool(id);
    holder()->removeAction(action);
    m_tools.releaseIfUnused(action);
}

void ToolBand::removeAllTools()
{
    for (QAction *action : tools()) {
        holder()->removeAction(action);
        m_tools.releaseIfUnused(action);
    }
}

void ToolBand::popup(const QPoint &pos)
{
    requireKind(Kind::Popup, "open as a popup menu");
    m_menu->popup(pos);
}

void ToolBand::moveFloating(const QPoint &pos)
{
    requireKind(Kind::Floating, "float");
    m_window->move(pos);
}

void ToolBand::adjustSize()
{
    if (m_window)
        m_window->adjustSize();
}

QWidget *ToolBand::holder() const
{
    if (m_menu)
        return m_menu;
    return m_toolBar;
}

void ToolBand::insert(QAction *action)
{
    holder()->addAction(action);
}

void ToolBand::requireKind(Kind kind, const char *operation) const
{
    if (m_kind != kind)
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Band \"%1\" cannot %2").arg(m_name, QLatin1String(operation)));
}
