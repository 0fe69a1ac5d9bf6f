// The record shown in the form and written back on submit, the code
// pickers, drop-down completion and the modified flag.
#include "form/RecordBinding.h"

#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "config/Kivo_CFGManager.h"
#include "form/ComboCompletion.h"
#include "form/FieldTextBox.h"
#include "form/FormControls.h"
#include "form/FormServices.h"
#include "form/KeyPressWatcher.h"
#include "form/RecordAccess.h"
#include "form/RecordValues.h"
#include "form/UserAction.h"
#include "platform/Err.h"

#include <kivo/TFData.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <optional>
#include <utility>

namespace {

const QString AcrDescriptionTag = QStringLiteral("KESTO_TF_ACR_CODE_DESCRIPTION");
const QString AngioDescriptionTag = QStringLiteral("KESTO_TF_ANGIO_DESCRIPTION");
const QString AfipTag = QStringLiteral("KESTO_TF_AFIP");
const QString SubmittedByTag = QStringLiteral("KESTO_TF_SUBMITTED_BY");
const QString DateSubmittedTag = QStringLiteral("KESTO_TF_DATE_SUBMITTED");
const QString TeachingIndicationTag = QStringLiteral("KESTO_TF_TEACHING_INDICATION");
const QString Yes = QStringLiteral("Y");

using FormServices::configuration;
using FormServices::log;

// The character code a key puts into a text box: printable characters,
// Backspace, Enter and Ctrl+letter as their control codes; 0 for keys that
// type nothing (Delete, Tab, arrows, function keys).
int keyAscii(const QKeyEvent *event)
{
    const int key = event->key();
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    if (key == Qt::Key_Backspace)
        return 8;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() ? text.at(0).unicode() : 0;
}

QStringList entries(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// A handler for a Qt signal or event that runs its work as a user action.
template <typename Work> auto userAction(const char *handler, Work work)
{
    return [name = QLatin1String(handler), work](auto &&...args) {
        runUserAction(name, [&] { work(args...); });
    };
}

} // namespace

RecordBinding::RecordBinding(QWidget *form, FormControls &ui)
    : QObject(form), m_form(form), m_ui(ui)
{
}

RecordBinding::~RecordBinding() = default;

void RecordBinding::connectHandlers(FormDialogs &dialogs)
{
    m_dialogs = &dialogs;
    connect(m_ui.chkAFIP, &QCheckBox::clicked, this,
            userAction("chkAFIP_Click", [this](bool) { markModified("chkAFIP_Click"); }));
    connect(m_ui.cmdACR, &QPushButton::clicked, this,
            userAction("cmdACR_Click", [this](bool) { cmdACR_Click(); }));
    connect(m_ui.cmdAngio, &QPushButton::clicked, this,
            userAction("cmdAngio_Click", [this](bool) { cmdAngio_Click(); }));

    QList<FieldTextBox *> boxes;
    for (const FieldSet &set : m_ui.fieldSets) {
        FieldTextBox *box = set.text;
        boxes << box;
        KeyPressWatcher::watch(box,
                               userAction("m_aText_KeyDown", [this, box](const QKeyEvent *event) {
                                   textBoxKeyPressed(box, event);
                               }));
    }
    // Whatever else changes a box's text (Delete, cut, drag and drop, undo)
    // is the user's edit too, unless the program is filling the form.
    boxes << m_ui.txtCodeDesc << m_ui.txtCodeAngio;
    for (FieldTextBox *box : boxes) {
        connect(box, &QPlainTextEdit::textChanged, this,
                userAction("m_aText_Change", [this] { textChangedByUser(); }));
    }

    for (const FieldSet &set : m_ui.fieldSets) {
        QComboBox *combo = set.combo;
        combo->setEditable(true);
        // Completion is ours (below); Enter must not add the typed text to
        // the table's list.
        combo->setCompleter(nullptr);
        combo->setInsertPolicy(QComboBox::NoInsert);
        KeyPressWatcher::watch(
            combo, userAction("m_aCombo_KeyDown",
                              [this](const QKeyEvent *event) { comboKeyPressed(event); }));
        // textEdited and activated come from the user only, never from the
        // program setting the text.
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                userAction("m_aCombo_Change",
                           [this, combo](const QString &typed) { comboEdited(combo, typed); }));
        connect(combo, &QComboBox::activated, this, userAction("m_aCombo_Click", [this](int) {
                    m_beforeClear.reset();
                    if (!m_modified)
                        markModified("m_aCombo_Click");
                    else
                        emit edited();
                }));
    }
}

