#pragma once

#include <QString>

class QAction;
class QWidget;

// Finding controls of the teaching-file window by the names it gives them,
// for automation running in the host's process. Null when there is none.
namespace FormLookup {

// The text box of the field set whose label reads caption ("History:").
QWidget *fieldTextBox(const QWidget *form, const QString &caption);
// The action of the toolbar tool with that id (1 is Submit), as shown on
// the toolbar.
QAction *tool(const QWidget *form, int id);

} // namespace FormLookup
