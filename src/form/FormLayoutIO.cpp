#include "form/FormLayoutIO.h"

#include "config/Kivo_CFGManager.h"
#include "form/FormServices.h"
#include "form/LayoutGeometry.h"

namespace {

const QString LabelElement = QStringLiteral("label");
const QString InputElement = QStringLiteral("text");

// A stored value out of any sane range (a damaged or hostile layout) is
// brought into range before the form computes with it, and the log says so.
void clampStored(LayoutRecord &entry, const QString &what)
{
    const QStringList clamped = LayoutGeometry::clampToSaneRange(entry);
    if (!clamped.isEmpty())
        FormServices::log(QStringLiteral("Layout of %1 out of range, clamped: %2")
                              .arg(what, clamped.join(QStringLiteral(", "))));
}

} // namespace

bool FormLayoutIO::open(bool useDefault)
{
    return m_manager.InitBeforeReadLayout(useDefault);
}

LayoutRecord FormLayoutIO::formLayout() const
{
    LayoutRecord record;
    m_manager.ReadFormLayout(record);
    clampStored(record, QStringLiteral("the form"));
    return record;
}

FieldLayout FormLayoutIO::fieldSet(int index) const
{
    // A fresh record per set: a set stored without a tag gets none, rather
    // than the previous set's, under which its value would overwrite that
    // set's value in the host record.
    FieldLayout set;
    m_manager.ReadFieldLayout(set.label, index + 1, LabelElement);
    set.input.tag = set.label.tag;
    m_manager.ReadFieldLayout(set.input, index + 1, InputElement);
    clampStored(set.label, QStringLiteral("set %1 (%2)").arg(index + 1).arg(LabelElement));
    clampStored(set.input, QStringLiteral("set %1 (%2)").arg(index + 1).arg(InputElement));
    return set;
}

bool FormLayoutIO::begin(int formWidth, int formHeight)
{
    if (!m_manager.InitSaveTree())
        return false;
    LayoutRecord form;
    form.width = formWidth;
    form.height = formHeight;
    m_manager.WriteFormSize(form);
    return true;
}

void FormLayoutIO::writeFieldSet(int index, const FieldLayout &set)
{
    FormServices::log(QStringLiteral("Saving control (label) position number %1").arg(index));
    m_manager.WriteFieldLayout(set.label, index + 1, LabelElement);
    FormServices::log(QStringLiteral("Saving control (text) position number %1").arg(index));
    m_manager.WriteFieldLayout(set.input, index + 1, InputElement);
}

void FormLayoutIO::commit()
{
    FormServices::log(QStringLiteral("Dumping save info to the CFG db"));
    m_manager.DumpDataToCFG();
    FormServices::log(QStringLiteral("Finish Dumping save info to the CFG db"));
}
