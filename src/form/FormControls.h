#pragma once

#include "form/FieldSet.h"

#include <QList>
#include <QVector>

class FieldTextBox;
class FormScroller;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;
class ToolBarControl;
class WindowPlacementControl;

// The teaching-file window's designed controls, named as the window names
// them: the toolbar, the scroller and the scrolled field area with its fixed
// part (code rows, AFIP, the submitted-by stamp, the status line) and the
// field sets, which the stored layout places later.
struct FormControls
{
    static constexpr int FieldSetCount = 11;

    // Creates every control on form, at its designed place.
    void setupUi(QWidget *form);

    // The form's control collection in load order: the designed controls,
    // then the labels, the text boxes and the drop-downs.
    QList<QWidget *> all() const;

    ToolBarControl *m_TopToolBar = nullptr;
    FormScroller *FormScroller1 = nullptr;
    QWidget *fieldArea = nullptr; // the scrolled content: everything below the toolbar
    WindowPlacementControl *UI_MultiMon1 = nullptr;
    QTimer *Timer1 = nullptr;
    QLabel *lblInfo = nullptr;
    QLabel *lblACR = nullptr;
    QLabel *lblACRCode = nullptr;
    QPushButton *cmdACR = nullptr;
    FieldTextBox *txtCodeDesc = nullptr;
    QLabel *lblAngio = nullptr;
    QLabel *lblAngioCode = nullptr;
    QPushButton *cmdAngio = nullptr;
    FieldTextBox *txtCodeAngio = nullptr;
    QCheckBox *chkAFIP = nullptr;
    QLabel *lblSubmitted = nullptr;
    QLabel *lblSubmittedBy = nullptr;
    QLabel *lblDateSubmitted = nullptr;
    QLabel *lblDate = nullptr;
    QLabel *dummy = nullptr; // the end marker of the field area
    QFrame *Line3D1 = nullptr;
    QFrame *Line3D2 = nullptr;
    QFrame *Line3D3 = nullptr;
    QFrame *Line3D4 = nullptr;
    QVector<FieldSet> fieldSets;
};
