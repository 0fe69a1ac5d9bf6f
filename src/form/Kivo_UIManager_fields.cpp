// Building the field sets from the stored layout, scaling the form to the
// display, and the read-only mode.
#include "form/Kivo_UIManager.h"

#include "common/QV_Resource.h"
#include "common/QV_VBLogger.h"
#include "common/ResourceIds.h"
#include "config/Kivo_CFGManager.h"
#include "config/LayoutRecord.h"
#include "form/ControlTag.h"
#include "form/FieldTextBox.h"
#include "form/LayoutGeometry.h"
#include "pickers/Kivo_ACRCodeFrm.h"
#include "platform/Err.h"
#include "platform/ui/FormScroller.h"
#include "platform/ui/ToolBarControl.h"
#include "platform/ui/TwipsGeometry.h"
#include "tables/Kivo_TablesFrm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

const QString TextKind = QStringLiteral("TEXT");
const QString DropDownKind = QStringLiteral("DROP DOWN");
constexpr quint32 EditableBackColor = 0xE0E0E0;
constexpr quint32 LockedBackColor = 0xC0C0C0;

void log(const QString &message)
{
    QV_VBLogger::WriteLog(message, QStringLiteral("Kivo_UIManager"));
}

// The per-set lines go to the log's default source.
void logSet(const QString &message)
{
    QV_VBLogger::WriteLog(message, QStringLiteral("VB"));
}

Kivo_CFGManager &configuration()
{
    Kivo_CFGManager *manager = Kivo_CFGManager::instance();
    if (!manager)
        throw Err(Err::InvalidArgument, QStringLiteral("No configuration manager is published"));
    return *manager;
}

bool nameIn(const QWidget *control, std::initializer_list<const char *> names)
{
    const QString name = control->objectName();
    for (const char *candidate : names) {
        if (name == QLatin1String(candidate))
            return true;
    }
    return false;
}

void setPointSize(QWidget *control, int pointSize)
{
    QFont font = control->font();
    font.setPointSize(pointSize);
    control->setFont(font);
}

} // namespace

bool Kivo_UIManager::fixed_control(const QWidget *control)
{
    return nameIn(control,
                  {"UI_MultiMon1", "ImageList1", "Timer1", "FormScroller1", "m_TopToolBar"});
}

bool Kivo_UIManager::non_resize_tf_control(const QWidget *control)
{
    // Besides the fixed area's frame (buttons, captions, lines), the code and
    // stamp labels and the end marker: none of them is placed by the layout,
    // so scaling them on every Reset Layout would move them further each time.
    return nameIn(control, {"UI_MultiMon1", "ImageList1",     "Timer1",           "FormScroller1",
                            "m_TopToolBar", "lblInfo",        "lblSubmitted",     "lblACR",
                            "chkAFIP",      "cmdAngio",       "lblDateSubmitted", "cmdACR",
                            "txtCodeDesc",  "txtCodeAngio",   "Line3D4",          "Line3D3",
                            "Line3D2",      "Line3D1",        "lblAngio",         "lblACRCode",
                            "lblAngioCode", "lblSubmittedBy", "lblDate",          "dummy"});
}

QList<QWidget *> Kivo_UIManager::formControls() const
{
    QList<QWidget *> controls{
        m_TopToolBar, FormScroller1,  lblInfo,          lblACR,   lblACRCode,   cmdACR,
        txtCodeDesc,  lblAngio,       lblAngioCode,     cmdAngio, txtCodeAngio, chkAFIP,
        lblSubmitted, lblSubmittedBy, lblDateSubmitted, lblDate,  dummy,        Line3D1,
        Line3D2,      Line3D3,        Line3D4};
    for (QLabel *label : m_aLabels)
        controls << label;
    for (FieldTextBox *box : m_aText)
        controls << box;
    for (QComboBox *combo : m_aCombo)
        controls << combo;
    return controls;
}

