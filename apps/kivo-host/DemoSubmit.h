#pragma once

#include <QString>

class EntryController;
struct Study;

// The whole round of one entry without a person at the keyboard: open the
// study's entry, type into History, choose Submit, answer the question with
// Yes, and wait until the workstation has saved the record. Answers the
// process exit code: 0 when the record was saved.
int runDemoSubmit(EntryController &controller, const Study &study, const QString &text);

// An entry left half done: open the study's entry, type text into every
// field the layout shows (each value printed as "Typed: <value>"), tick
// AFIP, and keep the entry open until the process is ended, as a
// workstation that dies mid-entry.
int runDemoType(EntryController &controller, const Study &study, const QString &text);
