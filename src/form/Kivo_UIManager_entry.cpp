// Who may change the entry, and where its typing goes.
#include "form/Kivo_UIManager.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "form/EntryDrafts.h"
#include "form/FieldTextBox.h"
#include "form/FormServices.h"
#include "form/RecordBinding.h"
#include "form/ToolIds.h"
#include "form/design/Designer.h"
#include "platform/ui/ToolBarControl.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include <utility>

using FormServices::log;

void Kivo_UIManager::ViewOnly(qint32 value)
{
    // Hosts set the mode before an entry's first Show: the form loads itself
    // on this first use, as on any other, so every tool it locks is there.
    ensureLoaded();
    log(QStringLiteral("Before init UI & language objects"));
    QV_Resource::InitUISettings();
    log(QStringLiteral("After init UI & language objects"));

    m_readOnly = value == 1;
    updateTitle();
    m_ui.m_TopToolBar->tool(ToolIds::DesignMode)->setEnabled(!m_readOnly);
    for (qint32 id : ToolIds::LayoutTools)
        m_ui.m_TopToolBar->tool(id)->setEnabled(false);
    applyEntryAccess();
}

void Kivo_UIManager::applyEntryAccess()
{
    const bool hasRecord = m_binding->record() != nullptr;
    const bool editable = hasRecord && !m_readOnly;
    const FieldSet::Access access = !hasRecord   ? FieldSet::Access::Disabled
                                    : m_readOnly ? FieldSet::Access::ReadOnly
                                                 : FieldSet::Access::Editable;
    for (FieldSet &set : m_ui.fieldSets)
        set.setAccess(access);
    for (FieldTextBox *box : {m_ui.txtCodeDesc, m_ui.txtCodeAngio}) {
        box->setReadOnly(!editable);
        box->setEnabled(hasRecord);
    }
    m_ui.cmdACR->setEnabled(editable);
    m_ui.cmdAngio->setEnabled(editable);
    m_ui.chkAFIP->setEnabled(editable);
    // Design mode keeps them off until it is left.
    for (qint32 id : ToolIds::RecordTools)
        m_ui.m_TopToolBar->tool(id)->setEnabled(editable && !m_designer->isOn());
}

void Kivo_UIManager::bringToFront()
{
    raise();
    activateWindow();
    // Focus set before the window system activates the window is given to
    // the field once it does.
    if (QWidget *field = firstEditableField())
        field->setFocus(Qt::ActiveWindowFocusReason);
}

QWidget *Kivo_UIManager::firstEditableField() const
{
    QWidget *first = nullptr;
    const auto above = [](const QWidget *a, const QWidget *b) {
        return std::make_pair(a->y(), a->x()) < std::make_pair(b->y(), b->x());
    };
    for (const FieldSet &set : m_ui.fieldSets) {
        QWidget *input = set.input();
        const bool editable = input->isVisibleTo(this) && input->isEnabled() &&
                              !(set.kind == FieldKind::Text && set.text->isReadOnly());
        if (editable && (!first || above(input, first)))
            first = input;
    }
    return first;
}

void Kivo_UIManager::updateTitle()
{
    const QString caption = QV_Resource::GetResString(
        m_readOnly ? ResourceIds::FORM_CAPTION_VIEW_ONLY : ResourceIds::FORM_CAPTION);
    setWindowTitle(m_entryTitle.isEmpty() ? caption
                                          : caption + QStringLiteral(" - ") + m_entryTitle);
}

void Kivo_UIManager::DropStaleDrafts(int maxAgeDays)
{
    m_drafts->dropStale(maxAgeDays);
}

void Kivo_UIManager::OfferDraft()
{
    // A read-only entry cannot take the draft; it stays for an editable one.
    if (!m_readOnly)
        m_drafts->offer(m_entryTitle);
}

void Kivo_UIManager::EntryEndedCleanly()
{
    m_drafts->endedCleanly();
}
