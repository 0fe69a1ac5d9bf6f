#include "PickerPreview.h"

#include "Kivo_ACRCodeFrm.h"
#include "Kivo_AngioCodeFrm.h"

namespace PickerPreview {

QString openAcrCodePicker(const QString &code, QWidget *parent)
{
    Kivo_ACRCodeFrm picker(parent);
    QString chosen = code;
    bool cancelled = false;
    picker.Init(parent, chosen, cancelled);
    return chosen;
}

QString openAngioCodePicker(const QString &code, QWidget *parent)
{
    Kivo_AngioCodeFrm picker(parent);
    QString chosen = code;
    bool cancelled = false;
    picker.Init(chosen, cancelled);
    return chosen;
}

} // namespace PickerPreview
