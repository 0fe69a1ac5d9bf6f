#include "form/Kivo_UIManager.h"

#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "form/EntryDrafts.h"
#include "form/FieldTextBox.h"
#include "form/FormDialogs.h"
#include "form/FormLayoutBuilder.h"
#include "form/FormLook.h"
#include "form/FormScrolling.h"
#include "form/FormServices.h"
#include "form/Kivo_API.h"
#include "form/RecordAccess.h"
#include "form/RecordBinding.h"
#include "form/StatusLine.h"
#include "form/ToolIds.h"
#include "form/UserAction.h"
#include "form/design/Designer.h"
#include "form/design/DragTracker.h"
#include "form/design/LayoutCommands.h"
#include "form/design/LayoutSaver.h"
#include "platform/environment/InstallLocation.h"
#include "platform/environment/UIEnvironment.h"
#include "platform/ui/FormScroller.h"
#include "platform/ui/IconCache.h"
#include "platform/ui/ToolBarControl.h"
#include "platform/ui/Twips.h"
#include "platform/ui/TwipsGeometry.h"
#include "platform/ui/WindowPlacementControl.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QWindow>

namespace {

// The placement the window's position is stored under.
constexpr qint32 PlacementId = 9995;
constexpr qint32 KeepPosition = 11;
// The size the window is placed with when nothing is stored, in twips.
constexpr int DefaultWindowTwips = 8000;

using FormServices::log;

} // namespace

Kivo_UIManager::Kivo_UIManager(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Kivo_UIManager"));
    m_ui.setupUi(this);
    m_layout = std::make_unique<FormLayoutBuilder>(this, m_ui, m_tables);
    m_scrolling = std::make_unique<FormScrolling>(this, m_ui.FormScroller1, m_ui.dummy);
    m_binding = new RecordBinding(this, m_ui);
    m_drafts = new EntryDrafts(this, *m_binding);
    m_status = new StatusLine(m_ui.lblInfo, m_ui.Timer1, this);
    m_designer = new Designer(this, m_ui, *m_status);
    m_commands = std::make_unique<LayoutCommands>(m_ui, m_tables, *m_designer);
    m_saver = std::make_unique<LayoutSaver>(this, m_ui, *m_status, *m_scrolling);
    m_dialogs = std::make_unique<FormDialogs>(
        this, m_tables, [this](const QString &table) { return m_commands->tableUsers(table); });
    connect(m_binding, &RecordBinding::submitPressed, this, &Kivo_UIManager::SubmitPressed);
    connectUndo();
    connect(m_designer, &Designer::typesPopupRequested, this,
            [this](int set) { m_commands->OpenTypesPopup(set); });
    connect(m_ui.m_TopToolBar, &ToolBarControl::toolClicked, this, [this](qint32 toolId) {
        runUserAction(QStringLiteral("m_TopToolBar_ToolClick"), [&] { onToolClicked(toolId); });
    });
}

Kivo_UIManager::~Kivo_UIManager() = default;

QString Kivo_UIManager::TF_POSITION_PATH()
{
    return QStringLiteral("teachingfile\\appearance\\position");
}

void Kivo_UIManager::ensureLoaded()
{
    if (m_loaded)
        return;
    m_scrolling->forgetHook();
    m_ui.UI_MultiMon1->attach(this);
    FormLook::setDefaultCaptions(this, m_ui);
    m_uninitializing = false;
    m_ui.lblInfo->hide();

    const QString iconPath = InstallLocation::toLocalSeparators(QV_Resource::ApplicationIconPath());
    if (!iconPath.isEmpty())
        setWindowIcon(IconCache::fileIcon(iconPath));
    for (QWidget *control :
         {static_cast<QWidget *>(m_ui.cmdACR), static_cast<QWidget *>(m_ui.cmdAngio),
          static_cast<QWidget *>(m_ui.txtCodeDesc), static_cast<QWidget *>(m_ui.txtCodeAngio),
          static_cast<QWidget *>(m_ui.Line3D4), static_cast<QWidget *>(m_ui.Line3D2),
          static_cast<QWidget *>(m_ui.Line3D3), static_cast<QWidget *>(m_ui.chkAFIP)})
        control->lower();

    UIEnvironment environment;
    log(QStringLiteral("before PositionForWindow"));
    QString display;
    QRect placement;
    environment.PositionForWindow(
        Twips::toPixels(DefaultWindowTwips, TwipsGeometry::twipsPerPixelX(this)),
        Twips::toPixels(DefaultWindowTwips, TwipsGeometry::twipsPerPixelY(this)), PlacementId,
        UIEnvironment::RestorePosition, TF_POSITION_PATH(), display, placement);
    log(QStringLiteral("after PositionForWindow"));
    qint32 monitor = environment.DisplayHandle(display);
    QV_Resource::ReadFontSettings(monitor);
    FormLook::loadToolBar(m_ui, environment);

    m_designer->CreateSizeHandles();

    m_ui.txtCodeDesc->clear();
    m_ui.txtCodeAngio->clear();
    m_ui.Timer1->stop();

    QV_Resource::LoadDialogColors();
    FormLook::applyColors(this, m_ui);
    m_loaded = true;
    applyEntryAccess();
}

