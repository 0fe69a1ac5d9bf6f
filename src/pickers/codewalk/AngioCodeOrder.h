#pragma once

#include <QString>

// The order of dotted angiography codes in a list: part by part, whole
// numbers by their value (4.2 before 4.10, however many digits), a part that
// is not a whole number after the numeric ones and among its kind by text
// ignoring case, and a code before its own children.
class AngioCodeOrder
{
public:
    static bool lessThan(const QString &left, const QString &right);
};
