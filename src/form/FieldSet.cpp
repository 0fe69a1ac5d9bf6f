#include "form/FieldSet.h"

#include "common/QV_Resource.h"
#include "config/LayoutRecord.h"
#include "form/FieldTextBox.h"
#include "form/LayoutGeometry.h"
#include "platform/ui/TwipsGeometry.h"

#include <QComboBox>
#include <QLabel>

namespace {

const QString TextKindName = QStringLiteral("TEXT");
const QString DropDownKindName = QStringLiteral("DROP DOWN");
constexpr quint32 NormalTextColor = 0x000000;
constexpr quint32 DimmedColor = 0x808080;

// A value of the list becomes its current entry, so the arrow keys move on
// from it rather than showing it again; any other value is shown as typed.
void showInDropDown(QComboBox *combo, const QString &value)
{
    const int index = combo->findText(value);
    combo->setCurrentIndex(index);
    if (index < 0)
        combo->setEditText(value);
}

} // namespace

QString fieldKindName(FieldKind kind)
{
    return kind == FieldKind::DropDown ? DropDownKindName : TextKindName;
}

FieldKind fieldKindFromName(const QString &name)
{
    return name == DropDownKindName ? FieldKind::DropDown : FieldKind::Text;
}

QWidget *FieldSet::input() const
{
    if (kind == FieldKind::DropDown)
        return combo;
    return text;
}

int FieldSet::maxLength() const
{
    return text->maxLength();
}

void FieldSet::setKind(FieldKind newKind)
{
    kind = newKind;
    text->setHidden(kind == FieldKind::DropDown);
    combo->setHidden(kind == FieldKind::Text);
    // A caption is announced with the input it names ("History:, edit").
    label->setBuddy(input());
}

void FieldSet::setList(const QString &tableName, const QStringList &values)
{
    const QString shown = combo->currentText();
    combo->clear();
    combo->addItems(values);
    showInDropDown(combo, shown);
    table = tableName;
}

void FieldSet::place(const LayoutRecord &labelEntry, const LayoutRecord &inputEntry, int origin)
{
    TwipsGeometry::setGeometry(
        label, LayoutGeometry::placed(TwipsGeometry::geometry(label), labelEntry, origin, true));
    label->setText(labelEntry.caption);
    // The label's tag is the field's data tag.
    tag = labelEntry.tag.toUpper();

    // A drop-down is as high as its font makes it.
    TwipsGeometry::setGeometry(
        combo, LayoutGeometry::placed(TwipsGeometry::geometry(combo), inputEntry, origin, false));
    TwipsGeometry::setGeometry(
        text, LayoutGeometry::placed(TwipsGeometry::geometry(text), inputEntry, origin, true));
    if (inputEntry.maxLength >= 0)
        text->setMaxLength(inputEntry.maxLength);
    table = inputEntry.table;
    setKind(fieldKindFromName(inputEntry.type));
}

void FieldSet::setDimmed(bool dimmed)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     QV_Resource::ToQColor(dimmed ? DimmedColor : NormalTextColor));
    label->setPalette(palette);
    QFont font = label->font();
    font.setItalic(dimmed);
    label->setFont(font);
    text->setBackColor(dimmed ? DimmedColor : NormalBackColor);
}

void FieldSet::setAccess(Access access)
{
    const bool locked = access != Access::Editable;
    text->setBackColor(locked ? LockedBackColor : NormalBackColor);
    text->setReadOnly(locked);
    text->setEnabled(access != Access::Disabled);
    combo->setEnabled(!locked);
}

QString FieldSet::value() const
{
    if (kind == FieldKind::Text)
        return text->toPlainText();
    const QString shown = combo->currentText();
    return !wholeValue.isNull() && shown == shownPart ? wholeValue : shown;
}

void FieldSet::setValue(const QString &value)
{
    shownPart.clear();
    wholeValue = QString();
    if (kind == FieldKind::Text) {
        text->setPlainText(value);
        return;
    }
    showInDropDown(combo, value);
    if (combo->currentText() != value) {
        shownPart = combo->currentText();
        wholeValue = value;
    }
}
