#include "form/FormDialogs.h"

#include "pickers/Kivo_ACRCodeFrm.h"
#include "pickers/Kivo_AngioCodeFrm.h"
#include "tables/Kivo_TablesFrm.h"

namespace {

template <typename Picker> void uninitialize(Picker *&picker)
{
    if (!picker)
        return;
    picker->Uninitialize();
    delete picker;
    picker = nullptr;
}

} // namespace

FormDialogs::FormDialogs(QWidget *form, Kivo_TablesStore &tables, TableUsers tableUsers)
    : m_form(form), m_tables(tables), m_tableUsers(std::move(tableUsers))
{
}

Kivo_ACRCodeFrm &FormDialogs::acrPicker()
{
    if (!m_acrPicker)
        m_acrPicker = new Kivo_ACRCodeFrm(m_form);
    return *m_acrPicker;
}

Kivo_AngioCodeFrm &FormDialogs::angioPicker()
{
    if (!m_angioPicker)
        m_angioPicker = new Kivo_AngioCodeFrm(m_form);
    return *m_angioPicker;
}

Kivo_TablesFrm &FormDialogs::tablesFrm()
{
    if (!m_tablesFrm) {
        m_tablesFrm = new Kivo_TablesFrm(m_tables, m_form);
        m_tablesFrm->setTableUsers(m_tableUsers);
    }
    return *m_tablesFrm;
}

void FormDialogs::Uninitialize()
{
    uninitialize(m_angioPicker);
    uninitialize(m_acrPicker);
    // The tables dialog holds nothing beyond itself to release.
    delete m_tablesFrm;
    m_tablesFrm = nullptr;
}
