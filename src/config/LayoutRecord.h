#pragma once

#include <QString>

// One layout entry on its way between the form and the layout store: the
// form as a whole, or one control ("label" or "text") of one field set.
// Coordinates are twips; -1 in maxLength means no limit is stored.
struct LayoutRecord
{
    qint32 top = 0;
    qint32 left = 0;
    qint32 width = 0;
    qint32 height = 0;
    qint32 maxLength = -1;
    QString caption;
    QString tag;
    QString type;
    QString table;

    // Readies the record for the next entry. The tag belongs to the field
    // set, not to one control, so it outlives the clearing.
    void clear()
    {
        top = 0;
        left = 0;
        width = 0;
        height = 0;
        maxLength = -1;
        caption.clear();
        type.clear();
        table.clear();
    }
};
