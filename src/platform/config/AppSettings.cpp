#include "AppSettings.h"

#include "ConfigDatabase.h"
#include "StoreConnection.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The palette role that plays each named colour's part; an unknown name
// falls back to the window background, the colour most things sit on.
QPalette::ColorRole roleOf(const QString &name)
{
    static const QHash<QString, QPalette::ColorRole> roles = {
        {QStringLiteral("dialog_background"), QPalette::Window},
        {QStringLiteral("window_text"), QPalette::WindowText},
        {QStringLiteral("button_face"), QPalette::Button},
        {QStringLiteral("button_text"), QPalette::ButtonText},
        {QStringLiteral("edit_background"), QPalette::Base},
        {QStringLiteral("edit_text"), QPalette::Text},
        {QStringLiteral("highlight"), QPalette::Highlight},
        {QStringLiteral("highlight_text"), QPalette::HighlightedText},
        {QStringLiteral("tooltip_background"), QPalette::ToolTipBase},
        {QStringLiteral("tooltip_text"), QPalette::ToolTipText},
        // The toolbar's colours, which the teaching-file window asks for.
        {QStringLiteral("bar_shadow"), QPalette::Mid},
        {QStringLiteral("bar_shadow_dark"), QPalette::Shadow},
        {QStringLiteral("bar_shadow_light"), QPalette::Light},
        {QStringLiteral("bar_menu"), QPalette::Button},
        {QStringLiteral("bar_menu_text"), QPalette::ButtonText},
        {QStringLiteral("bar_highlight"), QPalette::Highlight},
    };
    return roles.value(ConfigPath::foldCase(name), QPalette::Window);
}

quint32 toBgr(const QColor &color)
{
    return quint32(color.blue()) << 16 | quint32(color.green()) << 8 | quint32(color.red());
}

} // namespace

AppSettings::AppSettings() : AppSettings(ConfigDatabase::defaultFile()) {}

AppSettings::AppSettings(const QString &storeFile)
    : StoreTree(StoreConnection::open(storeFile),
                ConfigPath::parse(QString::fromLatin1(ApplicationPath)))
{
}

void AppSettings::Init()
{
    takePalette();
}

void AppSettings::takePalette() const
{
    // Without a GUI application there is no system palette; QPalette's own
    // defaults stand in for it.
    const QPalette palette = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                 ? QGuiApplication::palette()
                                 : QPalette();
    m_paletteColors.clear();
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        m_paletteColors.append(toBgr(palette.color(QPalette::Active, QPalette::ColorRole(role))));
}

quint32 AppSettings::ColorByName(const QString &name) const
{
    // A negative number is no colour (nor is a system colour index with the
    // high bit set): the palette's colour stands in for it.
    const qint32 stored = ReadLong(QStringLiteral("appearance\\colors\\") + name);
    if (stored >= 0)
        return quint32(stored) & 0x00ffffffu;
    if (m_paletteColors.isEmpty())
        takePalette();
    return m_paletteColors.value(roleOf(name));
}
