#include "form/design/Designer.h"

#include "common/Kivo_CRect.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "form/FieldTextBox.h"
#include "form/FormControls.h"
#include "form/FormServices.h"
#include "form/StatusLine.h"
#include "form/ToolIds.h"
#include "form/UserAction.h"
#include "form/design/DragTracker.h"
#include "platform/ui/ToolBand.h"
#include "platform/ui/ToolBarControl.h"
#include "platform/ui/Twips.h"
#include "platform/ui/TwipsGeometry.h"
#include "tables/Kivo_InputBox.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

using FormServices::log;

namespace {

// Controls a click on the form never picks up.
bool neverPicked(const QWidget *control)
{
    static const QStringList names{QStringLiteral("UI_MultiMon1"),  QStringLiteral("Timer1"),
                                   QStringLiteral("ImageList1"),    QStringLiteral("MouseWheel1"),
                                   QStringLiteral("FormScroller1"), QStringLiteral("m_TopToolBar")};
    return names.contains(control->objectName());
}

int setIndex(const QObject *control)
{
    return control->property("index").toInt();
}

} // namespace

Designer::Designer(QWidget *window, FormControls &ui, StatusLine &status)
    : QObject(window), m_window(window), m_ui(ui), m_status(status),
      m_tracker(new DragTracker(window, ui.fieldArea, ui.txtCodeAngio))
{
    m_ui.fieldArea->installEventFilter(this);
    for (const FieldSet &set : m_ui.fieldSets) {
        set.label->installEventFilter(this);
        set.text->viewport()->installEventFilter(this);
        set.text->viewport()->setProperty("index", setIndex(set.text));
        set.combo->installEventFilter(this);
        if (QLineEdit *edit = set.combo->lineEdit()) {
            edit->installEventFilter(this);
            edit->setProperty("index", setIndex(set.combo));
        }
    }
}

Designer::~Designer() = default;

void Designer::CreateSizeHandles()
{
    m_tracker->CreateSizeHandles();
    for (int k = 0; k < DragTracker::HandleCount; ++k)
        m_tracker->handle(k)->installEventFilter(this);
}

void Designer::setDesignToolsEnabled(bool designing)
{
    ToolBarControl *bar = m_ui.m_TopToolBar;
    for (qint32 id : ToolIds::DataTools)
        bar->tool(id)->setEnabled(!designing);
    for (qint32 id : ToolIds::LayoutTools)
        bar->tool(id)->setEnabled(designing);
    bar->tool(ToolIds::DesignMode)
        ->setText(QV_Resource::GetResString(designing ? ResourceIds::DESIGN_MODE_TOOL_ACTIVE
                                                      : ResourceIds::DESIGN_MODE_TOOL));
    bar->recalcLayout();
}

void Designer::EnterDesignMode()
{
    m_on = true;
    setDesignToolsEnabled(true);
    m_status.show(QV_Resource::GetResString(ResourceIds::DESIGN_MODE_STATUS));
    setBandVisible(true);
}

void Designer::ExitDesignMode()
{
    setBandVisible(false);
    SetDesignIndications(-1, true);
    m_selectedSet = 0;
    setDesignToolsEnabled(false);
    m_tracker->ClearSelection();
    m_on = false;
    m_status.clear();
}

void Designer::setBandVisible(bool visible)
{
    ToolBarControl *bar = m_ui.m_TopToolBar;
    // A toolbar layout without a design band has nothing to show.
    if (bar->bandCount() > ToolIds::DesignBandIndex) {
        ToolBand *band = bar->band(ToolIds::DesignBandIndex);
        const bool show = visible && m_on;
        // The band floats over the middle of the window.
        if (show && band->kind() == ToolBand::Kind::Floating)
            band->moveFloating(
                m_window->mapToGlobal(QPoint(m_window->width() / 2, m_window->height() / 2)));
        band->setVisible(show);
    }
    bar->recalcLayout();
}

void Designer::SetDesignIndications(int index, bool reset)
{
    m_ui.m_TopToolBar->update();
    for (int i = 0; i < m_ui.fieldSets.size(); ++i)
        m_ui.fieldSets[i].setDimmed(!reset && i != index);
}

