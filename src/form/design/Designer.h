#pragma once

#include <QObject>

class DragTracker;
class Kivo_InputBox;
class QMouseEvent;
class QWidget;
class StatusLine;
struct FormControls;

// Design mode of the teaching-file window: switching it on and off (the
// tools, the Design Mode caption, the status text and the floating design
// band), the look of the fields while one is worked on, which field set is
// selected, editing a label's caption, and the mouse on the form, its
// labels, text boxes, drop-downs and sizing handles. Nothing is stored
// here: the layout is written only by Save Layout.
class Designer : public QObject
{
    Q_OBJECT

public:
    Designer(QWidget *window, FormControls &ui, StatusLine &status);
    ~Designer() override;

    // Once, at the form's load.
    void CreateSizeHandles();

    void EnterDesignMode();
    void ExitDesignMode();
    bool isOn() const { return m_on; }
    // Every field in its normal look (reset), or all but set index dimmed.
    void SetDesignIndications(int index, bool reset);
    // The set last clicked in design mode; the alignment commands use it.
    int selectedSet() const { return m_selectedSet; }

    // Shows the design band while design mode is on and the window shown.
    void setBandVisible(bool visible);

    DragTracker &tracker() const { return *m_tracker; }

signals:
    // A right click on label set in design mode asks for the field-type popup.
    void typesPopupRequested(int set);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setDesignToolsEnabled(bool designing);
    bool formMousePressed(const QMouseEvent *event);
    void editCaption(int set);

    QWidget *m_window;
    FormControls &m_ui;
    StatusLine &m_status;
    DragTracker *m_tracker;
    Kivo_InputBox *m_inputBox = nullptr;
    bool m_on = false;
    int m_selectedSet = 0;
};
