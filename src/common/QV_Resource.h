#pragma once

#include "QV_ResourceSettings.h"

#include <functional>

class QWidget;

// How a dialog of the component takes on the appearance of QV_ResourceSettings:
// fonts on its widgets, its scale, background and icon.
namespace QV_Resource {

// Font face and dialog font size on every widget of the dialog and on the
// dialog itself; objects without a font are passed over.
void ApplyDialogFont(QWidget *dialog);
// Grows the dialog by UIFactor; its resizer keeps the children in proportion.
void ScaleFormByFactor(QWidget *dialog);
void SetControlFont(QWidget *control);
// The point size, whole, that SetControlFont gives a push button of a
// dialog: the dialog font size, or the platform's button font size while
// none is set.
qint32 DialogControlFontSize();
void SetControlFontFace(QWidget *control);

// The whole load treatment of a dialog: resizer, fonts, scale, the dialog's own
// captions (callback), background colour, icon.
void ApplyDialogLoadTreatment(QWidget *dialog, const std::function<void()> &setCaptions);

} // namespace QV_Resource
