#pragma once

#include <functional>

class QString;

// Runs the work of a user-triggered handler (a click, a key, a tool). A
// failure is logged under the handler's name and shown to the user as an
// error message; it never escapes into the event loop, where it would take
// the host down. Answers whether the work completed.
bool runUserAction(const QString &handler, const std::function<void()> &work);
