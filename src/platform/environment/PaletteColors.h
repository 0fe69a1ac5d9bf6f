#pragma once

#include "platform/config/AppSettings.h"

// The system palette as the source of the window colours the store does not
// hold: each colour name stands for the palette role that plays its part.
namespace PaletteColors {

// The palette as it is now, by colour name; an unknown name gets the window
// background, the colour most things sit on. Without a GUI application there
// is no system palette: QPalette's own defaults stand in for it.
AppSettings::ColorDefaults take();

// Makes the palette the source of AppSettings' colour defaults.
void install();

} // namespace PaletteColors
