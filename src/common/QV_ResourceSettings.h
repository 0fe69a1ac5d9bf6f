#pragma once

#include "platform/config/ConfigTree.h"
#include "platform/environment/DisplayProfile.h"

#include <QColor>
#include <QString>

// Texts by number from the language catalogs, and the appearance values every
// window of the component takes: fonts, the scale factor, the dialog
// background and icon. One state for the whole component, used on the UI
// thread only. Free of widgets; QV_Resource.h adds how a dialog takes them on.
//
// The catalogs are Qt id-based translation files: the primary one named by
// the UI environment (default "QVLangEng.qm"; a Windows ".dll" name is read as
// the ".qm" of the same name), and the fallback "QVLangEngd.qm" when the
// process has that file mapped, else "QVLangEng.qm". A relative name is found
// in the install root's "qv/lang" folder, else beside the component.
namespace QV_Resource {

void InitUISettings();
// A negative monitor is set to 0, in the caller's variable too.
void ReadFontSettings(qint32 &monitor);
void LoadDialogColors();

QString FontName();
qint32 FontCharset();
qint32 FontSize();
qint32 BaseDlgFontSize();
// 0 until the font settings were read; ScaleFormByFactor makes that 1.
double UIFactor();
void SetUIFactor(double factor);
quint32 DialogBackColor();               // 0x00BBGGRR; 0 = not loaded
void SetDialogBackColor(quint32 colour); // the message boxes set RGB(192,192,192) when 0
QString ApplicationIconPath();           // set by the configuration manager's Init
void SetApplicationIconPath(const QString &path);

// The text of that id; "" when no catalog has it (never an error). With
// CORVALIS_DEBUG_I18N set, a text missing from the primary catalog reads
// "(id)" so untranslated places stand out.
QString GetResString(qint32 id);
void FreeResLibraries();

QString OrientationText(qint32 code);
QString ColorModeText(qint32 code);
QString ResolutionText(qint32 code);
DisplayProfile BuildDisplayProfile(qint32 monitor);
// The part of a settings branch written for the monitor's kind of display;
// the branch itself when none is; null for a null branch.
ConfigTreePtr OpenDisplayBranch(qint32 monitor, const ConfigTreePtr &branch);

// A colour value 0x00BBGGRR as a QColor.
QColor ToQColor(quint32 colour);

} // namespace QV_Resource
