#pragma once

#include <QString>

#include <variant>

// What one key may hold: a string or a 32-bit integer.
using ConfigValue = std::variant<QString, qint32>;

// The longest string value a key takes (characters).
inline constexpr int MaxValueLength = 1 << 20;
