#pragma once

#include <QString>

class QAction;
class QLabel;
class QWidget;

// Finding controls of the teaching-file window by the names it gives them,
// for automation running in the host's process. Null when there is none.
namespace FormLookup {

// The toolbar tools automation chooses, by the ids the toolbar layout gives
// them.
enum Tool : int { SubmitTool = 1, DesignModeTool = 4, SaveLayoutTool = 5 };

// The label of the field set that reads caption ("History:").
QLabel *fieldLabel(const QWidget *form, const QString &caption);
// The text box of the field set whose label reads caption.
QWidget *fieldTextBox(const QWidget *form, const QString &caption);
// The action of the toolbar tool with that id, as shown on the toolbar.
QAction *tool(const QWidget *form, int id);

} // namespace FormLookup
