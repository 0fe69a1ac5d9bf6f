#include "form/ComboCompletion.h"

std::optional<ComboCompletion> ComboCompletion::complete(const QString &typed,
                                                         const QStringList &entries)
{
    if (typed.isEmpty())
        return std::nullopt;
    for (const QString &entry : entries) {
        if (!entry.startsWith(typed, Qt::CaseInsensitive))
            continue;
        if (entry.size() <= typed.size())
            return std::nullopt;
        const int rest = int(entry.size() - typed.size());
        return ComboCompletion{typed + entry.right(rest), int(typed.size()), rest};
    }
    return std::nullopt;
}
