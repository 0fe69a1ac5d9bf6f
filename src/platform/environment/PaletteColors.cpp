#include "PaletteColors.h"

#include "platform/config/ConfigPath.h"

#include <QGuiApplication>
#include <QHash>
#include <QPalette>

namespace {

// The palette role that plays each named colour's part.
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

namespace PaletteColors {

AppSettings::ColorDefaults take()
{
    const QPalette palette = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                 ? QGuiApplication::palette()
                                 : QPalette();
    return [palette](const QString &name) {
        return toBgr(palette.color(QPalette::Active, roleOf(name)));
    };
}

void install()
{
    AppSettings::SetColorDefaultsSource(&take);
}

} // namespace PaletteColors
