#include "QV_Resource.h"

#include "platform/environment/InstallLocation.h"
#include "platform/ui/IconCache.h"
#include "platform/ui/ProportionalResizer.h"

#include <QApplication>
#include <QWidget>

#include <cmath>

namespace QV_Resource {

namespace {

void setFont(QWidget *control, bool withSize)
{
    QFont font = control->font();
    font.setFamily(FontName());
    // Before the font settings were read the size is 0, which no font takes;
    // the control then keeps its own size.
    if (withSize && BaseDlgFontSize() > 0)
        font.setPointSize(BaseDlgFontSize());
    control->setFont(font);
}

void applyBackground(QWidget *dialog)
{
    // 0 means the dialog colour was never loaded; painting the dialog black
    // would leave its black captions unreadable, so it keeps the platform's
    // own background until a colour is known.
    if (DialogBackColor() == 0)
        return;
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, ToQColor(DialogBackColor()));
    dialog->setPalette(palette);
    dialog->setAutoFillBackground(true);
}

void applyIcon(QWidget *dialog)
{
    const QIcon icon =
        IconCache::fileIcon(InstallLocation::toLocalSeparators(ApplicationIconPath()));
    if (!icon.isNull())
        dialog->setWindowIcon(icon);
}

} // namespace

void ScaleFormByFactor(QWidget *dialog)
{
    if (UIFactor() == 0)
        SetUIFactor(1);
    const double factor = UIFactor();
    dialog->resize(qRound(dialog->width() * factor), qRound(dialog->height() * factor));
}

void ApplyDialogFont(QWidget *dialog)
{
    // Each control keeps its own weight and style; only face and size change.
    for (QWidget *control : dialog->findChildren<QWidget *>())
        SetControlFont(control);
    SetControlFont(dialog);
}

void SetControlFont(QWidget *control)
{
    setFont(control, true);
}

qint32 DialogControlFontSize()
{
    if (BaseDlgFontSize() > 0)
        return BaseDlgFontSize();
    // Halves go to the even neighbour, as the default rounding mode does.
    return qint32(std::nearbyint(QApplication::font("QPushButton").pointSizeF()));
}

void SetControlFontFace(QWidget *control)
{
    setFont(control, false);
}

void ApplyDialogLoadTreatment(QWidget *dialog, const std::function<void()> &setCaptions)
{
    ProportionalResizer::attach(dialog);
    ApplyDialogFont(dialog);
    ScaleFormByFactor(dialog);
    if (setCaptions)
        setCaptions();
    applyBackground(dialog);
    applyIcon(dialog);
}

} // namespace QV_Resource
