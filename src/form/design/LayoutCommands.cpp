#include "form/design/LayoutCommands.h"

#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "config/Kivo_CFGManager.h"
#include "form/FieldTextBox.h"
#include "form/FormControls.h"
#include "form/FormServices.h"
#include "form/ToolIds.h"
#include "form/design/Designer.h"
#include "platform/ui/ToolBand.h"
#include "platform/ui/ToolBarControl.h"
#include "platform/ui/TwipsGeometry.h"
#include "tables/Kivo_TablesFrm.h"
#include "tables/Kivo_TablesStore.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using FormServices::log;

LayoutCommands::LayoutCommands(FormControls &ui, Kivo_TablesStore &tables, const Designer &designer)
    : m_ui(ui), m_tables(tables), m_designer(designer)
{
}

const FieldSet *LayoutCommands::selected() const
{
    const int s = m_designer.selectedSet();
    return s >= 0 && s < m_ui.fieldSets.size() ? &m_ui.fieldSets[s] : nullptr;
}

void LayoutCommands::alignInputsLeft()
{
    const FieldSet *reference = selected();
    if (!reference)
        return;
    const int left = TwipsGeometry::geometry(reference->input()).left();
    for (const FieldSet &set : m_ui.fieldSets) {
        TwipsGeometry::setLeft(set.text, left);
        TwipsGeometry::setLeft(set.combo, left);
    }
}

void LayoutCommands::alignLabelsLeft()
{
    const FieldSet *reference = selected();
    if (!reference)
        return;
    const int left = TwipsGeometry::geometry(reference->label).left();
    for (const FieldSet &set : m_ui.fieldSets)
        TwipsGeometry::setLeft(set.label, left);
}

void LayoutCommands::sameWidth()
{
    const FieldSet *reference = selected();
    if (!reference)
        return;
    const int width = TwipsGeometry::geometry(reference->input()).width();
    for (const FieldSet &set : m_ui.fieldSets) {
        TwipsGeometry::setWidth(set.text, width);
        TwipsGeometry::setWidth(set.combo, width);
    }
    m_ui.m_TopToolBar->update();
}

void LayoutCommands::OpenTypesPopup(int set)
{
    m_popupSet = set;
    log(QStringLiteral("Add Dynamic toolbar buttons"));
    ToolBand *tables = m_ui.m_TopToolBar->band(QLatin1String(ToolIds::TablePopup));
    tables->removeAllTools();
    // Every table is listed; only the first ones up to the last table tool act.
    const QStringList names = m_tables.GetTables();
    for (int j = 0; j < names.size(); ++j) {
        ToolBarLayout::Tool tool;
        tool.id = ToolIds::FirstTable + j;
        tool.name = QString::number(j);
        tool.caption = names[j];
        tables->addTool(tool);
    }
    QFont font = m_ui.m_TopToolBar->font();
    font.setPointSizeF(m_ui.cmdACR->font().pointSizeF());
    m_ui.m_TopToolBar->setFont(font);
    log(QStringLiteral("Open popup menu TF Field Popup"));
    m_ui.m_TopToolBar->popupBand(QLatin1String(ToolIds::FieldPopup));
}

void LayoutCommands::makeTextField()
{
    if (m_popupSet < m_ui.fieldSets.size())
        m_ui.fieldSets[m_popupSet].setKind(FieldKind::Text);
}

void LayoutCommands::makeDropDownField(int table)
{
    if (m_popupSet >= m_ui.fieldSets.size())
        return;
    FieldSet &set = m_ui.fieldSets[m_popupSet];
    set.setKind(FieldKind::DropDown);
    QStringList values;
    QString name;
    m_tables.GetValuesOfTableByIndex(table, values, name);
    // A table without values leaves the list empty and the table as it was.
    set.setList(values.isEmpty() ? set.table : name, values);
}

void LayoutCommands::EditValueTables(Kivo_TablesFrm &dialog)
{
    if (!dialog.Init())
        return;
    // A table renamed in the dialog keeps feeding its fields.
    const QHash<QString, QString> renames = m_tables.lastRenames();
    for (FieldSet &set : m_ui.fieldSets)
        set.table = renames.value(set.table, set.table);
    const QStringList names = m_tables.GetTables();
    for (int i = 0; i < m_ui.fieldSets.size(); ++i) {
        FieldSet &set = m_ui.fieldSets[i];
        if (set.kind != FieldKind::DropDown)
            continue;
        const int j = names.indexOf(set.table);
        if (j >= 0) {
            QStringList values;
            QString name;
            m_tables.GetValuesOfTableByIndex(j, values, name);
            set.setList(values.isEmpty() ? set.table : name, values);
            continue;
        }
        set.setKind(FieldKind::Text);
        FormServices::configuration().UpdateFieldType(QStringLiteral("TEXT"), i + 1,
                                                      QStringLiteral("text"));
        const qint32 code = ResourceIds::TABLE_MISSING_NOTICE;
        QV_MsgBox::ShowInfoMsgCode(
            tableMissingNotice(QV_Resource::GetResString(code), set.label->text(), set.table),
            code);
    }
}

QStringList LayoutCommands::tableUsers(const QString &table) const
{
    QStringList captions;
    for (const FieldSet &set : m_ui.fieldSets) {
        if (set.kind == FieldKind::DropDown && set.table == table)
            captions << set.label->text();
    }
    return captions;
}

QString LayoutCommands::tableMissingNotice(const QString &text, const QString &caption,
                                           const QString &table)
{
    const QString quote = QStringLiteral("\"");
    QStringList values{quote + caption + quote, quote + table + quote};
    const QStringList pieces = text.split(QStringLiteral("%s"));
    QString notice = pieces.first();
    for (int i = 1; i < pieces.size(); ++i)
        notice += (values.isEmpty() ? QString() : values.takeFirst()) + pieces[i];
    for (const QString &missing : values)
        notice += QLatin1Char(' ') + missing;
    return notice;
}
