#include "form/FormControls.h"

#include "form/FieldTextBox.h"
#include "platform/ui/FormScroller.h"
#include "platform/ui/ToolBarControl.h"
#include "platform/ui/Twips.h"
#include "platform/ui/TwipsGeometry.h"
#include "platform/ui/WindowPlacementControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A status message stays this long.
constexpr int StatusMessageMs = 4000;
// The designed window: the size of the seeded default layout, in twips.
constexpr int DesignedWidth = 11000;
constexpr int DesignedHeight = 11610;
// Designed field sets, stacked below the fixed area until the stored layout
// places them.
constexpr int FieldTop = 2910;
constexpr int FieldPitch = 900;
constexpr int FieldWidth = 10500;
constexpr int Margin = 240;

// Names the control and gives it its designed place in twips.
template <typename Control>
Control *designed(Control *control, const QString &name, const QRect &twips)
{
    control->setObjectName(name);
    TwipsGeometry::setGeometry(control, twips);
    return control;
}

// A code button says what it opens, to a screen reader and on hover.
void describe(QPushButton *button, const QString &name, const QString &toolTip)
{
    button->setAccessibleName(name);
    button->setToolTip(toolTip);
}

QFrame *designedLine(QWidget *parent, const QString &name, int top)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return designed(line, name, QRect(0, top, DesignedWidth, 30));
}

} // namespace

void FormControls::setupUi(QWidget *form)
{
    form->resize(Twips::toPixels(DesignedWidth, TwipsGeometry::twipsPerPixelX(form)),
                 Twips::toPixels(DesignedHeight, TwipsGeometry::twipsPerPixelY(form)));

    m_TopToolBar = new ToolBarControl(form);
    m_TopToolBar->setObjectName(QStringLiteral("m_TopToolBar"));
    FormScroller1 = new FormScroller(form);
    fieldArea = new QWidget;
    fieldArea->setObjectName(QStringLiteral("m_fieldArea"));
    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_TopToolBar);
    layout->addWidget(FormScroller1, 1);

    UI_MultiMon1 = new WindowPlacementControl(form);
    UI_MultiMon1->setObjectName(QStringLiteral("UI_MultiMon1"));
    Timer1 = new QTimer(form);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(StatusMessageMs);

    // The fixed area, top down in reading (and tab) order; it ends above the
    // field-area origin plus the first field's stored top.
    QWidget *area = fieldArea;
    lblInfo = designed(new QLabel(area), QStringLiteral("lblInfo"), {Margin, 30, FieldWidth, 255});
    Line3D1 = designedLine(area, QStringLiteral("Line3D1"), 315);
    lblACR = designed(new QLabel(area), QStringLiteral("lblACR"), {Margin, 405, 1100, 255});
    lblACRCode = designed(new QLabel(area), QStringLiteral("lblACRCode"), {1380, 405, 2400, 255});
    cmdACR = designed(new QPushButton(area), QStringLiteral("cmdACR"), {9240, 375, 1500, 330});
    describe(cmdACR, QStringLiteral("Pick ACR code"),
             QStringLiteral("Pick the ACR anatomy and pathology code"));
    txtCodeDesc = designed(new FieldTextBox(area), QStringLiteral("txtCodeDesc"),
                           {Margin, 735, FieldWidth, 495});
    Line3D2 = designedLine(area, QStringLiteral("Line3D2"), 1290);
    lblAngio = designed(new QLabel(QStringLiteral("Angio Code:"), area), QStringLiteral("lblAngio"),
                        {Margin, 1380, 1100, 255});
    lblAngioCode =
        designed(new QLabel(area), QStringLiteral("lblAngioCode"), {1380, 1380, 2400, 255});
    cmdAngio = designed(new QPushButton(area), QStringLiteral("cmdAngio"), {9240, 1350, 1500, 330});
    describe(cmdAngio, QStringLiteral("Pick angiography code"),
             QStringLiteral("Pick the angiography code"));
    txtCodeAngio = designed(new FieldTextBox(area), QStringLiteral("txtCodeAngio"),
                            {Margin, 1710, FieldWidth, 495});
    lblACR->setBuddy(txtCodeDesc);
    lblAngio->setBuddy(txtCodeAngio);
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
        FieldSet set;
        set.label = designed(new QLabel(QStringLiteral("Diagnosis:"), area),
                             QStringLiteral("m_aLabels"), {Margin, top, 2400, 255});
        set.text = designed(new FieldTextBox(area), QStringLiteral("m_aText"),
                            {Margin, top + 270, FieldWidth, 555});
        set.combo = designed(new QComboBox(area), QStringLiteral("m_aCombo"),
                             {Margin, top + 270, FieldWidth, 315});
        set.combo->setEditable(true);
        set.setKind(FieldKind::Text);
        for (QWidget *control :
             {static_cast<QWidget *>(set.label), static_cast<QWidget *>(set.text),
              static_cast<QWidget *>(set.combo)})
            control->setProperty("index", i);
        fieldSets.append(set);
    }
    dummy = designed(new QLabel(area), QStringLiteral("dummy"),
                     {Margin, FieldTop + FieldSetCount * FieldPitch, 3000, 255});

    FormScroller1->setWidget(fieldArea);
    // The end marker tells the scroller how far the form reaches.
    FormScroller1->ResetTo(dummy);
}

QList<QWidget *> FormControls::all() const
{
    QList<QWidget *> controls{
        m_TopToolBar, FormScroller1,  lblInfo,          lblACR,   lblACRCode,   cmdACR,
        txtCodeDesc,  lblAngio,       lblAngioCode,     cmdAngio, txtCodeAngio, chkAFIP,
        lblSubmitted, lblSubmittedBy, lblDateSubmitted, lblDate,  dummy,        Line3D1,
        Line3D2,      Line3D3,        Line3D4};
    for (const FieldSet &set : fieldSets)
        controls << set.label;
    for (const FieldSet &set : fieldSets)
        controls << set.text;
    for (const FieldSet &set : fieldSets)
        controls << set.combo;
    return controls;
}
