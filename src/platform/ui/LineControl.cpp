#include "LineControl.h"

#include "Twips.h"
#include "TwipsGeometry.h"

#include <QPainter>

LineControl::LineControl(QWidget *parent) : QWidget(parent) {}

void LineControl::setLine(const QLine &twips)
{
    m_line = twips;
    const QLine pixels = pixelLine();
    // Both end pixels, whichever way the line runs; a horizontal or vertical
    // line is still one pixel thick.
    const QSize onePixel(1, 1);
    setGeometry(QRect(pixels.p1(), onePixel) | QRect(pixels.p2(), onePixel));
    update();
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(pixelLine().translated(-pos()));
}

QLine LineControl::pixelLine() const
{
    const double tx = TwipsGeometry::twipsPerPixelX(this);
    const double ty = TwipsGeometry::twipsPerPixelY(this);
    return QLine(Twips::toPixels(m_line.x1(), tx), Twips::toPixels(m_line.y1(), ty),
                 Twips::toPixels(m_line.x2(), tx), Twips::toPixels(m_line.y2(), ty));
}
