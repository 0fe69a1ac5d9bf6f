#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Reads comma-separated records (RFC 4180) from UTF-8 text: fields may be
// quoted, a quoted field may hold commas, doubled quotes and line breaks.
// Blank lines are skipped.
class CsvReader
{
public:
    struct Record
    {
        int line; // where the record starts, from 1
        QStringList fields;
    };

    // Throws Err(ImportFailure, "line N: ...") for text that is not UTF-8, a
    // quote that is never closed or text after a closing quote.
    static QList<Record> read(const QByteArray &data);
};
