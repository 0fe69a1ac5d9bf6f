#pragma once

class QWidget;
class UIEnvironment;
struct FormControls;

// How the teaching-file window looks once loaded: its captions from the
// language catalog, the toolbar layout the settings name, the colours and
// fonts of the display it opens on.
namespace FormLook {

void setDefaultCaptions(QWidget *form, FormControls &ui);
void loadToolBar(FormControls &ui, const UIEnvironment &environment);
void applyColors(QWidget *form, FormControls &ui);
void applyFonts(FormControls &ui);

} // namespace FormLook