void RecordBinding::holdRecord(TFData *record)
{
    if (record != m_record.get())
        m_record = ComRef<TFData>(record);
}

void RecordBinding::markModified(const QString &handler)
{
    log(QStringLiteral("Form was modified (%1)").arg(handler));
    m_modified = true;
    m_beforeClear.reset();
    emit edited();
}

// Everything the form shows of a record, read whole before any of it is
// shown.
struct RecordBinding::RecordView
{
    QStringList fields; // by set; null for a set without a tag
    bool afip = false;
    QString acrDescription;
    QString angioDescription;
    RecordValues::Codes codes;
    QString submitter; // the displayed name
    QString date;
};

RecordBinding::RecordView RecordBinding::read(TFData *record) const
{
    RecordView view;
    const QStringList tags = this->tags();
    for (int i = 0; i < tags.size(); ++i) {
        if (tags[i].isEmpty())
            log(QStringLiteral("Tag asociated with the text box number %1is null").arg(i));
    }
    view.fields = RecordValues::readFields(record, tags);
    view.afip = RecordAccess::value(record, AfipTag) == Yes;
    view.acrDescription = RecordAccess::value(record, AcrDescriptionTag);
    view.angioDescription = RecordAccess::value(record, AngioDescriptionTag);
    view.codes = RecordValues::readCodes(record);
    view.submitter = submitterName(record);
    view.date = RecordAccess::value(record, DateSubmittedTag);
    return view;
}

QString RecordBinding::submitterName(TFData *record)
{
    const QString login = RecordAccess::value(record, SubmittedByTag);
    return login.isEmpty() ? QString() : configuration().GetUserDisplayedName(login);
}

void RecordBinding::showSubmittedStamp()
{
    if (!m_record)
        return;
    m_ui.lblSubmittedBy->setText(submitterName(m_record.get()));
    m_ui.lblDate->setText(RecordAccess::value(m_record.get(), DateSubmittedTag));
}

void RecordBinding::UpdateUIFields(TFData *record)
{
    if (!record) {
        forgetRecord();
        return;
    }
    RecordView view;
    try {
        view = read(record);
    } catch (...) {
        // Half of this record beside the rest of the previous one would be
        // written into this record on the next submit: the form holds none.
        forgetRecord();
        throw;
    }
    if (record != m_record.get()) {
        // Another entry: a code row the new record leaves empty must not keep
        // the previous entry's code, which a submit would write into it.
        m_ui.lblACRCode->clear();
        m_ui.lblAngioCode->clear();
    }
    holdRecord(record);
    showRecord(view);
}

void RecordBinding::forgetRecord()
{
    m_beforeClear.reset();
    ClearAll();
    m_ui.lblSubmittedBy->clear();
    m_ui.lblDate->clear();
    holdRecord(nullptr);
}

void RecordBinding::showRecord(const RecordView &view)
{
    // What another record's Clear All emptied must not come back into this one.
    m_beforeClear.reset();
    const QScopedValueRollback filling(m_fillingFields, true);
    for (int i = 0; i < m_ui.fieldSets.size(); ++i) {
        if (!m_ui.fieldSets[i].tag.isEmpty())
            showValue(i, view.fields[i]);
    }

    // setChecked is not a click: the modified flag stays as it is.
    log(QStringLiteral("Setting AFIP"));
    m_ui.chkAFIP->setChecked(view.afip);

    log(QStringLiteral("Setting ACR Code DESC"));
    showDescription(m_ui.txtCodeDesc, view.acrDescription);
    showDescription(m_ui.txtCodeAngio, view.angioDescription);

    if (view.codes.acr) {
        log(view.codes.acrHasPathology ? QStringLiteral("Setting Anat&Path code")
                                       : QStringLiteral("Setting Anat code"));
        m_ui.lblACRCode->setText(*view.codes.acr);
    }

    if (!view.codes.angio.isEmpty()) {
        log(QStringLiteral("Setting Angio code to ") + view.codes.angio);
        m_ui.lblAngioCode->setText(view.codes.angio);
    }

    if (!view.submitter.isEmpty()) {
        m_ui.lblSubmittedBy->setText(view.submitter);
        log(QStringLiteral("Set data for KESTO_TF_SUBMITTED_BY to ") + view.submitter);
    } else {
        log(QStringLiteral("Set data for KESTO_TF_SUBMITTED_BY to null"));
    }

    log(QStringLiteral("Formatting the date"));
    m_ui.lblDate->setText(view.date);
    log(QStringLiteral("Set data for KESTO_TF_DATE_SUBMITTED to  ") + view.date);
}

