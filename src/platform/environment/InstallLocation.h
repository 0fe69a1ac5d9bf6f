#pragma once

#include <QString>

// Where the platform is installed, as file-system paths.
namespace InstallLocation {

// The platform value "CorvalisRoot" as a local path; "" when it is not set.
QString configuredRoot();
// The folder of the binary this code runs in (the component library, or the
// executable it is linked into).
QString componentFolder();
// configuredRoot(), or componentFolder() when no root is configured.
QString root();
// A path as the store keeps it ("\" separators) as a local path; a relative
// one is taken relative to root().
QString resolve(const QString &storePath);
// Only the separators changed: "\" becomes "/".
QString toLocalSeparators(const QString &storePath);

} // namespace InstallLocation
