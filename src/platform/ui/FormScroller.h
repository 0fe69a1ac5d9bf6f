#pragma once

#include <QPointer>
#include <QScrollArea>

#include <optional>

// The form's vertical scroller: its widget is the form's field area, which it
// keeps as wide as the view and as tall as the fields (and the end marker
// given to ResetTo) reach. Positions and amounts are twips of the screen the
// scroller is on, held to 0..ScrollMax(). The position in twips is kept as
// given, so steps that fall between pixels do not drift.
//
// Every change of the position, by a call or by the user on the scroll bar,
// is framed by beforeScroll (old and new position) and afterScroll (new
// position); the content moves between the two. A resize keeps the position
// unless it no longer fits below the new maximum.
class FormScroller : public QScrollArea
{
    Q_OBJECT

public:
    // Steps of the scroll bar's arrows and of its trough.
    static constexpr double SmallChange = 500;
    static constexpr double LargeChange = 4000;

    explicit FormScroller(QWidget *parent = nullptr);

    double ScrollPosition() const;
    void setScrollPosition(double position);
    double ScrollMax() const;
    // Positive amounts scroll the content down.
    void ScrollBy(double amount);
    // Back to the top. reference (the end marker of the fields, possibly
    // hidden; null for none) marks from then on how far the content reaches.
    // Throws Err when reference is not inside the scroller's widget.
    void ResetTo(QWidget *reference);
    // Fits the widget to the fields after they were built, moved or resized,
    // and repaints.
    void RefreshScroller();

    double twipsPerPixel() const;

signals:
    void beforeScroll(double from, double to);
    void afterScroll(double position);

protected:
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyRange();

    double m_position = 0;
    // The position a call asked for while the scroll bar carries it out.
    std::optional<double> m_target;
    QPointer<QWidget> m_reference;
};
