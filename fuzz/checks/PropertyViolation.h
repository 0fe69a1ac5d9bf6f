#pragma once

#include <QString>

#include <stdexcept>

// A property of a parser's result that does not hold for some input. The
// fuzzers let it escape, so libFuzzer reports the input as a crash; the
// replay test turns it into a failure naming the input.
class PropertyViolation : public std::runtime_error
{
public:
    explicit PropertyViolation(const QString &what) : std::runtime_error(what.toStdString()) {}
};

// Throws PropertyViolation(what) unless the property holds. The message is a
// plain string so that a check that holds costs nothing to state.
inline void require(bool holds, const char *what)
{
    if (!holds)
        throw PropertyViolation(QString::fromUtf8(what));
}
