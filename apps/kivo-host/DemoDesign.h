#pragma once

#include <QList>
#include <QPoint>

class EntryController;
struct Study;

// Design mode tried end to end without a person at the mouse: open the first
// study's entry, choose Design Mode, drag the History label by offset pixels,
// choose Save Layout, close the entry as the workstation does, open the
// second study's entry and print where the label was, where it was dropped
// and where the next entry shows it. Answers the process exit code; a step
// that fails throws std::runtime_error.
int runDemoDesign(EntryController &controller, const QList<Study> &studies, const QPoint &offset);
