#include "form/FormLook.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "form/FieldTextBox.h"
#include "form/FormControls.h"
#include "form/FormServices.h"
#include "platform/config/AppSettings.h"
#include "platform/environment/InstallLocation.h"
#include "platform/environment/UIEnvironment.h"
#include "platform/ui/ToolBand.h"
#include "platform/ui/ToolBarControl.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <iterator>

using FormServices::log;

namespace {

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

} // namespace

namespace FormLook {

void setDefaultCaptions(QWidget *form, FormControls &ui)
{
    using namespace ResourceIds;
    form->setWindowTitle(QV_Resource::GetResString(FORM_CAPTION));
    // Labels 8 to 10 keep their designed caption.
    static const char *const captions[] = {
        "History:",    "Diagnosis:",  "Findings:",  "Differential Diagnosis:",
        "Discussion:", "Discussion:", "Diagnosis:", "Diagnosis:"};
    for (int i = 0; i < int(std::size(captions)); ++i)
        ui.fieldSets[i].label->setText(QString::fromLatin1(captions[i]));
    ui.lblACR->setText(QV_Resource::GetResString(ACR_CODE_LABEL));
    ui.lblDateSubmitted->setText(QV_Resource::GetResString(DATE_SUBMITTED_LABEL));
    ui.lblSubmitted->setText(QV_Resource::GetResString(SUBMITTED_BY_LABEL));
    ui.chkAFIP->setText(QV_Resource::GetResString(AFIP_CHECKBOX));
    ui.cmdACR->setText(QV_Resource::GetResString(ACR_BUTTON));
    ui.cmdAngio->setText(QV_Resource::GetResString(ANGIO_BUTTON));
    ui.dummy->setText(QV_Resource::GetResString(END_MARKER_LABEL));
}

void loadToolBar(FormControls &ui, const UIEnvironment &environment)
{
    const QString file = toolBarFile(environment);
    log(QStringLiteral(" TF FileBar= ") + file);
    ui.m_TopToolBar->loadLayout(file);
    log(QStringLiteral("After loading Bar= ") + file);
    for (int i = 0; i < ui.m_TopToolBar->bandCount(); ++i) {
        ToolBand *band = ui.m_TopToolBar->band(i);
        if (band->name() != QLatin1String("Band2") && band->name() != QLatin1String("Band1"))
            band->setVisible(false);
    }
}

void applyColors(QWidget *form, FormControls &ui)
{
    setForeground(ui.lblACRCode, 128);
    setForeground(ui.lblAngioCode, 128);
    // 0 means no colour is known: black would hide the black captions.
    if (const quint32 back = QV_Resource::DialogBackColor()) {
        setBackground(form, back);
        setBackground(ui.chkAFIP, back);
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
        ui.m_TopToolBar->setColor(role,
                                  QV_Resource::ToQColor(settings.ColorByName(QLatin1String(name))));
}

void applyFonts(FormControls &ui)
{
    for (QWidget *control : ui.all()) {
        const QString name = control->objectName();
        if (name != QLatin1String("FormScroller1") && name != QLatin1String("Line3D4") &&
            name != QLatin1String("Line3D2"))
            QV_Resource::SetControlFontFace(control);
    }
    QFont barFont = ui.m_TopToolBar->font();
    barFont.setFamily(QV_Resource::FontName());
    barFont.setPointSizeF(ui.cmdACR->font().pointSizeF());
    ui.m_TopToolBar->setFont(barFont);
}

} // namespace FormLook
