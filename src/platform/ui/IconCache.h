#pragma once

#include <QIcon>
#include <QStyle>

// Icons decoded once per process. A QIcon decodes its PNG or ICO images when
// it is made, so every window that made its own paid for the decoding again;
// the shared copy keeps the images (QIcon is implicitly shared).
namespace IconCache {

// The application style's standard icon; decoded afresh only after the
// application's style was replaced.
QIcon standardIcon(QStyle::StandardPixmap pixmap);
// The icon in the file at path; null when the file cannot be read.
QIcon fileIcon(const QString &path);

} // namespace IconCache
