#include "Kivo_ACRCodeFrm.h"

#include "DigitKeyFilter.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "pickers/codetree/CodeKeyPath.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cmath>

namespace {

// The chosen mode's caption stands out in dark red (0x00BBGGRR).
constexpr quint32 ActiveModeColor = 128;
constexpr quint32 IdleModeColor = 0;

void setTextColor(QLabel *label, quint32 colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QV_Resource::ToQColor(colour));
    label->setPalette(palette);
}

} // namespace

Kivo_ACRCodeFrm::Kivo_ACRCodeFrm(QWidget *parent)
    : CodePickerDialog(QSize(700, 510), 2 * AcrCodeWalk::LevelsPerMode,
                       QStringLiteral("Kivo_ACRCodeFrm"), parent),
      m_txtAnat(addControl<QLineEdit>("txtAnat", {385, 68, 140, 24})),
      m_txtPath(addControl<QLineEdit>("txtPath", {545, 68, 145, 24})),
      m_lblAnat(addControl<QLabel>("lblAnat", {385, 96, 140, 20})),
      m_lblPath(addControl<QLabel>("lblPath", {545, 96, 145, 20})),
      m_lblAnato(addControl<QLabel>("lblAnato", {385, 46, 140, 20})),
      m_lblPatho(addControl<QLabel>("lblPatho", {545, 46, 145, 20})),
      m_cmdAnatomy(addControl<QPushButton>("cmdAnatomy", {385, 124, 140, 28})),
      m_cmdPathology(addControl<QPushButton>("cmdPathology", {545, 124, 145, 28})),
      m_label4(addControl<QLabel>("Label4", {385, 312, 305, 20}))
{
    m_cmdUp->setGeometry(10, 10, 32, 28);
    m_cmdUPBig->setGeometry(10, 470, 48, 32);
    m_lblInfo->setGeometry(50, 14, 640, 22);
    placeSearchAndList({10, 46, 360, 454});
    m_mainList->setAccessibleName(QStringLiteral("ACR codes"));
    m_label1->setGeometry(385, 162, 305, 20);
    placeCaptions(0, AcrCodeWalk::LevelsPerMode - 1, {385, 184, 305, 20});
    placeCaptions(AcrCodeWalk::LevelsPerMode, 2 * AcrCodeWalk::LevelsPerMode - 1,
                  {385, 334, 305, 20});
    m_cmdOK->setGeometry(480, 470, 100, 30);
    m_cmdCancel->setGeometry(590, 470, 100, 30);
    for (QPushButton *button : {m_cmdAnatomy, m_cmdPathology})
        button->setAutoDefault(false);

    DigitKeyFilter::install(m_txtAnat);
    DigitKeyFilter::install(m_txtPath);
    connect(m_txtAnat, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_walk.setAnatomyCode(text); });
    connect(m_txtPath, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_walk.setPathologyCode(text); });
    connect(m_cmdAnatomy, &QPushButton::clicked, this, [this] {
        m_walk.showAnatomy();
        showState();
    });
    connect(m_cmdPathology, &QPushButton::clicked, this, [this] {
        m_walk.showPathology();
        showState();
    });
}

QString Kivo_ACRCodeFrm::Init(QWidget *ownerForm, QString &code, bool &cancelled)
{
    Q_UNUSED(ownerForm)
    if (!isLoaded()) {
        load();
        readTree(m_walk, ACR_CODE_PATH(), QStringLiteral("ACR"));
    }
    m_walk.showAnatomy();
    m_walk.navigateTo(code);
    showState();

    if (!runModal(code)) {
        code.clear();
        cancelled = true;
        return code;
    }
    code = m_walk.result();
    cancelled = false;
    log(QStringLiteral("Returning ACRCode= ") + code);
    return code;
}

QString Kivo_ACRCodeFrm::PathologicDesc() const
{
    return m_walk.pathologicDesc();
}

QString Kivo_ACRCodeFrm::PathologicCode() const
{
    return m_txtPath->text();
}

QString Kivo_ACRCodeFrm::AnatomyCode() const
{
    return m_txtAnat->text();
}

QString Kivo_ACRCodeFrm::AnatomyDesc() const
{
    return m_walk.anatomyDesc();
}

qint32 Kivo_ACRCodeFrm::ControlFontSize() const
{
    // Halves go to the even neighbour, as the default rounding mode does.
    return qint32(std::nearbyint(m_cmdCancel->font().pointSizeF()));
}

void Kivo_ACRCodeFrm::Uninitialize()
{
    unload(m_walk);
}

QString Kivo_ACRCodeFrm::ACR_CODE_PATH() const
{
    return QLatin1String(CodeKeyPath::AcrTreePath);
}

void Kivo_ACRCodeFrm::listClicked(int row)
{
    m_walk.select(row);
    showState();
}

void Kivo_ACRCodeFrm::upClicked()
{
    m_walk.up();
    showState();
}

void Kivo_ACRCodeFrm::load()
{
    log(QStringLiteral("ACR CODE :: Start form load"));
    loadDialog([this] { setCaptions(); });
    log(QStringLiteral("ACR CODE :: Finish form load"));
}

void Kivo_ACRCodeFrm::setCaptions()
{
    using namespace ResourceIds;
    setWindowTitle(QV_Resource::GetResString(ACR_FORM_CAPTION));
    m_cmdUp->setToolTip(QV_Resource::GetResString(GO_UP_TOOLTIP));
    m_cmdPathology->setText(QV_Resource::GetResString(PATHOLOGIC_BUTTON));
    m_cmdAnatomy->setText(QV_Resource::GetResString(ANATOMY_BUTTON));
    m_cmdCancel->setText(QV_Resource::GetResString(CANCEL_CAPTION));
    m_cmdOK->setText(QV_Resource::GetResString(OK_CAPTION));
    m_label4->setText(QV_Resource::GetResString(PATHOLOGIC_EXPANSION_LABEL));
    m_lblPatho->setText(QV_Resource::GetResString(PATH_CODE_LABEL));
    m_lblAnato->setText(QV_Resource::GetResString(ANAT_CODE_LABEL));
    m_label1->setText(QV_Resource::GetResString(ANATOMY_EXPANSION_LABEL));
}

void Kivo_ACRCodeFrm::showState()
{
    showWalk(m_walk);
    showCode(m_txtAnat, m_walk.anatomyCode());
    showCode(m_txtPath, m_walk.pathologyCode());
    m_lblAnat->setText(m_walk.anatomyChoice());
    m_lblPath->setText(m_walk.pathologyChoice());
    const bool anatomy = m_walk.mode() == AcrCodeWalk::Mode::Anatomy;
    setTextColor(m_lblAnato, anatomy ? ActiveModeColor : IdleModeColor);
    setTextColor(m_lblPatho, anatomy ? IdleModeColor : ActiveModeColor);
    m_cmdPathology->setVisible(m_walk.pathologyAvailable());
}
