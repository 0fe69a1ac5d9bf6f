#pragma once

#include <QString>

// One display a settings branch may be written for. The three texts use the
// words "RGB"/"PALETTE", "High"/"Normal" and "Landscape"/"Portrait"; "-99"
// stands for a value that is not known, and only a branch written for any
// value fits it.
//
// The integers travel with the descriptor for the callers that fill them
// (monitor count, monitor index, and a reserved -1); the matching of branches
// looks at the texts only.
struct DisplayDescriptor
{
    qint32 monitorCount = 0;
    qint32 monitorIndex = 0;
    qint32 reserved = -1;
    QString colorMode = QStringLiteral("-99");
    QString resolution = QStringLiteral("-99");
    QString orientation = QStringLiteral("-99");
};