bool Designer::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseMove || type == QEvent::MouseButtonDblClick;
    if (!mouse && type != QEvent::FocusIn)
        return false;
    // Outside design mode only a double click on a label (the selected set)
    // and a press on the form (its log lines) mean anything; typing and
    // moving the mouse over the fields pass straight on.
    if (!m_on && m_tracker->state() == DragTracker::Idle && type != QEvent::MouseButtonDblClick &&
        !(watched == m_ui.fieldArea && type == QEvent::MouseButtonPress))
        return false;
    const auto *mouseEvent = mouse ? static_cast<const QMouseEvent *>(event) : nullptr;
    bool handled = false;
    runUserAction(QStringLiteral("Designer"), [&] {
        const int set = setIndex(watched);
        if (type == QEvent::MouseButtonDblClick && qobject_cast<QLabel *>(watched)) {
            // The double click's first press began a drag; it ends here.
            m_tracker->drop();
            m_selectedSet = set;
            if (m_on)
                editCaption(set);
            handled = m_on;
            return;
        }
        // A click on a drop-down gave it the focus, which picked it up
        // wherever the cursor was then; the drag holds it where it was
        // pressed.
        const QComboBox *combo = m_ui.fieldSets.value(set).combo;
        if (type == QEvent::MouseButtonPress && m_on && combo &&
            m_tracker->dragControl() == combo &&
            (watched == combo || watched == combo->lineEdit()) &&
            m_tracker->state() == DragTracker::Moving)
            m_tracker->regrab(mouseEvent->globalPosition().toPoint());
        // While a control is dragged the form holds the mouse, whichever
        // control the event was meant for.
        if (mouseEvent && m_tracker->state() != DragTracker::Idle) {
            if (type == QEvent::MouseMove)
                m_tracker->track(mouseEvent->globalPosition().toPoint());
            else if (type == QEvent::MouseButtonRelease && mouseEvent->button() == Qt::LeftButton)
                m_tracker->drop();
            handled = true;
            return;
        }
        auto *widget = static_cast<QWidget *>(watched);
        const int handle = m_tracker->handleIndex(watched);
        if (handle >= 0) {
            if (type == QEvent::MouseButtonPress) {
                m_tracker->beginSizing(handle);
                handled = true;
            }
        } else if (watched == m_ui.fieldArea) {
            if (type == QEvent::MouseButtonPress)
                handled = formMousePressed(mouseEvent);
        } else if (qobject_cast<QLabel *>(widget)) {
            if (type == QEvent::MouseButtonPress && m_on) {
                if (mouseEvent->button() == Qt::LeftButton) {
                    m_selectedSet = set;
                    m_tracker->BeginDrag(widget, mouseEvent->globalPosition().toPoint());
                } else if (mouseEvent->button() == Qt::RightButton) {
                    emit typesPopupRequested(set);
                }
                handled = true;
            }
        } else if (widget->parentWidget() &&
                   widget->parentWidget() == m_ui.fieldSets.value(set).text) {
            // The text box's viewport takes its mouse.
            if (type == QEvent::MouseButtonPress && m_on &&
                mouseEvent->button() == Qt::LeftButton) {
                m_ui.fieldSets[set].text->setFocus();
                SetDesignIndications(set, false);
                m_tracker->BeginDrag(m_ui.fieldSets[set].text,
                                     mouseEvent->globalPosition().toPoint());
                m_selectedSet = set;
                handled = true;
            }
        } else if (m_on) {
            // A drop-down or its edit line: the focus picks it up; the mouse
            // must not open its list or edit its text meanwhile.
            if (type == QEvent::FocusIn && widget == m_ui.fieldSets.value(set).combo) {
                m_selectedSet = set;
                m_tracker->BeginDrag(widget, QCursor::pos());
            }
            handled = mouse;
        }
    });
    return handled;
}

bool Designer::formMousePressed(const QMouseEvent *event)
{
    log(QStringLiteral("Before set focus"));
    m_ui.m_TopToolBar->raise();
    log(QStringLiteral("after set focus"));
    if (event->button() != Qt::LeftButton || !m_on)
        return false;

    const QPoint pixels = event->position().toPoint();
    const float x = Twips::fromPixels(pixels.x(), TwipsGeometry::twipsPerPixelX(m_ui.fieldArea));
    const float y = Twips::fromPixels(pixels.y(), TwipsGeometry::twipsPerPixelY(m_ui.fieldArea));
    for (QWidget *control : m_ui.all()) {
        if (neverPicked(control))
            continue;
        if (!control->isHidden() && control->parentWidget() == m_ui.fieldArea) {
            Kivo_CRect rect;
            rect.SetRectToCtrl(control);
            if (rect.PtInRect(x, y)) {
                m_tracker->BeginDrag(control, event->globalPosition().toPoint());
                return true;
            }
        }
        log(QStringLiteral("Controls(I).Name=") + control->objectName());
    }
    m_tracker->deselect();
    return true;
}

void Designer::editCaption(int set)
{
    if (!m_inputBox)
        m_inputBox = new Kivo_InputBox(m_window);
    QLabel *label = m_ui.fieldSets[set].label;
    QString caption = label->text();
    bool confirmed = false;
    m_inputBox->Init(caption, confirmed);
    if (confirmed && !caption.isEmpty())
        label->setText(caption);
}
