#pragma once

class Kivo_CFGManager;
class QString;

// What every part of the form reaches: its log lines and the one
// configuration manager.
namespace FormServices {

// A line under the form's own name.
void log(const QString &message);
// A line under the log's default source, as the per-set build lines go.
void logDefault(const QString &message);
// The published configuration manager; calling before one is published is
// a call in the wrong state.
Kivo_CFGManager &configuration();

} // namespace FormServices
