#pragma once

#include <QString>

class EntryController;
struct Study;

// Opens the study's entry and saves the teaching-file window as a PNG image.
// Answers the process exit code.
int saveEntryScreenshot(EntryController &controller, const Study &study, const QString &file);