void Kivo_UIManager::InitAndUpdateUIFields(TFData *record)
{
    // Loading places the window and reads the font and scale settings of the
    // display it opens on; the first build works with those.
    ensureLoaded();
    if (!m_fieldsInitialised) {
        connectDataHandlers();
        m_fieldsInitialised = true;
        log(QStringLiteral("font size from cfg is %1 and factor is %2")
                .arg(QV_Resource::FontSize())
                .arg(QV_Resource::UIFactor()));
    }
    if (record)
        holdRecord(record);

    log(QStringLiteral("Reading TF Form's layout"));
    ClearAll();
    ReadLayout(false);
    if (record)
        UpdateUIFields(record);

    for (QWidget *control : formControls()) {
        if (!nameIn(control, {"UI_MultiMon1", "ImageList1", "Timer1", "FormScroller1", "Line3D4",
                              "Line3D2"}))
            QV_Resource::SetControlFontFace(control);
    }
    QFont barFont = m_TopToolBar->font();
    barFont.setFamily(QV_Resource::FontName());
    barFont.setPointSizeF(cmdACR->font().pointSizeF());
    m_TopToolBar->setFont(barFont);
}

void Kivo_UIManager::ReadLayout(bool useDefault)
{
    ensureLoaded();
    log(QStringLiteral("Start ReadLayout"));
    Kivo_CFGManager &manager = configuration();
    // Without a layout to read the fields stay as they are.
    if (!manager.InitBeforeReadLayout(useDefault))
        return;
    LayoutRecord formLayout;
    manager.ReadFormLayout(formLayout);
    buildFromLayout(useDefault, formLayout);
    log(QStringLiteral("Finish ReadLayout"));
}

void Kivo_UIManager::buildFromLayout(bool useDefault, const LayoutRecord &formLayout)
{
    log(QStringLiteral("Start setting layout in the form"));
    resizeToLayout(formLayout);

    Kivo_TablesStore &tables = m_tablesFrm->store();
    tables.ReadCfgTables();
    m_tableNames = tables.GetTables();

    const int count = int(m_aLabels.size());
    m_kinds.resize(count);
    logSet(QStringLiteral("Number of labels is %1").arg(count));

    const double factor = QV_Resource::UIFactor();
    const int origin = LayoutGeometry::fieldAreaOrigin(
        TwipsGeometry::geometry(lblAngio).height(), TwipsGeometry::geometry(txtCodeAngio).height(),
        useDefault, factor);
    for (int i = 0; i < count; ++i)
        buildFieldSet(i, origin);

    log(QStringLiteral("Setting ui according to facotr"));
    scaleToFactor(useDefault);
    log(QStringLiteral("finish setting layout in the form"));
}

void Kivo_UIManager::resizeToLayout(const LayoutRecord &formLayout)
{
    const double factor = QV_Resource::UIFactor();
    const int width =
        LayoutGeometry::windowPixels(formLayout.width, factor, TwipsGeometry::twipsPerPixelX(this));
    const int height = LayoutGeometry::windowPixels(formLayout.height, factor,
                                                    TwipsGeometry::twipsPerPixelY(this));
    resize(width == -1 ? this->width() : width, height == -1 ? this->height() : height);
}

void Kivo_UIManager::buildFieldSet(int index, int origin)
{
    const int setNumber = index + 1;
    logSet(QStringLiteral("Start init set number %1").arg(setNumber));
    const Kivo_CFGManager &manager = configuration();

    // A fresh record per set: a set stored without a tag gets none, rather
    // than the previous set's, under which its value would overwrite that
    // set's value in the host record.
    LayoutRecord entry;
    manager.ReadFieldLayout(entry, setNumber, QStringLiteral("label"));
    QLabel *label = m_aLabels[index];
    QPalette labelPalette = label->palette();
    labelPalette.setColor(QPalette::WindowText, QV_Resource::ToQColor(0));
    label->setPalette(labelPalette);
    TwipsGeometry::setGeometry(
        label, LayoutGeometry::placed(TwipsGeometry::geometry(label), entry, origin, true));
    label->setText(entry.caption);
    ControlTag::setTag(label, entry.tag.toUpper());

    entry.clear();
    manager.ReadFieldLayout(entry, setNumber, QStringLiteral("text"));
    const QString tag = entry.tag.toUpper();

    QComboBox *combo = m_aCombo[index];
    TwipsGeometry::setGeometry(
        combo, LayoutGeometry::placed(TwipsGeometry::geometry(combo), entry, origin, false));
    ControlTag::setTag(combo, tag);
    QPalette comboPalette = combo->palette();
    comboPalette.setColor(QPalette::Base, QV_Resource::ToQColor(EditableBackColor));
    combo->setPalette(comboPalette);
    combo->lower();

    FieldTextBox *box = m_aText[index];
    TwipsGeometry::setGeometry(
        box, LayoutGeometry::placed(TwipsGeometry::geometry(box), entry, origin, true));
    ControlTag::setTag(box, tag);
    if (entry.maxLength >= 0)
        box->setMaxLength(entry.maxLength);
    box->setBackColor(EditableBackColor);
    box->lower();

    fillDropDown(combo, entry.table);

    const bool dropDown = entry.type == DropDownKind;
    box->setHidden(dropDown);
    combo->setHidden(!dropDown);
    m_kinds[index] = dropDown ? DropDownKind : TextKind;
    logSet(QStringLiteral("finish init set number %1").arg(setNumber));
}

