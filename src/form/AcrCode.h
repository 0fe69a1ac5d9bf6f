#pragma once

#include <QString>

#include <optional>

// The ACR code as the form shows it, "anatomy - pathology", and the parts
// the record keeps apart.
namespace AcrCode {

inline constexpr QLatin1String Separator(" - ");

struct Parts
{
    QString anatomy;
    QString pathology;
};

// Anatomy is the text before the first separator; pathology the text after
// it, up to a second separator if there is one. Without a separator the
// whole code is anatomy.
Parts split(const QString &code);

// The code shown for stored parts: the anatomy alone when there is no
// pathology, both joined otherwise; nothing when a pathology comes without
// its anatomy, which leaves the shown code as it was.
std::optional<QString> joined(const QString &anatomy, const QString &pathology);

// The description text of a picked code: the anatomy heading and
// description, then, when there is one, the pathology heading and
// description after a blank line. Empty for an empty code. Lines end in CR LF
// as the picker's descriptions do.
QString description(const QString &code, const QString &anatomyHeading, const QString &anatomyDesc,
                    const QString &pathologyHeading, const QString &pathologyDesc);

} // namespace AcrCode
