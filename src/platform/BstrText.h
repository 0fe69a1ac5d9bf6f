#pragma once

#include <kivo/runtime.h>

#include <QString>

// The text of a BSTR, unit for unit. QString::fromUtf16 would take a leading
// U+FEFF or U+FFFE for a byte-order mark, dropping it or swapping every unit.
inline QString fromBstr(BSTR text)
{
    return QString(reinterpret_cast<const QChar *>(text), qsizetype(SysStringLen(text)));
}
