#pragma once

#include "platform/config/ConfigTree.h"
#include "platform/environment/DisplayProfile.h"

#include <QColor>
#include <QString>

#include <functional>

class QWidget;

// Texts by number from the language catalogs, and the appearance every window
// of the component takes: fonts, the scale factor, the dialog background and
// icon. One state for the whole component, used on the UI thread only.
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

// Font face and dialog font size on every widget of the dialog and on the
// dialog itself; objects without a font are passed over.
void ApplyDialogFont(QWidget *dialog);
// Grows the dialog by UIFactor; its resizer keeps the children in proportion.
void ScaleFormByFactor(QWidget *dialog);
void SetControlFont(QWidget *control);
void SetControlFontFace(QWidget *control);

QString OrientationText(qint32 code);
QString ColorModeText(qint32 code);
QString ResolutionText(qint32 code);
DisplayProfile BuildDisplayProfile(qint32 monitor);
// The part of a settings branch written for the monitor's kind of display;
// the branch itself when none is; null for a null branch.
ConfigTreePtr OpenDisplayBranch(qint32 monitor, const ConfigTreePtr &branch);

// A colour value 0x00BBGGRR as a QColor.
QColor ToQColor(quint32 colour);

// The whole load treatment of a dialog: resizer, fonts, scale, the dialog's own
// captions (callback), background colour, icon.
void ApplyDialogLoadTreatment(QWidget *dialog, const std::function<void()> &setCaptions);

} // namespace QV_Resource
