#include "PlacementRules.h"

namespace PlacementRules {

QRect place(const QList<WindowPlacement::ScreenArea> &screens, int primary, const Request &request)
{
    const QSize size = request.window.size();
    // A frame is kept on the screen under its centre, or when it lies on no
    // screen, centred on the primary one.
    const auto fitted = [&](const QRect &frame) {
        return WindowPlacement::place(screens, primary, QString(), frame, size).rect;
    };

    switch (request.code) {
    case RestorePosition:
        return WindowPlacement::place(screens, primary, request.storedScreen, request.stored, size)
            .rect;
    case KeepPosition:
        return fitted(QRect(request.given, size));
    case CentreOnOwner:
        if (!request.owner.isNull()) {
            QRect frame(QPoint(0, 0), size);
            frame.moveCenter(request.owner.center());
            return fitted(frame);
        }
        break;
    }
    return fitted(QRect());
}

} // namespace PlacementRules
