#include "WindowPlacement.h"

#include <algorithm>

namespace WindowPlacement {

QRect fitInto(const QRect &rect, const QRect &area)
{
    const QSize size = rect.size().boundedTo(area.size());
    const int left =
        std::clamp(rect.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(rect.top(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(left, top), size);
}

namespace {

int storedScreenIndex(const QList<ScreenArea> &screens, const QString &name, const QRect &stored)
{
    const auto byName = std::find_if(screens.cbegin(), screens.cend(),
                                     [&](const ScreenArea &s) { return s.name == name; });
    if (!name.isEmpty() && byName != screens.cend())
        return int(byName - screens.cbegin());
    const auto byCentre = std::find_if(screens.cbegin(), screens.cend(), [&](const ScreenArea &s) {
        return s.geometry.contains(stored.center());
    });
    return byCentre != screens.cend() ? int(byCentre - screens.cbegin()) : -1;
}

} // namespace

Placement place(const QList<ScreenArea> &screens, int primary, const QString &storedScreen,
                const QRect &stored, const QSize &defaultSize)
{
    if (screens.isEmpty())
        return {-1, QRect(QPoint(0, 0), defaultSize)};

    if (!stored.isNull() && !stored.isEmpty()) {
        const int index = storedScreenIndex(screens, storedScreen, stored);
        if (index >= 0)
            return {index, fitInto(stored, screens[index].available)};
    }

    const int index = primary >= 0 && primary < screens.size() ? primary : 0;
    const QRect area = screens[index].available;
    QRect rect(QPoint(0, 0), defaultSize.boundedTo(area.size()));
    rect.moveCenter(area.center());
    return {index, rect};
}

} // namespace WindowPlacement