void RecordBinding::showValue(int index, const QString &value)
{
    FieldSet &set = m_ui.fieldSets[index];
    const QString what =
        set.kind == FieldKind::Text ? QStringLiteral("text") : QStringLiteral("combo");
    log(QStringLiteral("Set data for %1 control number (%2) %3")
            .arg(what, set.tag, value.isEmpty() ? QStringLiteral("to empty string") : QString()));
    set.setValue(value);
}

void RecordBinding::FillTFData()
{
    if (!m_record)
        throw Err(Err::WrongState, QStringLiteral("There is no record to fill"));
    log(QStringLiteral("SubmitData:: filling the data object"));

    RecordValues::writeFields(m_record.get(), tags(), content().values);

    log(QStringLiteral("Formatting the date"));
    const QString date = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    log(QStringLiteral("start saving rest of the fields"));
    RecordValues::writeCodes(m_record.get(), m_ui.lblACRCode->text(), m_ui.lblAngioCode->text());
    RecordAccess::setValue(m_record.get(), AfipTag,
                           m_ui.chkAFIP->isChecked() ? Yes : QStringLiteral("N"));

    const QString login = configuration().CurrUser();
    log(QStringLiteral("Set KESTO_TF_SUBMITTED_BY to ") + login);
    RecordAccess::setValue(m_record.get(), SubmittedByTag, login.toUpper());
    log(QStringLiteral("Set KESTO_TF_DATE_SUBMITTED to ") + date);
    RecordAccess::setValue(m_record.get(), DateSubmittedTag, date);

    RecordAccess::setValue(m_record.get(), AcrDescriptionTag, m_ui.txtCodeDesc->toPlainText());
    RecordAccess::setValue(m_record.get(), AngioDescriptionTag, m_ui.txtCodeAngio->toPlainText());
    log(QStringLiteral("Set KESTO_TF_TEACHING_INDICATION to ") + Yes);
    RecordAccess::setValue(m_record.get(), TeachingIndicationTag, Yes);
    log(QStringLiteral("SubmitData::finish filling the data object"));
}

void RecordBinding::SubmitData()
{
    if (!m_record) {
        log(QStringLiteral("SubmitData:: no data to be saved"));
        emit submitPressed(nullptr);
        log(QStringLiteral("Reset form modification flag (After submit)"));
        m_modified = false;
        return;
    }
    const QString question = QV_Resource::GetResString(ResourceIds::SUBMIT_QUESTION);
    if (QV_MsgBox::AskQuestionCode(question, ResourceIds::SUBMIT_QUESTION) == QV_MsgBox::AnswerNo) {
        log(QStringLiteral("SubmitData:: the user cancel the submit operation"));
        return;
    }
    FillTFData();
    m_modified = false;
    log(QStringLiteral("SubmitData:: calling to submit in the listener "));
    emit submitPressed(m_record.get());
    log(QStringLiteral("Reset form modification flag (after submit)"));
}

void RecordBinding::textBoxKeyPressed(const FieldTextBox *box, const QKeyEvent *event)
{
    // Clear All emptied the box's own undo history along with its text:
    // until the next edit, Ctrl+Z here undoes the Clear All.
    if (event->matches(QKeySequence::Undo) && undoClearAll())
        return;
    if (box->isReadOnly())
        return;
    const int ascii = keyAscii(event);
    if (ascii == 0)
        return;
    log(QStringLiteral("Form was modified (m_aText_KeyDown) - KeyAscii=%1").arg(ascii));
    m_modified = true;
}

void RecordBinding::textChangedByUser()
{
    if (m_fillingFields)
        return;
    m_beforeClear.reset();
    if (!m_modified)
        markModified(QStringLiteral("m_aText_Change"));
    else
        emit edited();
}

void RecordBinding::comboKeyPressed(const QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo) && undoClearAll())
        return;
    m_suppressCompletion = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
}

void RecordBinding::comboEdited(QComboBox *combo, const QString &typed)
{
    m_beforeClear.reset();
    if (!m_modified)
        markModified(QStringLiteral("m_aCombo_Change"));
    else
        emit edited();
    // Deleting must not bring back what was just deleted.
    if (std::exchange(m_suppressCompletion, false))
        return;
    if (const auto completion = ComboCompletion::complete(typed, entries(combo))) {
        combo->lineEdit()->setText(completion->text);
        combo->lineEdit()->setSelection(completion->selectionStart, completion->selectionLength);
    }
}
