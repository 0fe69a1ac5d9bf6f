#pragma once

#include <kivo/TFData.h>

#include <QStringList>
#include <QVector>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTimer;
class QWindow;
class UIEnvironment;
class FieldTextBox;
class FormScroller;
class ToolBarControl;
class WindowPlacementControl;
class Kivo_ACRCodeFrm;
class Kivo_AngioCodeFrm;
class Kivo_TablesFrm;
struct LayoutRecord;

// The teaching-file window. Its fixed area (toolbar, code rows, AFIP, the
// submitted-by stamp, the status line) is designed in; below it the field
// sets are built from the stored layout. One class, its work split by
// concern over several sources:
//   Kivo_UIManager.cpp          designed controls, load, show/hide, placement,
//                               close, CloseSession, Uninitialize, status line,
//                               DesignMode and the tool dispatcher
//   Kivo_UIManager_fields.cpp   building the field sets from the layout, ViewOnly
//   Kivo_UIManager_binding.cpp  record <-> form, submit, modified flag, pickers,
//                               drop-down completion
//   Kivo_UIManager_scroll.cpp   scrolling, the wheel and the resize rule
class Kivo_UIManager : public QWidget
{
    Q_OBJECT

public:
    static constexpr int FieldSetCount = 11;

    explicit Kivo_UIManager(QWidget *parent = nullptr);
    ~Kivo_UIManager() override;

    // --- lifecycle (Kivo_UIManager.cpp) -----------------------------------
    void AppShow();
    void AppHide();
    void Minimize();
    void Restore();
    void Position(qint32 code);
    void PositionWindow(qint32 code);
    void Parent(qint32 ownerWindow);
    void FormStyle(qint32 ownerWindow);
    static QString TF_POSITION_PATH();
    void CloseSession();
    void Uninitialize();
    // Write-only: offers or withdraws the layout-design tools.
    void setDesignMode(bool allowed);
    bool isDesignModeOn() const { return m_designModeOn; }

    // --- fields (Kivo_UIManager_fields.cpp) -------------------------------
    void InitAndUpdateUIFields(TFData *record);
    void ReadLayout(bool useDefault);
    void ViewOnly(qint32 value);

    // --- data (Kivo_UIManager_binding.cpp) --------------------------------
    void UpdateUIFields(TFData *record);
    void FillTFData();
    void SubmitData();
    TFData *tfData() const { return m_record; }
    bool IsModified() const { return m_modified; }
    void setIsModified(bool modified) { m_modified = modified; }
    void SubmitCompleted(qint32 status);
    void ClearAll();
    void RevertToOriginal();

    // --- scrolling (Kivo_UIManager_scroll.cpp) ----------------------------
    void ResetScroll();
    void ScrollUp();
    void ScrollDown();
    void WheelRotate(int notchCount);
    void AttachWheelHook();
    void DetachWheelHook();

signals:
    void FormClosed();
    void SubmitPressed(TFData *record);

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // --- designed controls, created by the constructor --------------------
    ToolBarControl *m_TopToolBar = nullptr;
    FormScroller *FormScroller1 = nullptr;
    QWidget *m_fieldArea = nullptr; // the scrolled content: everything below the toolbar
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
    QVector<QLabel *> m_aLabels;
    QVector<FieldTextBox *> m_aText;
    QVector<QComboBox *> m_aCombo;

    // --- form state ---------------------------------------------------------
    QStringList m_kinds; // "TEXT" or "DROP DOWN", one per field set
    TFData *m_record = nullptr; // held with AddRef from UpdateUIFields until released
    bool m_modified = false;
    bool m_designModeOn = false;
    bool m_uninitializing = false;
    qint32 m_ownerWindow = 0;
    bool m_loaded = false;
    int m_paintCount = 0;
    Kivo_ACRCodeFrm *m_acrPicker = nullptr;
    Kivo_AngioCodeFrm *m_angioPicker = nullptr;
    Kivo_TablesFrm *m_tablesFrm = nullptr;

    // --- lifecycle helpers (Kivo_UIManager.cpp) ------------------------------
    void buildDesignedControls();
    void ensureLoaded();
    void onToolClicked(qint32 toolId);
    void setDefaultCaptions();
    void loadToolBar(const UIEnvironment &environment);
    void applyColors();
    void setDesignBandVisible(bool visible);
    // Hides the window and tells the host; the form stays loaded.
    void hideToHost();
    void clearStatus();
    // Shows text on the status line for four seconds (Timer1); the message of
    // SubmitCompleted. Declared for the binding, defined with the status line.
    void showStatus(const QString &text);
    // The host's window that owns this one, when it is not a widget of ours.
    std::unique_ptr<QWindow> m_foreignOwner;

    // --- field helpers (Kivo_UIManager_fields.cpp) ----------------------------
    // Controls the scaling never touches, and those the layout does not place,
    // which a rebuild from the default layout leaves at their scaled geometry.
    static bool fixed_control(const QWidget *control);
    static bool non_resize_tf_control(const QWidget *control);
    // The form's controls: the designed ones, then the field sets.
    QList<QWidget *> formControls() const;
    void buildFromLayout(bool useDefault, const LayoutRecord &formLayout);
    void resizeToLayout(const LayoutRecord &formLayout);
    void buildFieldSet(int index, int origin);
    void fillDropDown(QComboBox *combo, const QString &table);
    void scaleToFactor(bool useDefault);
    bool m_fieldsInitialised = false;
    // How far the scaled controls moved up (twips) when the form was scaled.
    int m_scaleShift = 0;
    // The stored value tables, offered by the table popup of design mode.
    QStringList m_tableNames;

    // --- data helpers (Kivo_UIManager_binding.cpp) ----------------------------
    void connectDataHandlers();
    // Holds record (null: none) with a reference of its own, releasing the one held.
    void holdRecord(TFData *record);
    void showValue(int index, const QString &tag, const QString &value);
    void markModified(const QString &handler);
    void textBoxKeyPressed(const FieldTextBox *box, const QKeyEvent *event);
    void textChangedByUser();
    void comboKeyPressed(const QKeyEvent *event);
    void comboEdited(QComboBox *combo, const QString &typed);
    void cmdACR_Click();
    void cmdAngio_Click();
    // True while the program itself fills or empties the text boxes, whose
    // changes then are no edit of the user's.
    bool m_fillingFields = false;
    // The drop-down's next change comes from Delete or Backspace and must not
    // complete the entry again.
    bool m_suppressCompletion = false;

    // --- scrolling helpers (Kivo_UIManager_scroll.cpp) --------------------------
    bool m_wheelHook = false;
    // The window procedure was installed once; it then stays known until the
    // form goes, whether attached or not.
    bool m_subclassed = false;
};
