#include "Kivo_API.h"

#include "UserAction.h"
#include "common/QV_VBLogger.h"
#include "platform/ui/FormScroller.h"

#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

namespace {

// One notch of a standard wheel, in eighths of a degree.
constexpr int NotchDelta = 120;
// The window system does not say when the user lets go of the border: a
// sizing is taken as ended once the window kept its size this long, the same
// pause after which the placement control stores the window's place.
constexpr int SizeMoveQuietMs = 500;

class WindowProc;

struct State
{
    std::function<bool()> ideProbe;
    QPointer<QObject> currentForm;
    std::function<void(int)> wheelRotate;
    QPointer<WindowProc> windowProc;
    int wheelRest = 0;
    bool inSizeMove = false;
    bool resized = false;
    double savedPosition = 0;
};

State &state()
{
    static State s;
    return s;
}

QString source()
{
    return QStringLiteral("Kivo_API");
}

// Installed on the form window (its resizing, and wheel turns over parts of
// the window that do not take them) and on the form scroller's viewport and
// scroll bar, which would otherwise scroll by their own steps.
class WindowProc : public QObject
{
public:
    explicit WindowProc(QWidget *window)
        : QObject(window), m_window(window), m_scroller(window->findChild<FormScroller *>())
    {
        m_sizeMoveEnd.setSingleShot(true);
        m_sizeMoveEnd.setInterval(SizeMoveQuietMs);
        connect(&m_sizeMoveEnd, &QTimer::timeout, this,
                [this] { runUserAction(QStringLiteral("WindowProc"), [this] { endSizeMove(); }); });
        window->installEventFilter(this);
        if (m_scroller) {
            m_scroller->viewport()->installEventFilter(this);
            m_scroller->verticalScrollBar()->installEventFilter(this);
        }
    }

    QWidget *window() const { return m_window; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Wheel) {
            wheel(static_cast<QWheelEvent *>(event)->angleDelta().y());
            return true;
        }
        // Only the window system's resizes are the user's; the program's own
        // (placement, layout) arrive as posted or sent events.
        if (event->type() == QEvent::Resize && watched == m_window && event->spontaneous())
            resized();
        return QObject::eventFilter(watched, event);
    }

private:
    double scrollPosition() const { return m_scroller ? m_scroller->ScrollPosition() : 0; }

    void wheel(int angleDelta)
    {
        const int notches = Kivo_API::takeWheelNotches(angleDelta);
        const State &s = state();
        if (notches != 0 && s.currentForm && s.wheelRotate)
            runUserAction(QStringLiteral("WindowProc"), [&] { s.wheelRotate(notches); });
    }

    void resized()
    {
        if (!Kivo_API::inSizeMove())
            Kivo_API::enterSizeMove(scrollPosition());
        Kivo_API::sizeChanged();
        m_sizeMoveEnd.start();
    }

    void endSizeMove()
    {
        const double amount = Kivo_API::exitSizeMove(scrollPosition());
        if (amount != 0 && m_scroller)
            m_scroller->ScrollBy(amount);
    }

    QWidget *m_window;
    QPointer<FormScroller> m_scroller;
    QTimer m_sizeMoveEnd;
};

} // namespace

namespace Kivo_API {

bool IsInIDE()
{
    if (const auto &probe = state().ideProbe)
        return probe();
    // An unreadable link gives an empty path, which does not match.
    return isIdeExecutable(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
}

bool isIdeExecutable(const QString &executablePath)
{
    // "*vb#.exe*": any run, "vb", one decimal digit, ".exe", any run.
    static const QRegularExpression pattern(QStringLiteral("vb[0-9]\\.exe"));
    return pattern.match(executablePath.toLower()).hasMatch();
}

void setIdeProbe(std::function<bool()> probe)
{
    state().ideProbe = std::move(probe);
}

void setCurrentForm(QObject *form, std::function<void(int)> wheelRotate)
{
    state().currentForm = form;
    state().wheelRotate = std::move(wheelRotate);
}

QObject *currentForm()
{
    return state().currentForm;
}

void SubclassContainer(QWidget *window)
{
    State &s = state();
    delete s.windowProc;
    s.windowProc = new WindowProc(window);
}

void RestoreContainer(QWidget *window)
{
    State &s = state();
    if (!s.windowProc || s.windowProc->window() != window)
        return;
    delete s.windowProc;
    // A sizing or a part notch left over belongs to the window just released.
    s.inSizeMove = false;
    s.resized = false;
    s.wheelRest = 0;
}

int takeWheelNotches(int angleDelta)
{
    int &rest = state().wheelRest;
    if ((rest > 0 && angleDelta < 0) || (rest < 0 && angleDelta > 0))
        rest = 0;
    rest += angleDelta;
    const int notches = rest / NotchDelta;
    rest -= notches * NotchDelta;
    return notches;
}

double wheelScrollAmount(int notchCount, double position, double maximum)
{
    if (notchCount >= 1)
        return position > 0 ? -WheelStep : 0;
    if (notchCount <= -1)
        return maximum > position ? WheelStep : 0;
    return 0;
}

void enterSizeMove(double scrollPosition)
{
    State &s = state();
    s.inSizeMove = true;
    s.savedPosition = scrollPosition;
    s.resized = false;
}

void sizeChanged()
{
    state().resized = true;
}

bool inSizeMove()
{
    return state().inSizeMove;
}

double exitSizeMove(double scrollPosition)
{
    State &s = state();
    const double saved = s.savedPosition;
    // The form scroller keeps its position across a resize by itself, so
    // scrolling by the whole saved position would move the form that far
    // again; only what the resize changed is put back.
    const double amount = s.resized ? saved - scrollPosition : 0;
    s.inSizeMove = false;
    s.resized = false;
    s.savedPosition = 0;
    QV_VBLogger::WriteLog(QStringLiteral("Exit sizing - scrollbar verticall position is ") +
                              QString::number(saved),
                          source());
    return amount;
}

} // namespace Kivo_API
