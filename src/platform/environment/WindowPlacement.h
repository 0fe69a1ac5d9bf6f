#pragma once

#include <QList>
#include <QRect>
#include <QString>

// Choosing the screen and rectangle of a window from the screens present and
// the placement stored for it; plain functions, checked without a screen.
namespace WindowPlacement {

struct ScreenArea
{
    QString name;
    QRect geometry;  // the whole screen, desktop pixels
    QRect available; // without panels and docks
};

struct Placement
{
    int screen = -1; // index into the screens given; -1 when there are none
    QRect rect;      // desktop pixels
};

// With a stored rectangle (not null): the screen of that name, or when it is
// gone the screen under the rectangle's centre; the rectangle is moved (and
// if need be shrunk) into that screen's available area. Without one, or when
// it lies on no screen: defaultSize centred on the primary screen.
Placement place(const QList<ScreenArea> &screens, int primary, const QString &storedScreen,
                const QRect &stored, const QSize &defaultSize);

// rect moved, and shrunk where it is larger, so that it lies inside area.
QRect fitInto(const QRect &rect, const QRect &area);

} // namespace WindowPlacement
