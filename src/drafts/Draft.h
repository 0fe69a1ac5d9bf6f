#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>

// What was on the form of one entry when it was last edited: its values by
// the record's tags, whose entry it is (the host's key), who typed it and
// where, and when.
struct Draft
{
    QString key;
    QString login;
    QString workstation;
    QDateTime savedAt;
    QMap<QString, QString> values;
};
