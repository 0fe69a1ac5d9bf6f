#pragma once

#include "platform/environment/WindowPlacement.h"

#include <QList>
#include <QRect>
#include <QString>

// Where the placement control puts a window for each position code; plain
// arithmetic over the screens present, checked without a window. Whatever
// the code, the window ends up inside one screen's available area.
namespace PlacementRules {

enum PositionCode : qint32 {
    CentreOnOwner = 1,   // centred on the owner window; on the primary screen without one
    RestorePosition = 4, // where it was stored; centred on the primary screen when nothing is
    KeepPosition = 11,   // at the left and top given (its current place)
    // Every other code centres the window on the primary screen.
};

struct Request
{
    qint32 code = 0;
    QRect window;         // the window's frame now; its size is kept where it fits
    QPoint given;         // left and top for KeepPosition
    QRect owner;          // the owner window's frame; null without an owner
    QString storedScreen; // RestorePosition: the screen the stored frame was on
    QRect stored;         // RestorePosition: null when nothing is stored
};

// The window's new frame, in desktop pixels.
QRect place(const QList<WindowPlacement::ScreenArea> &screens, int primary, const Request &request);

} // namespace PlacementRules
