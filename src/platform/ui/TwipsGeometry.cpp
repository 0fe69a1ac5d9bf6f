#include "TwipsGeometry.h"

#include "Twips.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace {

// The dynamic property that carries the twips rectangle.
constexpr char TwipsProperty[] = "kivoTwipsGeometry";

} // namespace

namespace TwipsGeometry {

double twipsPerPixelX(const QWidget *widget)
{
    const QScreen *screen = widget->screen();
    return Twips::perPixel(screen ? screen->logicalDotsPerInchX() : 0.0);
}

double twipsPerPixelY(const QWidget *widget)
{
    const QScreen *screen = widget->screen();
    return Twips::perPixel(screen ? screen->logicalDotsPerInchY() : 0.0);
}

QRect geometry(const QWidget *control)
{
    const QVariant stored = control->property(TwipsProperty);
    if (stored.isValid())
        return stored.toRect();
    const QRect pixels = control->geometry();
    const double tx = twipsPerPixelX(control);
    const double ty = twipsPerPixelY(control);
    return QRect(Twips::fromPixels(pixels.x(), tx), Twips::fromPixels(pixels.y(), ty),
                 Twips::fromPixels(pixels.width(), tx), Twips::fromPixels(pixels.height(), ty));
}

void setGeometry(QWidget *control, const QRect &twipsRect)
{
    control->setProperty(TwipsProperty, twipsRect);
    const double tx = twipsPerPixelX(control);
    const double ty = twipsPerPixelY(control);
    control->setGeometry(Twips::toPixels(twipsRect.x(), tx), Twips::toPixels(twipsRect.y(), ty),
                         Twips::toPixels(twipsRect.width(), tx),
                         Twips::toPixels(twipsRect.height(), ty));
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
