#pragma once

#include "form/FormControls.h"
#include "tables/Kivo_TablesStore.h"

#include <kivo/TFData.h>

#include <QWidget>

#include <memory>

class QWindow;
class UIEnvironment;
class Designer;
class EntryDrafts;
class FormDialogs;
class FormLayoutBuilder;
class FormScrolling;
class LayoutCommands;
class LayoutSaver;
class RecordBinding;
class StatusLine;

// The teaching-file window. Its fixed area (toolbar, code rows, AFIP, the
// submitted-by stamp, the status line) is designed in; below it the field
// sets are built from the stored layout. The window itself keeps its life:
// load, show and hide, placement, closing (Kivo_UIManager.cpp), and the
// toolbar's commands and design mode's switch (Kivo_UIManager_commands.cpp). Its parts
// with state of their own do the rest, and the operations hosts call by name
// forward to them:
//   FormLayoutBuilder  the stored layout into field sets, scaling
//   RecordBinding      record <-> form, submit, the modified flag, pickers
//   EntryDrafts        the crash-safe draft of an entry with a key
//   FormScrolling      scrolling, the wheel and the resize rule
//   StatusLine         the status line and its timer
//   Designer           design mode: moving, sizing, captions (design/)
//   LayoutCommands     the design toolbar's commands and popups (design/)
//   LayoutSaver        Save Layout (design/)
//   FormDialogs        the code pickers and the tables dialog, built on first use
class Kivo_UIManager : public QWidget
{
    Q_OBJECT

public:
    static constexpr int FieldSetCount = FormControls::FieldSetCount;

    explicit Kivo_UIManager(QWidget *parent = nullptr);
    ~Kivo_UIManager() override;

    // --- lifecycle ----------------------------------------------------------
    void AppShow();
    void AppHide();
    void Minimize();
    void Restore();
    // Raises and activates the window with the cursor in the first field the
    // user may edit, so the first keystrokes of an entry reach it.
    void bringToFront();
    void Position(qint32 code);
    void PositionWindow(qint32 code);
    void Parent(qint32 ownerWindow);
    void FormStyle(qint32 ownerWindow);
    static QString TF_POSITION_PATH();
    void CloseSession();
    void Uninitialize();
    // Write-only: offers or withdraws the layout-design tools.
    void setDesignMode(bool allowed);
    bool isDesignModeOn() const;
    void EnterDesignMode();
    void ExitDesignMode();
    void SaveLayout();

    // --- fields -------------------------------------------------------------
    void InitAndUpdateUIFields(TFData *record);
    void ReadLayout(bool useDefault);
    void ViewOnly(qint32 value);
    const QVector<FieldSet> &fieldSets() const { return m_ui.fieldSets; }

    // --- data ---------------------------------------------------------------
    void UpdateUIFields(TFData *record);
    void FillTFData();
    void SubmitData();
    TFData *tfData() const;
    bool IsModified() const;
    void setIsModified(bool modified);
    void SubmitCompleted(qint32 status);
    void ClearAll();
    void RevertToOriginal();

    // --- whose entry, and its draft ----------------------------------------
    // The record's KIVO_ENTRY_TITLE ("" without one): the window's title
    // and its questions name the entry with it.
    QString entryTitle() const { return m_entryTitle; }
    // Drops drafts older than maxAgeDays; at Init.
    void DropStaleDrafts(int maxAgeDays);
    // After Show: offers the entry's draft back, unless it is read-only.
    void OfferDraft();
    // The entry's end was settled with the host: its draft goes.
    void EntryEndedCleanly();

    // --- scrolling ----------------------------------------------------------
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
    void ensureLoaded();
    void onToolClicked(qint32 toolId);
    // Clear All, undone by Ctrl+Z until the next edit; the status line says
    // what was cleared.
    void clearAllUndoably();
    void connectUndo();
    void setDesignBandVisible(bool visible);
    void leaveDesignMode();
    // Hides the window and tells the host; the form stays loaded.
    void hideToHost();
    // The inputs and the record tools follow the entry: editable with a
    // record, locked when it is read-only, disabled without one, so nothing
    // can be typed that has nowhere to go.
    void applyEntryAccess();
    // The caption of the mode, followed by the entry's title when it has one.
    void updateTitle();
    // The topmost, then leftmost, input the user may type into; none in a
    // read-only entry or without a record.
    QWidget *firstEditableField() const;

    FormControls m_ui;
    Kivo_TablesStore m_tables;
    std::unique_ptr<FormLayoutBuilder> m_layout;
    std::unique_ptr<FormScrolling> m_scrolling;
    RecordBinding *m_binding = nullptr;
    EntryDrafts *m_drafts = nullptr;
    StatusLine *m_status = nullptr;
    Designer *m_designer = nullptr;
    std::unique_ptr<LayoutCommands> m_commands;
    std::unique_ptr<LayoutSaver> m_saver;
    std::unique_ptr<FormDialogs> m_dialogs;
    // The host's window that owns this one, when it is not a widget of ours.
    std::unique_ptr<QWindow> m_foreignOwner;

    QString m_entryTitle;
    bool m_uninitializing = false;
    bool m_loaded = false;
    bool m_fieldsInitialised = false;
    bool m_readOnly = false;
    qint32 m_ownerWindow = 0;
    int m_paintCount = 0;
};
