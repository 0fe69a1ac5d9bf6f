#pragma once

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <vector>

// Keeps the direct children of a window in proportion to the window's size:
// their geometry is taken as fractions of the window's size when the resizer
// is attached (or record() is called), and every resize of the window places
// them at those fractions of the new size. Windows whose children a layout
// manages are left to the layout.
class ProportionalResizer : public QObject
{
    Q_OBJECT

public:
    // The window's resizer, created on first call; it lives as the window's
    // child and is named "THBResize1".
    static ProportionalResizer *attach(QWidget *window);

    // Takes the children's current geometry as their proportions.
    void record();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ProportionalResizer(QWidget *window);
    void applyProportions();

    struct Child
    {
        QPointer<QWidget> widget;
        QRectF proportions;
    };

    QWidget *m_window;
    std::vector<Child> m_children;
};
