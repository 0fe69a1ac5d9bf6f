#pragma once

#include <QString>

namespace Kivo_API {

// True when the process runs inside the development environment, whose
// executable names follow "vb<digit>.exe". The mouse-wheel hook stays off
// there.
bool IsInIDE();
// The same test on a given executable path, any letter case.
bool isIdeExecutable(const QString &executablePath);

} // namespace Kivo_API
