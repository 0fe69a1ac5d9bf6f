#pragma once

#include <QString>

// The log of a test process, kept in a temporary folder of its own so tests
// neither write into the user's log nor see another run's lines.
namespace TestLog {

// Call before anything logs.
void useTemporaryFolder();
// How many lines carry exactly this message from this source.
int count(const QString &source, const QString &message);

} // namespace TestLog
