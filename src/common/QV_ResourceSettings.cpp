#include "QV_ResourceSettings.h"

#include "platform/config/AppSettings.h"
#include "platform/environment/DisplayProfileService.h"
#include "platform/environment/InstallLocation.h"
#include "platform/environment/PaletteColors.h"
#include "platform/environment/UIEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QTranslator>

#include <memory>

namespace QV_Resource {

namespace {

const QString DefaultCatalog = QStringLiteral("QVLangEng.qm");
const QString DebugCatalog = QStringLiteral("QVLangEngd.qm");
const QString AnyValue = QStringLiteral("-99");

// A catalog is loaded when first needed. A file that cannot be loaded leaves
// it empty, and the next lookup tries again.
using Catalog = std::unique_ptr<QTranslator>;

struct State
{
    QString fontName;
    qint32 fontCharset = 0;
    qint32 fontSize = 0;
    qint32 baseDlgFontSize = 0;
    double uiFactor = 0;
    quint32 dialogBackColor = 0;
    QString applicationIconPath;
    QString languageLibName;
    QString fallbackLibName;
    Catalog languageLib;
    Catalog fallbackLib;
    bool debugI18N = false;
};

State &state()
{
    static State s;
    return s;
}

// Catalog names may still be the Windows library names.
QString catalogFileName(const QString &name)
{
    if (name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        return name.left(name.size() - 4) + QLatin1String(".qm");
    return name;
}

QString catalogPath(const QString &name)
{
    const QString fileName = InstallLocation::toLocalSeparators(catalogFileName(name));
    if (QFileInfo(fileName).isAbsolute())
        return fileName;
    const QString root = InstallLocation::configuredRoot();
    if (!root.isEmpty()) {
        const QString inRoot = root + QLatin1String("/qv/lang/") + fileName;
        if (QFileInfo::exists(inRoot))
            return inRoot;
    }
    return InstallLocation::componentFolder() + QLatin1Char('/') + fileName;
}

QString lookUp(Catalog &catalog, const QString &name, qint32 id)
{
    if (!catalog && !name.isEmpty()) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(catalogPath(name)))
            catalog = std::move(translator);
    }
    if (!catalog)
        return {};
    return catalog->translate(nullptr, QByteArray::number(id).constData());
}

// Whether the process has a file of that name mapped: the catalog a debug
// host already loaded.
bool isFileMapped(const QString &fileName)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray suffix = '/' + QFile::encodeName(fileName);
    for (QByteArray line = maps.readLine(); !line.isEmpty(); line = maps.readLine()) {
        if (line.trimmed().endsWith(suffix))
            return true;
    }
    return false;
}

} // namespace

void InitUISettings()
{
    State &s = state();
    UIEnvironment environment;
    environment.Init();

    s.fontName = environment.GetSetting(QStringLiteral("font_name"));
    if (s.fontName.isEmpty())
        s.fontName = QStringLiteral("MS Sans Serif");
    const QString charset = environment.GetSetting(QStringLiteral("font_charset"));
    s.fontCharset = charset.isEmpty() ? 1 : charset.toInt();

    s.languageLibName = environment.LanguageLibrary();
    if (s.languageLibName.isEmpty())
        s.languageLibName = DefaultCatalog;

    s.debugI18N = !qEnvironmentVariableIsEmpty("CORVALIS_DEBUG_I18N");
    s.fallbackLibName = isFileMapped(DebugCatalog) ? DebugCatalog : DefaultCatalog;
}

QString GetResString(qint32 id)
{
    State &s = state();
    const QString text = lookUp(s.languageLib, s.languageLibName, id);
    if (!text.isEmpty())
        return text;
    if (s.debugI18N)
        return QLatin1Char('(') + QString::number(id) + QLatin1Char(')');
    return lookUp(s.fallbackLib, s.fallbackLibName, id);
}

void FreeResLibraries()
{
    state().languageLib.reset();
    state().fallbackLib.reset();
}

void ReadFontSettings(qint32 &monitor)
{
    if (monitor < 0)
        monitor = 0;
    const ConfigTreePtr font = AppSettings().OpenSubTree(QStringLiteral("appearance\\font"));
    const ConfigTreePtr display = OpenDisplayBranch(monitor, font);
    if (!display)
        return;
    State &s = state();
    s.fontSize = display->ReadLongOr(QStringLiteral("font_size"), 10);
    s.uiFactor = display->ReadLongOr(QStringLiteral("ui_factor"), 1);
    s.baseDlgFontSize = display->ReadLongOr(QStringLiteral("base_dlg_font_size"), 10);
}

ConfigTreePtr OpenDisplayBranch(qint32 monitor, const ConfigTreePtr &branch)
{
    if (!branch)
        return nullptr;
    const QString path =
        DisplayProfileService().BestFitPath(*branch, QString(), 0, 1, BuildDisplayProfile(monitor));
    return branch->OpenSubTree(path);
}

DisplayProfile BuildDisplayProfile(qint32 monitor)
{
    const UIEnvironment environment;
    DisplayDescriptor display;
    display.monitorCount = environment.MonitorCount();
    display.colorMode = ColorModeText(environment.ColorMode(monitor));
    display.resolution = ResolutionText(environment.ResolutionClass(monitor));
    display.orientation = OrientationText(environment.Orientation(monitor));

    DisplayProfile profile;
    profile.SetDescriptor(0, display);
    profile.SetDescriptor(1, DisplayDescriptor());
    profile.Commit(0);
    return profile;
}

QString ColorModeText(qint32 code)
{
    if (code == -1)
        return AnyValue;
    return code == 3 ? QStringLiteral("RGB") : QStringLiteral("PALETTE");
}

QString ResolutionText(qint32 code)
{
    if (code == -1)
        return AnyValue;
    return code == 1 ? QStringLiteral("High") : QStringLiteral("Normal");
}

QString OrientationText(qint32 code)
{
    if (code == -1)
        return AnyValue;
    return code == 0 ? QStringLiteral("Landscape") : QStringLiteral("Portrait");
}

void LoadDialogColors()
{
    // Installed before anything else: the windows read their other colours
    // (the toolbar's) from the settings after loading this one.
    PaletteColors::install();
    State &s = state();
    if (s.dialogBackColor != 0)
        return;
    AppSettings settings;
    settings.Init();
    s.dialogBackColor = settings.ColorByName(QStringLiteral("dialog_background"));
}

QColor ToQColor(quint32 colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

QString FontName()
{
    return state().fontName;
}
qint32 FontCharset()
{
    return state().fontCharset;
}
qint32 FontSize()
{
    return state().fontSize;
}
qint32 BaseDlgFontSize()
{
    return state().baseDlgFontSize;
}
double UIFactor()
{
    return state().uiFactor;
}
void SetUIFactor(double factor)
{
    state().uiFactor = factor;
}
quint32 DialogBackColor()
{
    return state().dialogBackColor;
}
void SetDialogBackColor(quint32 colour)
{
    state().dialogBackColor = colour;
}
QString ApplicationIconPath()
{
    return state().applicationIconPath;
}
void SetApplicationIconPath(const QString &path)
{
    state().applicationIconPath = path;
}

} // namespace QV_Resource
