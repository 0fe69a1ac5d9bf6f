#include "DisplayProfileService.h"

#include "platform/Err.h"

namespace {

bool isWildcard(const QString &part)
{
    return part.compare(QLatin1String("Any"), Qt::CaseInsensitive) == 0 ||
           part == QLatin1String("-99");
}

} // namespace

int DisplayProfileService::fitScore(const QString &childName, const DisplayDescriptor &descriptor,
                                    bool exactOnly)
{
    const QStringList parts = childName.split(QLatin1Char('_'));
    if (parts.size() != 3)
        return -1;
    const QString wanted[3] = {descriptor.colorMode, descriptor.resolution, descriptor.orientation};
    int score = 0;
    for (int i = 0; i < 3; ++i) {
        if (isWildcard(parts[i])) {
            if (exactOnly)
                return -1;
            continue;
        }
        // A value the caller does not know fits only a branch for any value.
        if (isWildcard(wanted[i]) || parts[i].compare(wanted[i], Qt::CaseInsensitive) != 0)
            return -1;
        ++score;
    }
    return score;
}

QString DisplayProfileService::BestFitPath(const ConfigTree &branch, const QString &basePath,
                                           qint32 exactOnly, qint32 allEntries,
                                           const DisplayProfile &profile) const
{
    if (!profile.isCommitted())
        throw Err(Err::WrongState, QStringLiteral("Display profile was not committed"));

    const QStringList children = branch.ChildNames(basePath).names();
    QList<qint32> entries = profile.preferenceOrder();
    if (allEntries == 0)
        entries = entries.mid(0, 1);

    for (const qint32 entry : entries) {
        int bestScore = -1;
        QString best;
        for (const QString &child : children) {
            const int score = fitScore(child, profile.Descriptor(entry), exactOnly != 0);
            if (score > bestScore) {
                bestScore = score;
                best = child;
            }
        }
        if (bestScore >= 0)
            return basePath.isEmpty() ? best : basePath + QLatin1Char('\\') + best;
    }
    return basePath;
}
