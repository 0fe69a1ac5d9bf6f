#include "Kivo_API.h"

#include <QFile>
#include <QRegularExpression>

namespace Kivo_API {

bool IsInIDE()
{
    // An unreadable link gives an empty path, which does not match.
    return isIdeExecutable(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
}

bool isIdeExecutable(const QString &executablePath)
{
    // "*vb#.exe*": any run, "vb", one decimal digit, ".exe", any run.
    static const QRegularExpression pattern(QStringLiteral("vb[0-9]\\.exe"));
    return pattern.match(executablePath.toLower()).hasMatch();
}

} // namespace Kivo_API