void Kivo_UIManager::fillDropDown(QComboBox *combo, const QString &table)
{
    // The list is exactly the table's values, also when it is rebuilt; what
    // the field shows stays.
    const QString shown = combo->currentText();
    combo->clear();
    if (!table.isEmpty()) {
        QStringList values;
        m_tablesFrm->store().GetValuesOfTable(table, values);
        combo->addItems(values);
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(shown);
    ControlTag::setTableName(combo, table);
}

void Kivo_UIManager::scaleToFactor(bool useDefault)
{
    const double factor = QV_Resource::UIFactor();
    const int fieldPointSize = m_acrPicker->ControlFontSize();

    QList<QWidget *> scaled;
    for (QWidget *control : formControls()) {
        if (fixed_control(control) || (useDefault && non_resize_tf_control(control)))
            continue;
        TwipsGeometry::setGeometry(
            control, LayoutGeometry::scaled(TwipsGeometry::geometry(control), factor));
        if (fieldPointSize > 0)
            setPointSize(control, fieldPointSize);
        scaled << control;
    }

    // A drop-down is as high as its font makes it, so its height is never
    // multiplied (a rebuild would multiply it again).
    for (QComboBox *combo : m_aCombo) {
        TwipsGeometry::setHeight(
            combo, qRound(combo->sizeHint().height() * TwipsGeometry::twipsPerPixelY(combo)));
    }

    // The shift is measured on the status line when it is scaled; a rebuild
    // that leaves the status line where it is moves the fields by the same
    // amount, so they land where the first build put them.
    if (scaled.contains(lblInfo))
        m_scaleShift = LayoutGeometry::scaleShift(TwipsGeometry::geometry(lblInfo).top(), factor);
    if (m_scaleShift == 0)
        return;
    for (QWidget *control : scaled)
        TwipsGeometry::setTop(control, TwipsGeometry::geometry(control).top() - m_scaleShift);
}

void Kivo_UIManager::ViewOnly(qint32 value)
{
    // Hosts set the mode before an entry's first Show: the form loads itself
    // on this first use, as on any other, so every tool it locks is there.
    ensureLoaded();
    log(QStringLiteral("Before init UI & language objects"));
    QV_Resource::InitUISettings();
    log(QStringLiteral("After init UI & language objects"));

    const bool editable = value != 1;
    setWindowTitle(QV_Resource::GetResString(editable ? ResourceIds::FORM_CAPTION
                                                      : ResourceIds::FORM_CAPTION_VIEW_ONLY));
    cmdACR->setEnabled(editable);
    cmdAngio->setEnabled(editable);
    for (qint32 id : {1, 2, 3, 4})
        m_TopToolBar->tool(id)->setEnabled(editable);
    for (qint32 id : {5, 6, 11})
        m_TopToolBar->tool(id)->setEnabled(false);
    for (FieldTextBox *box : m_aText) {
        box->setBackColor(editable ? EditableBackColor : LockedBackColor);
        box->setReadOnly(!editable);
    }
    chkAFIP->setEnabled(editable);
}
