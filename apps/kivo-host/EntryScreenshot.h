#pragma once

#include <QString>

class EntryController;
struct Study;

// Opens the study's entry and saves the teaching-file window, with the tool
// windows it shows over itself, as a PNG image. In design mode the window
// is shown with its History box picked up: the handles around it, the other
// fields dimmed. Answers the process exit code; a design step that fails
// throws std::runtime_error.
int saveEntryScreenshot(EntryController &controller, const Study &study, const QString &file,
                        bool designMode);
