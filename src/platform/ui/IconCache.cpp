#include "IconCache.h"

#include <QApplication>
#include <QHash>
#include <QPointer>

namespace IconCache {

QIcon standardIcon(QStyle::StandardPixmap pixmap)
{
    static QPointer<QStyle> style;
    static QHash<int, QIcon> icons;
    if (style != QApplication::style()) {
        style = QApplication::style();
        icons.clear();
    }
    auto icon = icons.find(pixmap);
    if (icon == icons.end())
        icon = icons.insert(pixmap, style->standardIcon(pixmap));
    return *icon;
}

QIcon fileIcon(const QString &path)
{
    static QHash<QString, QIcon> icons;
    auto icon = icons.find(path);
    if (icon == icons.end())
        icon = icons.insert(path, QIcon(path));
    return *icon;
}

} // namespace IconCache
