#pragma once

#include <QLine>
#include <QWidget>

// A line on a form, from (X1, Y1) to (X2, Y2) in twips of its parent. The
// end points keep their order, so a line may run right to left or bottom to
// top. The widget covers the two points and paints the line between them in
// its text colour.
class LineControl : public QWidget
{
    Q_OBJECT

public:
    explicit LineControl(QWidget *parent = nullptr);

    QLine line() const { return m_line; }
    void setLine(const QLine &twips);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The end points in pixels of the parent.
    QLine pixelLine() const;

    QLine m_line;
};