void Kivo_UIManager::AppShow()
{
    ensureLoaded();
    setDesignBandVisible(true);
    Kivo_API::setCurrentForm(this, [this](int notches) { WheelRotate(notches); });
    if (!m_scrolling->isAttached() && !Kivo_API::IsInIDE())
        AttachWheelHook();
    show();
}

void Kivo_UIManager::AppHide()
{
    ensureLoaded();
    m_ui.lblInfo->clear();
    m_ui.lblInfo->hide();
    DetachWheelHook();
    setDesignBandVisible(false);
    hide();
}

void Kivo_UIManager::Minimize()
{
    ensureLoaded();
    setDesignBandVisible(false);
    showMinimized();
}

void Kivo_UIManager::Restore()
{
    ensureLoaded();
    showNormal();
    setDesignBandVisible(true);
    bringToFront();
}

void Kivo_UIManager::Position(qint32 code)
{
    ensureLoaded();
    log(QStringLiteral("Starting to position the form "));
    const QPoint topLeft = code == KeepPosition ? frameGeometry().topLeft() : QPoint(0, 0);
    m_ui.UI_MultiMon1->setConfigPath(TF_POSITION_PATH());
    m_ui.UI_MultiMon1->setPlacementId(PlacementId);
    m_ui.UI_MultiMon1->setPositionCode(code);
    m_ui.UI_MultiMon1->setLeft(topLeft.x());
    m_ui.UI_MultiMon1->setTop(topLeft.y());
    m_ui.UI_MultiMon1->apply();
    FormStyle(m_ownerWindow);
}

void Kivo_UIManager::PositionWindow(qint32 code)
{
    ensureLoaded();
    m_ui.UI_MultiMon1->setPositionCode(code);
    m_ui.UI_MultiMon1->apply();
}

void Kivo_UIManager::Parent(qint32 ownerWindow)
{
    m_ownerWindow = ownerWindow;
}

void Kivo_UIManager::FormStyle(qint32 ownerWindow)
{
    if (ownerWindow == 0)
        return;
    // The window stays a top-level window of its own (never a child that the
    // owner could delete); the window system keeps it above its owner, in
    // the owner's group.
    const WId id = WId(quint32(ownerWindow));
    QWindow *owner = nullptr;
    if (QWidget *widget = QWidget::find(id)) {
        m_foreignOwner.reset();
        owner = widget->window()->windowHandle();
    } else {
        if (!m_foreignOwner || m_foreignOwner->winId() != id)
            m_foreignOwner.reset(QWindow::fromWinId(id));
        owner = m_foreignOwner.get();
    }
    winId(); // the native window that takes the owner
    if (owner != windowHandle())
        windowHandle()->setTransientParent(owner);
}

void Kivo_UIManager::hideToHost()
{
    leaveDesignMode();
    setDesignBandVisible(false);
    hide();
    emit FormClosed();
}

void Kivo_UIManager::closeEvent(QCloseEvent *event)
{
    // Until Uninitialize the host decides when the form goes: the user's
    // close only hides it.
    if (!m_uninitializing)
        event->ignore();
    runUserAction(QStringLiteral("Form_QueryUnload"), [this, event] {
        if (event->isAccepted())
            setDesignBandVisible(false);
        else
            hideToHost();
    });
}

void Kivo_UIManager::paintEvent(QPaintEvent *event)
{
    if (m_paintCount == 0) {
        m_paintCount = 1;
        QV_MsgBox::SetOwnerWindow(this);
    }
    QWidget::paintEvent(event);
}

