#pragma once

#include "ToolBarLayout.h"

#include <QHash>
#include <QObject>

class QAction;

// The tools of a toolbar by id: one QAction per tool, shared by every band
// that shows it, so a tool's caption, enabled and visible state are the same
// wherever it appears. Choosing a tool anywhere reports its id once.
class ToolCollection : public QObject
{
    Q_OBJECT

public:
    explicit ToolCollection(QObject *parent = nullptr);

    // Throws Err when the id is already defined.
    QAction *define(const ToolBarLayout::Tool &tool);
    // Throws Err for an id that is not defined.
    QAction *tool(qint32 id) const;
    bool contains(qint32 id) const;
    // Forgets the tool once no band shows it any more.
    void releaseIfUnused(QAction *action);
    void clear();

signals:
    void toolClicked(qint32 id);

private:
    QHash<qint32, QAction *> m_tools;
};
