#include "Kivo_UIManager.h"

#include "FieldTextBox.h"
#include "Kivo_API.h"
#include "UserAction.h"
#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/QV_VBLogger.h"
#include "common/ResourceIds.h"
#include "pickers/Kivo_ACRCodeFrm.h"
#include "pickers/Kivo_AngioCodeFrm.h"
#include "platform/config/AppSettings.h"
#include "platform/environment/InstallLocation.h"
#include "platform/environment/UIEnvironment.h"
#include "platform/ui/FormScroller.h"
#include "platform/ui/ScrollGeometry.h"
#include "platform/ui/ToolBand.h"
#include "platform/ui/ToolBarControl.h"
#include "platform/ui/TwipsGeometry.h"
#include "platform/ui/WindowPlacementControl.h"
#include "tables/Kivo_TablesFrm.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <iterator>

namespace {

// Toolbar tools by id.
enum Tool : qint32 {
    ToolSubmit = 1,
    ToolClearAll = 2,
    ToolRevert = 3,
    ToolDesignMode = 4,
    ToolSaveLayout = 5,
    ToolResetLayout = 6,
    ToolClose = 7,
    ToolValueTables = 11,
};

// The placement the window's position is stored under.
constexpr qint32 PlacementId = 9995;
constexpr qint32 KeepPosition = 11;
// The band shown while the layout is designed.
constexpr int DesignBand = 1;
// A status message stays this long.
constexpr int StatusMessageMs = 4000;
// The size the window is placed with when nothing is stored, in twips.
constexpr int DefaultWindowTwips = 8000;
// The designed window: the size of the seeded default layout, in twips.
constexpr int DesignedWidth = 11000;
constexpr int DesignedHeight = 11610;
// Designed field sets, stacked below the fixed area until the stored layout
// places them.
constexpr int FieldTop = 2910;
constexpr int FieldPitch = 900;
constexpr int FieldWidth = 10500;
constexpr int Margin = 240;

void writeLog(const QString &message)
{
    QV_VBLogger::WriteLog(message, QStringLiteral("Kivo_UIManager"));
}

// Names the control and gives it its designed place in twips.
template <typename Control>
Control *designed(Control *control, const QString &name, const QRect &twips)
{
    control->setObjectName(name);
    TwipsGeometry::setGeometry(control, twips);
    return control;
}

QFrame *designedLine(QWidget *parent, const QString &name, int top)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return designed(line, name, QRect(0, top, DesignedWidth, 30));
}

void setBackground(QWidget *widget, quint32 colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QV_Resource::ToQColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setForeground(QWidget *widget, quint32 colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QV_Resource::ToQColor(colour));
    widget->setPalette(palette);
}

// The toolbar layout the settings name; a root that lacks it takes the one
// shipped beside the component, so the window keeps its full toolbar.
QString toolBarFile(const UIEnvironment &environment)
{
    const QString configured =
        environment.FilePath(QStringLiteral("appearance\\bar"), QStringLiteral("kivo_bar"));
    if (QFileInfo::exists(configured))
        return configured;
    const QString shipped =
        InstallLocation::componentFolder() + QStringLiteral("/qv/resources/kivo_bar.json");
    return QFileInfo::exists(shipped) ? shipped : configured;
}

template <typename Dialog> void uninitialize(Dialog *&dialog)
{
    if (!dialog)
        return;
    dialog->Uninitialize();
    delete dialog;
    dialog = nullptr;
}

} // namespace

Kivo_UIManager::Kivo_UIManager(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Kivo_UIManager"));
    buildDesignedControls();
}

Kivo_UIManager::~Kivo_UIManager()
{
    holdRecord(nullptr);
}

QString Kivo_UIManager::TF_POSITION_PATH()
{
    return QStringLiteral("teachingfile\\appearance\\position");
}

