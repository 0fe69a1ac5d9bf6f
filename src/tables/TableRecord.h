#pragma once

#include <QString>
#include <QStringList>

// One value table: the name a drop-down field refers to and its values in
// display order. Names compare exactly, case included.
struct TableRecord
{
    QString TableName;
    QStringList TableValues;

    bool operator==(const TableRecord &other) const
    {
        return TableName == other.TableName && TableValues == other.TableValues;
    }
};
