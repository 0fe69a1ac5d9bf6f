#include "form/FormLayoutBuilder.h"

#include "common/QV_Resource.h"
#include "config/LayoutRecord.h"
#include "form/FieldTextBox.h"
#include "form/FormControls.h"
#include "form/FormLayoutIO.h"
#include "form/FormServices.h"
#include "form/LayoutGeometry.h"
#include "platform/ui/Twips.h"
#include "platform/ui/TwipsGeometry.h"
#include "tables/Kivo_TablesStore.h"

#include <QComboBox>
#include <QLabel>

namespace {

bool nameIn(const QWidget *control, std::initializer_list<const char *> names)
{
    const QString name = control->objectName();
    for (const char *candidate : names) {
        if (name == QLatin1String(candidate))
            return true;
    }
    return false;
}

// Controls the scaling never touches.
bool fixed_control(const QWidget *control)
{
    return nameIn(control,
                  {"UI_MultiMon1", "ImageList1", "Timer1", "FormScroller1", "m_TopToolBar"});
}

// Besides the fixed area's frame (buttons, captions, lines), the code and
// stamp labels and the end marker: none of them is placed by the layout, so
// scaling them on every Reset Layout would move them further each time.
bool non_resize_tf_control(const QWidget *control)
{
    return nameIn(control, {"UI_MultiMon1", "ImageList1",     "Timer1",           "FormScroller1",
                            "m_TopToolBar", "lblInfo",        "lblSubmitted",     "lblACR",
                            "chkAFIP",      "cmdAngio",       "lblDateSubmitted", "cmdACR",
                            "txtCodeDesc",  "txtCodeAngio",   "Line3D4",          "Line3D3",
                            "Line3D2",      "Line3D1",        "lblAngio",         "lblACRCode",
                            "lblAngioCode", "lblSubmittedBy", "lblDate",          "dummy"});
}

void setPointSize(QWidget *control, int pointSize)
{
    QFont font = control->font();
    font.setPointSize(pointSize);
    control->setFont(font);
}

} // namespace

FormLayoutBuilder::FormLayoutBuilder(QWidget *form, FormControls &ui, Kivo_TablesStore &tables)
    : m_form(form), m_ui(ui), m_tables(tables)
{
}

void FormLayoutBuilder::read(bool useDefault, int fieldPointSize)
{
    FormServices::log(QStringLiteral("Start ReadLayout"));
    FormLayoutIO layout(FormServices::configuration());
    if (!layout.open(useDefault))
        return;
    build(layout, useDefault, fieldPointSize);
    FormServices::log(QStringLiteral("Finish ReadLayout"));
}

int FormLayoutBuilder::fieldAreaOrigin(bool fromDefault) const
{
    return LayoutGeometry::fieldAreaOrigin(TwipsGeometry::geometry(m_ui.lblAngio).height(),
                                           TwipsGeometry::geometry(m_ui.txtCodeAngio).height(),
                                           fromDefault, QV_Resource::UIFactor());
}

void FormLayoutBuilder::build(const FormLayoutIO &layout, bool useDefault, int fieldPointSize)
{
    const LayoutRecord formLayout = layout.formLayout();
    FormServices::log(QStringLiteral("Start setting layout in the form"));
    resizeToLayout(formLayout);

    m_tables.ReadCfgTables();
    m_tableNames = m_tables.GetTables();

    const int count = int(m_ui.fieldSets.size());
    FormServices::logDefault(QStringLiteral("Number of labels is %1").arg(count));
    const int origin = fieldAreaOrigin(useDefault);
    for (int i = 0; i < count; ++i)
        buildFieldSet(layout, i, origin);

    FormServices::log(QStringLiteral("Setting ui according to facotr"));
    scaleToFactor(useDefault, fieldPointSize);
    FormServices::log(QStringLiteral("finish setting layout in the form"));
}

void FormLayoutBuilder::resizeToLayout(const LayoutRecord &formLayout)
{
    const double factor = QV_Resource::UIFactor();
    const int width = LayoutGeometry::windowPixels(formLayout.width, factor,
                                                   TwipsGeometry::twipsPerPixelX(m_form));
    const int height = LayoutGeometry::windowPixels(formLayout.height, factor,
                                                    TwipsGeometry::twipsPerPixelY(m_form));
    m_form->resize(width == -1 ? m_form->width() : width, height == -1 ? m_form->height() : height);
}

void FormLayoutBuilder::buildFieldSet(const FormLayoutIO &layout, int index, int origin)
{
    const int setNumber = index + 1;
    FormServices::logDefault(QStringLiteral("Start init set number %1").arg(setNumber));
    const FieldLayout stored = layout.fieldSet(index);

    FieldSet &set = m_ui.fieldSets[index];
    set.place(stored.label, stored.input, origin);
    set.setDimmed(false);
    QPalette comboPalette = set.combo->palette();
    comboPalette.setColor(QPalette::Base, QV_Resource::ToQColor(FieldSet::NormalBackColor));
    set.combo->setPalette(comboPalette);
    set.combo->lower();
    set.text->lower();

    // The list is exactly the table's values, also when it is rebuilt.
    QStringList values;
    if (!set.table.isEmpty())
        m_tables.GetValuesOfTable(set.table, values);
    set.setList(set.table, values);
    FormServices::logDefault(QStringLiteral("finish init set number %1").arg(setNumber));
}

void FormLayoutBuilder::scaleToFactor(bool useDefault, int fieldPointSize)
{
    const double factor = QV_Resource::UIFactor();

    QList<QWidget *> scaled;
    for (QWidget *control : m_ui.all()) {
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
    for (const FieldSet &set : m_ui.fieldSets) {
        TwipsGeometry::setHeight(set.combo,
                                 Twips::fromPixels(set.combo->sizeHint().height(),
                                                   TwipsGeometry::twipsPerPixelY(set.combo)));
    }

    // The shift is measured on the status line when it is scaled; a rebuild
    // that leaves the status line where it is moves the fields by the same
    // amount, so they land where the first build put them.
    if (scaled.contains(m_ui.lblInfo))
        m_scaleShift =
            LayoutGeometry::scaleShift(TwipsGeometry::geometry(m_ui.lblInfo).top(), factor);
    if (m_scaleShift == 0)
        return;
    for (QWidget *control : scaled)
        TwipsGeometry::setTop(control, TwipsGeometry::geometry(control).top() - m_scaleShift);
}
