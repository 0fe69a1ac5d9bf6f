#pragma once

#include <QString>

class QWidget;

// Opens a picker on the current store the way the main form does, for a
// quick look at a store's code trees. Each returns the code chosen with OK,
// "" when cancelled.
namespace PickerPreview {

QString openAcrCodePicker(const QString &code = QString(), QWidget *parent = nullptr);
QString openAngioCodePicker(const QString &code = QString(), QWidget *parent = nullptr);

} // namespace PickerPreview
