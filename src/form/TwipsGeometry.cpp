#include "TwipsGeometry.h"

#include "platform/ui/ScrollGeometry.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace {

// The dynamic property that carries the twips rectangle.
constexpr char TwipsProperty[] = "kivoTwipsGeometry";

int toPixels(int twips, double twipsPerPixel)
{
    return ScrollGeometry::toPixels(twips, twipsPerPixel);
}

int toTwips(int pixels, double twipsPerPixel)
{
    return int(std::lround(ScrollGeometry::toTwips(pixels, twipsPerPixel)));
}

} // namespace

namespace TwipsGeometry {

double twipsPerPixelX(const QWidget *widget)
{
    const QScreen *screen = widget->screen();
    return ScrollGeometry::twipsPerPixel(screen ? screen->logicalDotsPerInchX() : 0.0);
}

double twipsPerPixelY(const QWidget *widget)
{
    const QScreen *screen = widget->screen();
    return ScrollGeometry::twipsPerPixel(screen ? screen->logicalDotsPerInchY() : 0.0);
}

QRect geometry(const QWidget *control)
{
    const QVariant stored = control->property(TwipsProperty);
    if (stored.isValid())
        return stored.toRect();
    const QRect pixels = control->geometry();
    const double tx = twipsPerPixelX(control);
    const double ty = twipsPerPixelY(control);
    return QRect(toTwips(pixels.x(), tx), toTwips(pixels.y(), ty), toTwips(pixels.width(), tx),
                 toTwips(pixels.height(), ty));
}

void setGeometry(QWidget *control, const QRect &twipsRect)
{
    control->setProperty(TwipsProperty, twipsRect);
    const double tx = twipsPerPixelX(control);
    const double ty = twipsPerPixelY(control);
    control->setGeometry(toPixels(twipsRect.x(), tx), toPixels(twipsRect.y(), ty),
                         toPixels(twipsRect.width(), tx), toPixels(twipsRect.height(), ty));
}

void setLeft(QWidget *control, int twips)
{
    QRect r = geometry(control);
    r.moveLeft(twips);
    setGeometry(control, r);
}

void setTop(QWidget *control, int twips)
{
    QRect r = geometry(control);
    r.moveTop(twips);
    setGeometry(control, r);
}

void setWidth(QWidget *control, int twips)
{
    QRect r = geometry(control);
    r.setWidth(twips);
    setGeometry(control, r);
}

void setHeight(QWidget *control, int twips)
{
    QRect r = geometry(control);
    r.setHeight(twips);
    setGeometry(control, r);
}

} // namespace TwipsGeometry
