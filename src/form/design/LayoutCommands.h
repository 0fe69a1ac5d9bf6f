#pragma once

#include <QStringList>

class Designer;
class Kivo_TablesFrm;
class Kivo_TablesStore;
struct FieldSet;
struct FormControls;

// The design toolbar's commands on the field sets: aligning and sizing them
// like the selected one, the field-type popup that turns a field into a text
// field or a drop-down fed by a value table, and editing the value tables.
// They change the controls on screen only; Save Layout stores the result.
class LayoutCommands
{
public:
    LayoutCommands(FormControls &ui, Kivo_TablesStore &tables, const Designer &designer);

    void alignInputsLeft();
    void alignLabelsLeft();
    void sameWidth();

    // Opens the field-type popup for set, listing every value table.
    void OpenTypesPopup(int set);
    // The popup's choices, for the set it was opened for.
    void makeTextField();
    void makeDropDownField(int table);

    // Opens the tables dialog; when it is confirmed, every drop-down takes
    // its table's values again, and one whose table is gone becomes a text
    // field, in the stored layout too, and the user is told.
    void EditValueTables(Kivo_TablesFrm &dialog);
    // The captions of the drop-down fields that table feeds.
    QStringList tableUsers(const QString &table) const;

    // The notice that a field's table is gone: the text's two markers take
    // the caption and the table name, each in double quotes. A text with
    // fewer markers gets the missing values at its end.
    static QString tableMissingNotice(const QString &text, const QString &caption,
                                      const QString &table);

private:
    // The set the alignment commands follow; none when no set is selected.
    const FieldSet *selected() const;

    FormControls &m_ui;
    Kivo_TablesStore &m_tables;
    const Designer &m_designer;
    int m_popupSet = 0;
};