void Kivo_UIManager::CloseSession()
{
    ensureLoaded();
    log(QStringLiteral("start CloseSession"));
    leaveDesignMode();
    m_binding->setModified(false);
    m_drafts->sessionClosed();
    ResetScroll();
    UpdateUIFields(nullptr);
    log(QStringLiteral("Finish CloseSession"));
}

void Kivo_UIManager::Uninitialize()
{
    m_uninitializing = true;
    m_drafts->finish();
    m_binding->holdRecord(nullptr);
    m_dialogs->Uninitialize();
    QV_Resource::FreeResLibraries();
    // The window procedure must not outlive the window it stands in for.
    DetachWheelHook();
    close();
}

void Kivo_UIManager::InitAndUpdateUIFields(TFData *record)
{
    // Loading places the window and reads the font and scale settings of the
    // display it opens on; the first build works with those.
    ensureLoaded();
    if (!m_fieldsInitialised) {
        m_binding->connectHandlers(*m_dialogs);
        m_fieldsInitialised = true;
        log(QStringLiteral("font size from cfg is %1 and factor is %2")
                .arg(QV_Resource::FontSize())
                .arg(QV_Resource::UIFactor()));
    }
    if (record)
        m_binding->holdRecord(record);

    log(QStringLiteral("Reading TF Form's layout"));
    ClearAll();
    ReadLayout(false);
    if (record)
        UpdateUIFields(record);

    FormLook::applyFonts(m_ui);
}

void Kivo_UIManager::ReadLayout(bool useDefault)
{
    ensureLoaded();
    // The handles would stay where the picked control was before.
    if (m_designer->isOn())
        m_designer->tracker().ClearSelection();
    // The fields take the size of the ACR picker's controls once it is
    // loaded: the dialog font size its load gives every control. Reading it
    // from there needs no picker, which is built only when the user opens it.
    m_layout->read(useDefault, QV_Resource::DialogControlFontSize());
}

void Kivo_UIManager::UpdateUIFields(TFData *record)
{
    m_drafts->beforeRecordChange();
    // Filled or failed, the inputs, the title and the draft follow what the
    // form holds now.
    const auto followRecord = qScopeGuard([this] {
        TFData *shown = m_binding->record();
        m_entryTitle = shown
                           ? RecordAccess::optionalValue(shown, QStringLiteral("KIVO_ENTRY_TITLE"))
                           : QString();
        m_drafts->recordShown(shown);
        applyEntryAccess();
        updateTitle();
    });
    m_binding->UpdateUIFields(record);
}

void Kivo_UIManager::FillTFData()
{
    m_binding->FillTFData();
}

void Kivo_UIManager::SubmitData()
{
    m_binding->SubmitData();
}

TFData *Kivo_UIManager::tfData() const
{
    return m_binding->record();
}

bool Kivo_UIManager::IsModified() const
{
    return m_binding->isModified();
}

void Kivo_UIManager::setIsModified(bool modified)
{
    m_binding->setModified(modified);
}

void Kivo_UIManager::SubmitCompleted(qint32 status)
{
    qint32 textId = ResourceIds::SUBMIT_FAILED;
    if (status == 0) {
        ResetScroll();
        textId = ResourceIds::SUBMIT_SUCCEEDED;
    } else if (status == 1) {
        textId = ResourceIds::SUBMIT_REJECTED;
    }
    m_status->showBriefly(QV_Resource::GetResString(textId));
    // The host kept what the submit wrote: the stamp shows it at once, and
    // the draft has done its work.
    if (status == 0) {
        m_binding->showSubmittedStamp();
        m_drafts->endedCleanly();
    }
}

void Kivo_UIManager::ClearAll()
{
    m_binding->ClearAll();
}

void Kivo_UIManager::RevertToOriginal()
{
    UpdateUIFields(tfData());
}

void Kivo_UIManager::ResetScroll()
{
    m_scrolling->ResetScroll();
}

void Kivo_UIManager::ScrollUp()
{
    m_scrolling->ScrollUp();
}

void Kivo_UIManager::ScrollDown()
{
    m_scrolling->ScrollDown();
}

void Kivo_UIManager::WheelRotate(int notchCount)
{
    m_scrolling->WheelRotate(notchCount);
}

void Kivo_UIManager::AttachWheelHook()
{
    m_scrolling->AttachWheelHook();
}

void Kivo_UIManager::DetachWheelHook()
{
    m_scrolling->DetachWheelHook();
}
