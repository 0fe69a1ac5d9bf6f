#pragma once

#include <QString>

// One line of a picker's list: a code of the tree and its description.
struct CodeEntry
{
    QString code;
    QString description;

    // The code, eight blanks and the description; a row of "?" marks a code
    // whose description is missing, so the gap is seen rather than hidden.
    QString text() const;
};
