#pragma once

#include <QString>

#include <functional>

class QObject;
class QWidget;

// The form window's window procedure: while the form is shown, wheel turns
// and the user's resizing of its window pass through here first. The state is
// one per process, like the window procedure it stands for: one form window
// is subclassed at a time. The decisions are plain functions, so they can be
// checked without a window.
namespace Kivo_API {

// True when the process runs inside the development environment, whose
// executable names follow "vb<digit>.exe". The mouse-wheel hook stays off
// there.
bool IsInIDE();
// The same test on a given executable path, any letter case.
bool isIdeExecutable(const QString &executablePath);
// Replaces how IsInIDE decides, for a process that knows better than its
// executable's name (an embedding host, a test); an empty function brings
// back the name test.
void setIdeProbe(std::function<bool()> probe);

// The form wheel turns are passed to: the one shown last, held weakly, and
// how it turns by whole notches.
void setCurrentForm(QObject *form, std::function<void(int notches)> wheelRotate);
QObject *currentForm();

// Installs the window procedure on window, and where the window's form
// scrollers would take wheel turns for themselves; removes it again. A window
// subclassed before is released first.
void SubclassContainer(QWidget *window);
void RestoreContainer(QWidget *window);

// One wheel step, also of ScrollUp and ScrollDown, in the scroller's twips.
constexpr double WheelStep = 2500;

// The whole notches in a wheel turn (angleDelta in eighths of a degree, 120
// a notch; positive away from the user). Fine-grained wheels and touch pads
// turn by fractions of a notch: those are kept until they make a notch, and
// dropped when the direction changes.
int takeWheelNotches(int angleDelta);
// The scroll amount of one wheel turn: one step up (notches >= 1) while not at
// the top, one step down (notches <= -1) while not at the bottom, else 0. At
// most one step, whatever the number of notches.
double wheelScrollAmount(int notchCount, double position, double maximum);

// The user's sizing of the window: it begins at the scroll position given,
// the window's size changes any number of times, and when it ends the log
// tells the position it began at. Answers the amount to scroll by to be back
// at that position after the window changed size (0 when it did not, or the
// form is there already).
void enterSizeMove(double scrollPosition);
void sizeChanged();
bool inSizeMove();
double exitSizeMove(double scrollPosition);

} // namespace Kivo_API
