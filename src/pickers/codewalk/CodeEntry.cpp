#include "CodeEntry.h"

QString CodeEntry::text() const
{
    static const QString separator(8, QLatin1Char(' '));
    static const QString missingDescription(29, QLatin1Char('?'));
    return code + separator + (description.isEmpty() ? missingDescription : description);
}
