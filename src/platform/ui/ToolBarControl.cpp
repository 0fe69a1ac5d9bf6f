#include "ToolBarControl.h"

#include "ToolBand.h"
#include "ToolBarLayoutFile.h"
#include "ToolCollection.h"
#include "platform/Err.h"

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>

namespace {

// The palette roles that draw each of the toolbar's colours; the first one
// answers color().
QList<QPalette::ColorRole> paletteRoles(ToolBarControl::ColorRole role)
{
    switch (role) {
    case ToolBarControl::ColorRole::Shadow:
        return {QPalette::Mid};
    case ToolBarControl::ColorRole::DarkShadow:
        return {QPalette::Shadow, QPalette::Dark};
    case ToolBarControl::ColorRole::LightShadow:
        return {QPalette::Light, QPalette::Midlight};
    case ToolBarControl::ColorRole::Background:
        return {QPalette::Window, QPalette::Button};
    case ToolBarControl::ColorRole::Foreground:
        return {QPalette::WindowText, QPalette::ButtonText};
    case ToolBarControl::ColorRole::Highlight:
        return {QPalette::Highlight};
    }
    return {};
}

// A disabled tool draws its caption in the disabled group's text colour. The
// foreground, set in every group, would leave it as dark as an enabled one,
// so the disabled text is always the foreground faded halfway to the
// background, whichever of the two was set last.
void fadeDisabledText(QPalette &palette)
{
    const QColor text = palette.color(QPalette::Active, QPalette::ButtonText);
    const QColor back = palette.color(QPalette::Active, QPalette::Button);
    const QColor faded =
        QColor::fromRgbF((text.redF() + back.redF()) / 2, (text.greenF() + back.greenF()) / 2,
                         (text.blueF() + back.blueF()) / 2);
    for (QPalette::ColorRole role : paletteRoles(ToolBarControl::ColorRole::Foreground))
        palette.setColor(QPalette::Disabled, role, faded);
}

} // namespace

ToolBarControl::ToolBarControl(QWidget *parent)
    : QWidget(parent), m_tools(new ToolCollection(this)), m_rows(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("m_TopToolBar"));
    setAutoFillBackground(true);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
    connect(m_tools, &ToolCollection::toolClicked, this, &ToolBarControl::toolClicked);
    applyLayout(ToolBarLayout::designedIn());
}

ToolBarControl::~ToolBarControl()
{
    // The bands hand their tools back to the collection, which must still be
    // there.
    clearLayout();
}

void ToolBarControl::loadLayout(const QString &fileName)
{
    applyLayout(ToolBarLayoutFile::read(fileName));
}

void ToolBarControl::applyLayout(const ToolBarLayout &layout)
{
    clearLayout();
    for (const ToolBarLayout::Tool &tool : layout.tools)
        m_tools->define(tool);
    for (const ToolBarLayout::Band &definition : layout.bands) {
        auto *band = new ToolBand(definition, *m_tools, this);
        if (band->kind() == ToolBand::Kind::Normal)
            m_rows->addWidget(band->widget());
        m_bands.append(band);
    }
    for (const ToolBarLayout::Tool &tool : layout.tools) {
        if (!tool.subBand.isEmpty())
            m_tools->tool(tool.id)->setMenu(band(tool.subBand)->menu());
    }
    recalcLayout();
}

int ToolBarControl::bandCount() const
{
    return int(m_bands.size());
}

ToolBand *ToolBarControl::band(int index) const
{
    if (index < 0 || index >= m_bands.size())
        throw Err(Err::InvalidArgument, QStringLiteral("The toolbar has no band %1").arg(index));
    return m_bands.at(index);
}

ToolBand *ToolBarControl::band(const QString &name) const
{
    for (ToolBand *band : m_bands) {
        if (band->name() == name)
            return band;
    }
    throw Err(Err::InvalidArgument, QStringLiteral("The toolbar has no band \"%1\"").arg(name));
}

QAction *ToolBarControl::tool(qint32 id) const
{
    return m_tools->tool(id);
}

void ToolBarControl::popupBand(const QString &name, const QPoint &pos)
{
    band(name)->popup(pos);
}

void ToolBarControl::recalcLayout()
{
    for (ToolBand *band : qAsConst(m_bands))
        band->adjustSize();
    m_rows->invalidate();
    m_rows->activate();
    updateGeometry();
}

void ToolBarControl::setColor(ColorRole role, const QColor &color)
{
    QPalette palette = this->palette();
    for (QPalette::ColorRole paletteRole : paletteRoles(role))
        palette.setColor(paletteRole, color);
    fadeDisabledText(palette);
    QWidget::setPalette(palette);
}

QColor ToolBarControl::color(ColorRole role) const
{
    return palette().color(paletteRoles(role).constFirst());
}

void ToolBarControl::clearLayout()
{
    qDeleteAll(m_bands);
    m_bands.clear();
    m_tools->clear();
}
