#pragma once

#include <kivo/ComRef.h>
#include <kivo/TFData.h>

#include <QMap>
#include <QObject>
#include <QStringList>

#include <optional>
#include <utility>

struct FormControls;
class FieldTextBox;
class FormDialogs;
class QComboBox;
class QKeyEvent;
class QWidget;

// The host record shown on the form and written back on submit: the field
// sets by their tags, the codes, AFIP and the submitted-by stamp; the code
// pickers, drop-down completion and the modified flag that tells whether
// the user changed anything since the record was shown or submitted.
class RecordBinding : public QObject
{
    Q_OBJECT

public:
    RecordBinding(QWidget *form, FormControls &ui);
    ~RecordBinding() override;

    // Connects the user's edits and the picker buttons; once, after load.
    void connectHandlers(FormDialogs &dialogs);

    TFData *record() const { return m_record.get(); }
    // Holds record (null: none) with a reference of its own, releasing the one held.
    void holdRecord(TFData *record);

    // Shows record, read whole first. A record that fails on any tag leaves
    // the form empty and holding no record, and the failure goes on.
    void UpdateUIFields(TFData *record);
    void FillTFData();
    void SubmitData();
    // Shows the submitter and date the record holds, as a submit wrote them.
    void showSubmittedStamp();
    void ClearAll();
    // The Clear All command: empties the form, marks it modified and keeps
    // what it held for undoClearAll. Answers the captions of what was
    // cleared, empty when the form held nothing.
    QStringList clearAllUndoably();
    // Gives back what the last Clear All emptied, modified flag included,
    // unless the user changed anything or another record was shown since.
    // Answers whether there was anything to give back.
    bool undoClearAll();

    // The form's content as a draft keeps it: each tagged field set's value
    // by its tag, the codes, their descriptions and AFIP by their controls'
    // names.
    QMap<QString, QString> draftValues() const;
    // Shows a draft's values; the program's fill, not an edit of the user's.
    void showDraftValues(const QMap<QString, QString> &values);
    // The captions of the fields whose values differ between two drafts.
    QStringList differingCaptions(const QMap<QString, QString> &a,
                                  const QMap<QString, QString> &b) const;

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    // Logs what modified the form and sets the flag.
    void markModified(const QString &handler);

signals:
    void submitPressed(TFData *record);
    // The user changed what the form holds.
    void edited();

private:
    struct RecordView;
    // What the user can see and change on the form.
    struct Content
    {
        QStringList values; // by set
        QString acrCode;
        QString angioCode;
        QString acrDescription;
        QString angioDescription;
        bool afip = false;
    };
    Content content() const;
    void showContent(const Content &held);
    Content contentOf(const QMap<QString, QString> &draft) const;
    // The field sets' tags, by set; "" for a set without one.
    QStringList tags() const;
    QStringList captionsOf(const Content &content) const;
    RecordView read(TFData *record) const;
    void showRecord(const RecordView &view);
    // The displayed name of the record's submitter; empty when it has none.
    static QString submitterName(TFData *record);
    // Empties every field and the stamp and lets go of the record.
    void forgetRecord();
    void showValue(int index, const QString &value);
    // Shows a code's description in its box, scrolled to the chosen code.
    static void showDescription(FieldTextBox *box, const QString &text);
    void textBoxKeyPressed(const FieldTextBox *box, const QKeyEvent *event);
    void textChangedByUser();
    void comboKeyPressed(const QKeyEvent *event);
    void comboEdited(QComboBox *combo, const QString &typed);
    void cmdACR_Click();
    void cmdAngio_Click();

    QWidget *m_form;
    FormControls &m_ui;
    FormDialogs *m_dialogs = nullptr;
    ComRef<TFData> m_record;
    bool m_modified = false;
    // What the last Clear All emptied, and the modified flag before it.
    std::optional<std::pair<Content, bool>> m_beforeClear;
    // True while the program itself fills or empties the text boxes, whose
    // changes then are no edit of the user's.
    bool m_fillingFields = false;
    // The drop-down's next change comes from Delete or Backspace and must not
    // complete the entry again.
    bool m_suppressCompletion = false;
};
