#pragma once

#include "ToolBarLayout.h"

#include <QCursor>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QToolBar;
class QWidget;
class ToolCollection;

// One band of the toolbar: a row of tool buttons docked at the top of the
// toolbar control, a popup menu, or a floating tool window (the design band).
// Its tools come from the toolbar's ToolCollection.
class ToolBand : public QObject
{
    Q_OBJECT

public:
    using Kind = ToolBarLayout::BandKind;

    // A normal band's tool bar goes into the control's layout; popup menus and
    // floating windows are top-level windows owned by the control.
    ToolBand(const ToolBarLayout::Band &band, ToolCollection &tools, QWidget *control);
    ~ToolBand() override;

    QString name() const;
    Kind kind() const;

    // The band's own visible flag. A popup band opens on request whatever
    // its flag says, so hiding it only keeps it out of the way.
    bool isVisible() const;
    void setVisible(bool visible);

    // The tool bar (normal band), the menu (popup band) or the tool window
    // (floating band).
    QWidget *widget() const;
    QMenu *menu() const;

    QList<QAction *> tools() const;
    // The band's tool with that id; throws Err when the band does not show it.
    QAction *tool(qint32 id) const;
    // A tool made at run time (the tables of the field popup); throws Err when
    // the id is already in use by the toolbar.
    QAction *addTool(const ToolBarLayout::Tool &tool);
    void removeTool(qint32 id);
    void removeAllTools();

    // Opens a popup band as a menu with its top-left corner at pos (screen
    // pixels); throws Err for other bands.
    void popup(const QPoint &pos = QCursor::pos());
    // Moves a floating band's window so its top-left corner is at pos (screen
    // pixels); throws Err for other bands.
    void moveFloating(const QPoint &pos);
    // Fits a floating band's window to its tools.
    void adjustSize();

private:
    // The widget the tools are added to: the tool bar or the menu.
    QWidget *holder() const;
    void insert(QAction *action);
    void requireKind(Kind kind, const char *operation) const;

    QString m_name;
    Kind m_kind;
    ToolCollection &m_tools;
    bool m_popupVisible = true;
    // Owned by the control, so they may go before the band does.
    QPointer<QToolBar> m_toolBar; // normal and floating bands
    QPointer<QMenu> m_menu;       // popup bands
    QPointer<QWidget> m_window;   // the floating band's tool window
};