void Kivo_UIManager::buildDesignedControls()
{
    resize(ScrollGeometry::toPixels(DesignedWidth, TwipsGeometry::twipsPerPixelX(this)),
           ScrollGeometry::toPixels(DesignedHeight, TwipsGeometry::twipsPerPixelY(this)));

    m_TopToolBar = new ToolBarControl(this);
    m_TopToolBar->setObjectName(QStringLiteral("m_TopToolBar"));
    FormScroller1 = new FormScroller(this);
    m_fieldArea = new QWidget;
    m_fieldArea->setObjectName(QStringLiteral("m_fieldArea"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_TopToolBar);
    layout->addWidget(FormScroller1, 1);

    UI_MultiMon1 = new WindowPlacementControl(this);
    UI_MultiMon1->setObjectName(QStringLiteral("UI_MultiMon1"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(StatusMessageMs);

    // The fixed area, top down in reading (and tab) order; it ends above the
    // field-area origin plus the first field's stored top.
    QWidget *area = m_fieldArea;
    lblInfo = designed(new QLabel(area), QStringLiteral("lblInfo"), {Margin, 30, FieldWidth, 255});
    Line3D1 = designedLine(area, QStringLiteral("Line3D1"), 315);
    lblACR = designed(new QLabel(area), QStringLiteral("lblACR"), {Margin, 405, 1100, 255});
    lblACRCode = designed(new QLabel(area), QStringLiteral("lblACRCode"), {1380, 405, 2400, 255});
    cmdACR = designed(new QPushButton(area), QStringLiteral("cmdACR"), {9240, 375, 1500, 330});
    txtCodeDesc = designed(new FieldTextBox(area), QStringLiteral("txtCodeDesc"),
                           {Margin, 735, FieldWidth, 495});
    Line3D2 = designedLine(area, QStringLiteral("Line3D2"), 1290);
    lblAngio = designed(new QLabel(QStringLiteral("Angio Code:"), area), QStringLiteral("lblAngio"),
                        {Margin, 1380, 1100, 255});
    lblAngioCode =
        designed(new QLabel(area), QStringLiteral("lblAngioCode"), {1380, 1380, 2400, 255});
    cmdAngio = designed(new QPushButton(area), QStringLiteral("cmdAngio"), {9240, 1350, 1500, 330});
    txtCodeAngio = designed(new FieldTextBox(area), QStringLiteral("txtCodeAngio"),
                            {Margin, 1710, FieldWidth, 495});
    Line3D3 = designedLine(area, QStringLiteral("Line3D3"), 2265);
    chkAFIP = designed(new QCheckBox(area), QStringLiteral("chkAFIP"), {Margin, 2340, 1200, 285});
    lblSubmitted =
        designed(new QLabel(area), QStringLiteral("lblSubmitted"), {1560, 2355, 1300, 255});
    lblSubmittedBy =
        designed(new QLabel(area), QStringLiteral("lblSubmittedBy"), {2900, 2355, 3000, 255});
    lblDateSubmitted =
        designed(new QLabel(area), QStringLiteral("lblDateSubmitted"), {6000, 2355, 1500, 255});
    lblDate = designed(new QLabel(area), QStringLiteral("lblDate"), {7540, 2355, 1500, 255});
    Line3D4 = designedLine(area, QStringLiteral("Line3D4"), 2700);

    for (int i = 0; i < FieldSetCount; ++i) {
        const int top = FieldTop + i * FieldPitch;
        auto *label = designed(new QLabel(QStringLiteral("Diagnosis:"), area),
                               QStringLiteral("m_aLabels"), {Margin, top, 2400, 255});
        auto *text = designed(new FieldTextBox(area), QStringLiteral("m_aText"),
                              {Margin, top + 270, FieldWidth, 555});
        auto *combo = designed(new QComboBox(area), QStringLiteral("m_aCombo"),
                               {Margin, top + 270, FieldWidth, 315});
        combo->setEditable(true);
        combo->hide();
        for (QWidget *control : {static_cast<QWidget *>(label), static_cast<QWidget *>(text),
                                 static_cast<QWidget *>(combo)})
            control->setProperty("index", i);
        m_aLabels.append(label);
        m_aText.append(text);
        m_aCombo.append(combo);
    }
    dummy = designed(new QLabel(area), QStringLiteral("dummy"),
                     {Margin, FieldTop + FieldSetCount * FieldPitch, 3000, 255});

    FormScroller1->setWidget(m_fieldArea);
    // The end marker tells the scroller how far the form reaches.
    FormScroller1->ResetTo(dummy);

    connect(m_TopToolBar, &ToolBarControl::toolClicked, this, [this](qint32 toolId) {
        runUserAction(QStringLiteral("m_TopToolBar_ToolClick"), [&] { onToolClicked(toolId); });
    });
    connect(Timer1, &QTimer::timeout, this,
            [this] { runUserAction(QStringLiteral("Timer1_Timer"), [this] { clearStatus(); }); });
}

void Kivo_UIManager::ensureLoaded()
{
    if (m_loaded)
        return;
    m_wheelHook = false;
    UI_MultiMon1->attach(this);
    setDefaultCaptions();
    m_uninitializing = false;
    lblInfo->hide();

    const QString iconPath = InstallLocation::toLocalSeparators(QV_Resource::ApplicationIconPath());
    if (!iconPath.isEmpty())
        setWindowIcon(QIcon(iconPath));
    for (QWidget *control :
         {static_cast<QWidget *>(cmdACR), static_cast<QWidget *>(cmdAngio),
          static_cast<QWidget *>(txtCodeDesc), static_cast<QWidget *>(txtCodeAngio),
          static_cast<QWidget *>(Line3D4), static_cast<QWidget *>(Line3D2),
          static_cast<QWidget *>(Line3D3), static_cast<QWidget *>(chkAFIP)})
        control->lower();

    UIEnvironment environment;
    writeLog(QStringLiteral("before PositionForWindow"));
    QString display;
    QRect placement;
    environment.PositionForWindow(
        ScrollGeometry::toPixels(DefaultWindowTwips, TwipsGeometry::twipsPerPixelX(this)),
        ScrollGeometry::toPixels(DefaultWindowTwips, TwipsGeometry::twipsPerPixelY(this)),
        PlacementId, UIEnvironment::RestorePosition, TF_POSITION_PATH(), display, placement);
    writeLog(QStringLiteral("after PositionForWindow"));
    qint32 monitor = environment.DisplayHandle(display);
    QV_Resource::ReadFontSettings(monitor);
    loadToolBar(environment);

    if (!m_acrPicker)
        m_acrPicker = new Kivo_ACRCodeFrm(this);
    if (!m_angioPicker)
        m_angioPicker = new Kivo_AngioCodeFrm(this);
    if (!m_tablesFrm)
        m_tablesFrm = new Kivo_TablesFrm(this);

    txtCodeDesc->clear();
    txtCodeAngio->clear();
    Timer1->stop();
    setForeground(lblACRCode, 128);
    setForeground(lblAngioCode, 128);

    QV_Resource::LoadDialogColors();
    applyColors();
    m_loaded = true;
}

void Kivo_UIManager::setDefaultCaptions()
{
    using namespace ResourceIds;
    setWindowTitle(QV_Resource::GetResString(FORM_CAPTION));
    // Labels 8 to 10 keep their designed caption.
    static const char *const captions[] = {
        "History:",    "Diagnosis:",  "Findings:",  "Differential Diagnosis:",
        "Discussion:", "Discussion:", "Diagnosis:", "Diagnosis:"};
    for (int i = 0; i < int(std::size(captions)); ++i)
        m_aLabels[i]->setText(QString::fromLatin1(captions[i]));
    lblACR->setText(QV_Resource::GetResString(ACR_CODE_LABEL));
    lblDateSubmitted->setText(QV_Resource::GetResString(DATE_SUBMITTED_LABEL));
    lblSubmitted->setText(QV_Resource::GetResString(SUBMITTED_BY_LABEL));
    chkAFIP->setText(QV_Resource::GetResString(AFIP_CHECKBOX));
    cmdACR->setText(QV_Resource::GetResString(ACR_BUTTON));
    cmdAngio->setText(QV_Resource::GetResString(ANGIO_BUTTON));
    dummy->setText(QV_Resource::GetResString(END_MARKER_LABEL));
}

void Kivo_UIManager::loadToolBar(const UIEnvironment &environment)
{
    const QString file = toolBarFile(environment);
    writeLog(QStringLiteral(" TF FileBar= ") + file);
    m_TopToolBar->loadLayout(file);
    writeLog(QStringLiteral("After loading Bar= ") + file);
    for (int i = 0; i < m_TopToolBar->bandCount(); ++i) {
        ToolBand *band = m_TopToolBar->band(i);
        if (band->name() != QLatin1String("Band2") && band->name() != QLatin1String("Band1"))
            band->setVisible(false);
    }
}

void Kivo_UIManager::applyColors()
{
    // 0 means no colour is known: black would hide the black captions.
    if (const quint32 back = QV_Resource::DialogBackColor()) {
        setBackground(this, back);
        setBackground(chkAFIP, back);
    }
    using Role = ToolBarControl::ColorRole;
    const std::pair<const char *, Role> barColors[] = {
        {"bar_shadow", Role::Shadow},
        {"bar_shadow_dark", Role::DarkShadow},
        {"bar_shadow_light", Role::LightShadow},
        {"bar_menu", Role::Background},
        {"bar_menu_text", Role::Foreground},
        {"bar_highlight", Role::Highlight},
    };
    const AppSettings settings;
    for (const auto &[name, role] : barColors)
        m_TopToolBar->setColor(role,
                               QV_Resource::ToQColor(settings.ColorByName(QLatin1String(name))));
}

void Kivo_UIManager::setDesignBandVisible(bool visible)
{
    // A toolbar layout without a design band has nothing to show.
    if (m_TopToolBar->bandCount() > DesignBand)
        m_TopToolBar->band(DesignBand)->setVisible(visible);
    m_TopToolBar->recalcLayout();
}

void Kivo_UIManager::AppShow()
{
    ensureLoaded();
    setDesignBandVisible(m_designModeOn);
    Kivo_API::setCurrentForm(this);
    if (!m_wheelHook && !Kivo_API::IsInIDE())
        AttachWheelHook();
    show();
}

void Kivo_UIManager::AppHide()
{
    ensureLoaded();
    lblInfo->clear();
    lblInfo->hide();
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
    setDesignBandVisible(m_designModeOn);
}

void Kivo_UIManager::Position(qint32 code)
{
    ensureLoaded();
    writeLog(QStringLiteral("Starting to position the form "));
    const QPoint topLeft = code == KeepPosition ? frameGeometry().topLeft() : QPoint(0, 0);
    UI_MultiMon1->setConfigPath(TF_POSITION_PATH());
    UI_MultiMon1->setPlacementId(PlacementId);
    UI_MultiMon1->setPositionCode(code);
    UI_MultiMon1->setLeft(topLeft.x());
    UI_MultiMon1->setTop(topLeft.y());
    UI_MultiMon1->apply();
    FormStyle(m_ownerWindow);
}

void Kivo_UIManager::PositionWindow(qint32 code)
{
    ensureLoaded();
    UI_MultiMon1->setPositionCode(code);
    UI_MultiMon1->apply();
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
    writeLog(QStringLiteral("start CloseSession"));
    m_modified = false;
    ResetScroll();
    UpdateUIFields(nullptr);
    writeLog(QStringLiteral("Finish CloseSession"));
}

void Kivo_UIManager::Uninitialize()
{
    m_uninitializing = true;
    holdRecord(nullptr);
    uninitialize(m_angioPicker);
    uninitialize(m_acrPicker);
    // The tables dialog holds nothing beyond itself to release.
    delete m_tablesFrm;
    m_tablesFrm = nullptr;
    QV_Resource::FreeResLibraries();
    // The window procedure must not outlive the window it stands in for.
    DetachWheelHook();
    close();
}

void Kivo_UIManager::showStatus(const QString &text)
{
    lblInfo->setText(text);
    lblInfo->show();
    // Restarting counts the four seconds from the latest message.
    Timer1->start();
}

void Kivo_UIManager::clearStatus()
{
    lblInfo->hide();
    lblInfo->clear();
    Timer1->stop();
}

void Kivo_UIManager::setDesignMode(bool allowed)
{
    ensureLoaded();
    QAction *designMode = m_TopToolBar->tool(ToolDesignMode);
    designMode->setEnabled(allowed);
    designMode->setVisible(allowed);
    for (qint32 id : {ToolSaveLayout, ToolResetLayout, ToolValueTables}) {
        QAction *tool = m_TopToolBar->tool(id);
        tool->setEnabled(false);
        tool->setVisible(allowed);
    }
    m_TopToolBar->recalcLayout();
}

void Kivo_UIManager::onToolClicked(qint32 toolId)
{
    switch (toolId) {
    case ToolSubmit:
        SubmitData();
        break;
    case ToolClearAll:
        ClearAll();
        markModified(QStringLiteral("ClearAll"));
        break;
    case ToolRevert:
        RevertToOriginal();
        markModified(QStringLiteral("After RevertToOriginal"));
        break;
    case ToolClose:
        hideToHost();
        break;
    default:
        // Tools without a command here do nothing.
        break;
    }
}
