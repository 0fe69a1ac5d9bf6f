// The toolbar's commands and switching design mode.
#include "form/Kivo_UIManager.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "form/FormDialogs.h"
#include "form/FormServices.h"
#include "form/IdentifierCheckPrompt.h"
#include "form/RecordBinding.h"
#include "form/StatusLine.h"
#include "form/ToolIds.h"
#include "form/UserAction.h"
#include "form/design/Designer.h"
#include "form/design/LayoutCommands.h"
#include "form/design/LayoutSaver.h"
#include "platform/ui/ToolBarControl.h"

#include <QAction>
#include <QShortcut>

void Kivo_UIManager::setDesignBandVisible(bool visible)
{
    m_designer->setBandVisible(visible);
}

bool Kivo_UIManager::isDesignModeOn() const
{
    return m_designer->isOn();
}

void Kivo_UIManager::EnterDesignMode()
{
    ensureLoaded();
    m_designer->EnterDesignMode();
}

void Kivo_UIManager::ExitDesignMode()
{
    ensureLoaded();
    m_designer->ExitDesignMode();
    // Leaving design mode gives the data tools back, the record tools only
    // to an entry the user may edit.
    applyEntryAccess();
}

void Kivo_UIManager::leaveDesignMode()
{
    if (m_designer->isOn())
        ExitDesignMode();
}

void Kivo_UIManager::SaveLayout()
{
    ensureLoaded();
    m_saver->SaveLayout();
}

void Kivo_UIManager::setDesignMode(bool allowed)
{
    ensureLoaded();
    // Withdrawn while in use: the user leaves design mode first.
    if (!allowed)
        leaveDesignMode();
    QAction *designMode = m_ui.m_TopToolBar->tool(ToolIds::DesignMode);
    designMode->setEnabled(allowed);
    designMode->setVisible(allowed);
    for (qint32 id : ToolIds::LayoutTools) {
        QAction *tool = m_ui.m_TopToolBar->tool(id);
        tool->setEnabled(false);
        tool->setVisible(allowed);
    }
    m_ui.m_TopToolBar->recalcLayout();
}

void Kivo_UIManager::onToolClicked(qint32 toolId)
{
    switch (toolId) {
    case ToolIds::Submit:
        // Nothing that names the patient leaves unless the user says so.
        if (IdentifierCheckPrompt::allowsSubmit(m_ui.fieldSets, tfData()))
            SubmitData();
        break;
    case ToolIds::ClearAll:
        clearAllUndoably();
        break;
    case ToolIds::Revert:
        RevertToOriginal();
        m_binding->markModified(QStringLiteral("After RevertToOriginal"));
        break;
    case ToolIds::DesignMode:
        if (m_designer->isOn())
            ExitDesignMode();
        else
            m_designer->EnterDesignMode();
        break;
    case ToolIds::SaveLayout:
        leaveDesignMode();
        SaveLayout();
        break;
    case ToolIds::ResetLayout:
        ReadLayout(true);
        break;
    case ToolIds::Close:
        hideToHost();
        break;
    case ToolIds::AlignInputsLeft:
        m_commands->alignInputsLeft();
        break;
    case ToolIds::AlignLabelsLeft:
        m_commands->alignLabelsLeft();
        break;
    case ToolIds::SameWidth:
        m_commands->sameWidth();
        break;
    case ToolIds::ValueTables:
        m_commands->EditValueTables(m_dialogs->tablesFrm());
        break;
    case ToolIds::MakeTextField:
        m_commands->makeTextField();
        break;
    default:
        if (toolId >= ToolIds::FirstTable && toolId <= ToolIds::LastTable)
            m_commands->makeDropDownField(toolId - ToolIds::FirstTable);
        // Other tools have no command here.
        break;
    }
}

void Kivo_UIManager::clearAllUndoably()
{
    const QStringList cleared = m_binding->clearAllUndoably();
    if (!cleared.isEmpty()) {
        m_status->showBriefly(QV_Resource::GetResString(ResourceIds::CLEARED_STATUS)
                                  .arg(cleared.join(QStringLiteral(", "))));
    }
}

void Kivo_UIManager::connectUndo()
{
    // Ctrl+Z in a text box or drop-down reaches the binding with the key;
    // anywhere else in the window this shortcut does.
    auto *undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, [this] {
        runUserAction(QStringLiteral("UndoClearAll"), [this] { m_binding->undoClearAll(); });
    });
}
