#include "form/AcrCode.h"

#include <QStringList>

namespace AcrCode {

namespace {
const QLatin1String LineEnd("\r\n");
}

Parts split(const QString &code)
{
    const QStringList parts = code.split(Separator);
    return Parts{parts.value(0), parts.value(1)};
}

std::optional<QString> joined(const QString &anatomy, const QString &pathology)
{
    if (pathology.isEmpty())
        return anatomy;
    if (anatomy.isEmpty())
        return std::nullopt;
    return anatomy + Separator + pathology;
}

QString description(const QString &code, const QString &anatomyHeading, const QString &anatomyDesc,
                    const QString &pathologyHeading, const QString &pathologyDesc)
{
    if (code.isEmpty())
        return QString();
    QString text = anatomyHeading + LineEnd + anatomyDesc;
    if (!pathologyDesc.isEmpty())
        text += LineEnd + LineEnd + pathologyHeading + LineEnd + pathologyDesc;
    return text;
}

} // namespace AcrCode
