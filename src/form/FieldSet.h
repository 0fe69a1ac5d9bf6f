#pragma once

#include <QString>
#include <QStringList>

class FieldTextBox;
class QComboBox;
class QLabel;
class QWidget;
struct LayoutRecord;

// What a field set's input is: a free-text box or a drop-down fed by a value
// table. Stored as "TEXT" and "DROP DOWN".
enum class FieldKind { Text, DropDown };

QString fieldKindName(FieldKind kind);
// "DROP DOWN" is a drop-down; anything else, stored or not, is a text field.
FieldKind fieldKindFromName(const QString &name);

// One field of the form: its caption label, its text box and its drop-down,
// of which the kind shows one. The set's tag is the name under which its
// value travels in the host record, upper case, "" for a set that has none;
// the table is the value table that feeds the drop-down.
struct FieldSet
{
    // The text box's background in use, and while the entry is read-only.
    static constexpr quint32 NormalBackColor = 0xE0E0E0;
    static constexpr quint32 LockedBackColor = 0xC0C0C0;

    QLabel *label = nullptr;
    FieldTextBox *text = nullptr;
    QComboBox *combo = nullptr;
    FieldKind kind = FieldKind::Text;
    QString tag;
    QString table;

    // The input the kind shows.
    QWidget *input() const;
    int maxLength() const;

    // Shows the input of kind and hides the other.
    void setKind(FieldKind newKind);
    // The drop-down's list becomes exactly values, fed by table; what the
    // field shows stays.
    void setList(const QString &tableName, const QStringList &values);
    // The stored entries of the label and the input, with the field area
    // starting at origin (twips): places both controls and takes caption,
    // tag, maximum length, kind and table. The list is filled apart.
    void place(const LayoutRecord &labelEntry, const LayoutRecord &inputEntry, int origin);

    // The look of a field in use (label black, box light grey), or of one
    // dimmed while another is worked on in design mode.
    void setDimmed(bool dimmed);

    // Who may change the field: the user (an entry in work), nobody
    // (a read-only entry: the text box stays readable and selectable, the
    // drop-down is disabled, because its list and arrow keys would change
    // even a read-only line edit), or nobody at all (no entry: disabled).
    enum class Access { Editable, ReadOnly, Disabled };
    void setAccess(Access access);

    // What the set shows or was given by the program, for the record.
    QString value() const;
    void setValue(const QString &value);

    // A record's value longer than the drop-down's line can hold: what the
    // line shows of it, and the whole value, which goes back to the record
    // whole unless the user changes the line.
    QString shownPart;
    QString wholeValue;
};
