#pragma once

#include "ToolBarLayout.h"

#include <QCursor>
#include <QList>
#include <QWidget>

class QAction;
class QVBoxLayout;
class ToolBand;
class ToolCollection;

// The form's toolbar: bands of tools, indexed in layout order and named;
// tools by id across all bands. It starts with the designed-in layout and is
// given its real one by loadLayout(). Every tool the user chooses, in any
// band, is reported by toolClicked(); disabled and hidden tools cannot be
// chosen. The control itself is the strip of normal bands to be placed at the
// top of a window.
class ToolBarControl : public QWidget
{
    Q_OBJECT

public:
    enum class ColorRole { Shadow, DarkShadow, LightShadow, Background, Foreground, Highlight };

    explicit ToolBarControl(QWidget *parent = nullptr);
    ~ToolBarControl() override;

    // Replaces the layout by the one in the file. Throws Err naming the file
    // and the fault; the current layout then stays as it was.
    void loadLayout(const QString &fileName);
    void applyLayout(const ToolBarLayout &layout);

    int bandCount() const;
    // Throws Err for an index out of range or an unknown name.
    ToolBand *band(int index) const;
    ToolBand *band(const QString &name) const;
    // The tool of that id, whichever bands show it; throws Err when there is
    // none.
    QAction *tool(qint32 id) const;

    // Opens the popup band of that name at pos (screen pixels).
    void popupBand(const QString &name, const QPoint &pos = QCursor::pos());

    // Fits the bands to their tools after captions or visibility changed.
    void recalcLayout();

    // The colours apply to every band, popup menus and the floating band
    // included.
    void setColor(ColorRole role, const QColor &color);
    QColor color(ColorRole role) const;

signals:
    void toolClicked(qint32 id);

private:
    void clearLayout();

    ToolCollection *m_tools;
    QList<ToolBand *> m_bands;
    QVBoxLayout *m_rows;
};
