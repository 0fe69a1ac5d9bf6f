#include "Kivo_AngioCodeFrm.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "pickers/codetree/CodeKeyPath.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

Kivo_AngioCodeFrm::Kivo_AngioCodeFrm(QWidget *parent)
    : CodePickerDialog(QSize(640, 420), AngioCodeWalk::Levels, QStringLiteral("Kivo_AngioCodeFrm"),
                       parent),
      m_txtAngio(addControl<QLineEdit>("txtAngio", {355, 68, 275, 24})),
      m_lblAngio(addControl<QLabel>("lblAngio", {355, 46, 275, 20}))
{
    m_cmdUp->setGeometry(10, 10, 32, 28);
    m_cmdUPBig->setGeometry(10, 380, 48, 32);
    m_lblInfo->setGeometry(50, 14, 580, 22);
    placeSearchAndList({10, 46, 330, 364});
    m_mainList->setAccessibleName(QStringLiteral("Angiography codes"));
    m_label1->setGeometry(355, 104, 275, 20);
    placeCaptions(0, AngioCodeWalk::Levels - 1, {355, 126, 275, 20});
    m_cmdOK->setGeometry(420, 380, 100, 30);
    m_cmdCancel->setGeometry(530, 380, 100, 30);

    connect(m_txtAngio, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_walk.setCode(text); });
}

QString Kivo_AngioCodeFrm::ANGIO_CODE_PATH() const
{
    return QLatin1String(CodeKeyPath::AngioTreePath);
}

QString Kivo_AngioCodeFrm::Init(QString &code, bool &cancelled)
{
    if (!isLoaded()) {
        load();
        readTree(m_walk, ANGIO_CODE_PATH(), QStringLiteral("ANGIO"));
    }
    m_walk.showTop();
    m_walk.navigateTo(code);
    showState();

    if (!runModal(code)) {
        code.clear();
        cancelled = true;
        return code;
    }
    code = m_walk.code();
    cancelled = false;
    log(QStringLiteral("Returning AngioCode= ") + code);
    return code;
}

void Kivo_AngioCodeFrm::Uninitialize()
{
    unload(m_walk);
}

QString Kivo_AngioCodeFrm::AngioCode() const
{
    return m_txtAngio->text();
}

QString Kivo_AngioCodeFrm::AngioDesc() const
{
    return m_walk.angioDesc();
}

void Kivo_AngioCodeFrm::listClicked(int row)
{
    m_walk.select(row);
    showState();
}

void Kivo_AngioCodeFrm::upClicked()
{
    m_walk.up();
    showState();
}

void Kivo_AngioCodeFrm::load()
{
    log(QStringLiteral("Angio CODE :: Start form load"));
    loadDialog([this] { setCaptions(); });
    log(QStringLiteral("ANGIO CODE :: Finish form load"));
}

void Kivo_AngioCodeFrm::setCaptions()
{
    using namespace ResourceIds;
    setWindowTitle(QV_Resource::GetResString(ANGIO_FORM_CAPTION));
    m_cmdUp->setToolTip(QV_Resource::GetResString(GO_UP_TOOLTIP));
    m_cmdCancel->setText(QV_Resource::GetResString(CANCEL_CAPTION));
    m_cmdOK->setText(QV_Resource::GetResString(OK_CAPTION));
    m_label1->setText(QV_Resource::GetResString(ANGIO_EXPANSION_LABEL));
    m_lblAngio->setText(QV_Resource::GetResString(ANGIO_CODE_LABEL));
}

void Kivo_AngioCodeFrm::showState()
{
    showWalk(m_walk);
    showCode(m_txtAngio, m_walk.code());
}
