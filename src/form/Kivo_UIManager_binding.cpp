// The record shown in the form and written back on submit, the code
// pickers, drop-down completion and the modified flag.
#include "form/Kivo_UIManager.h"

#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/QV_VBLogger.h"
#include "common/ResourceIds.h"
#include "config/Kivo_CFGManager.h"
#include "form/AcrCode.h"
#include "form/ComboCompletion.h"
#include "form/ControlTag.h"
#include "form/FieldTextBox.h"
#include "form/KeyPressWatcher.h"
#include "form/RecordAccess.h"
#include "form/UserAction.h"
#include "pickers/Kivo_ACRCodeFrm.h"
#include "pickers/Kivo_AngioCodeFrm.h"
#include "platform/Err.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <utility>

namespace {

const QString TextKind = QStringLiteral("TEXT");
const QString AnatomyTag = QStringLiteral("KESTO_TF_ANATOMY");
const QString PathologyTag = QStringLiteral("KESTO_TF_PATHOLOGY");
const QString AcrDescriptionTag = QStringLiteral("KESTO_TF_ACR_CODE_DESCRIPTION");
const QString AngioTag = QStringLiteral("KESTO_TF_ANGIOGRAPHY");
const QString AngioDescriptionTag = QStringLiteral("KESTO_TF_ANGIO_DESCRIPTION");
const QString AfipTag = QStringLiteral("KESTO_TF_AFIP");
const QString SubmittedByTag = QStringLiteral("KESTO_TF_SUBMITTED_BY");
const QString DateSubmittedTag = QStringLiteral("KESTO_TF_DATE_SUBMITTED");
const QString TeachingIndicationTag = QStringLiteral("KESTO_TF_TEACHING_INDICATION");
const QString Yes = QStringLiteral("Y");

void log(const QString &message)
{
    QV_VBLogger::WriteLog(message, QStringLiteral("Kivo_UIManager"));
}

Kivo_CFGManager &configuration()
{
    Kivo_CFGManager *manager = Kivo_CFGManager::instance();
    if (!manager)
        throw Err(Err::InvalidArgument, QStringLiteral("No configuration manager is published"));
    return *manager;
}

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

void Kivo_UIManager::connectDataHandlers()
{
    connect(chkAFIP, &QCheckBox::clicked, this,
            userAction("chkAFIP_Click", [this](bool) { markModified("chkAFIP_Click"); }));
    connect(cmdACR, &QPushButton::clicked, this,
            userAction("cmdACR_Click", [this](bool) { cmdACR_Click(); }));
    connect(cmdAngio, &QPushButton::clicked, this,
            userAction("cmdAngio_Click", [this](bool) { cmdAngio_Click(); }));

    for (FieldTextBox *box : m_aText) {
        KeyPressWatcher::watch(box,
                               userAction("m_aText_KeyDown", [this, box](const QKeyEvent *event) {
                                   textBoxKeyPressed(box, event);
                               }));
    }
    // Whatever else changes a box's text (Delete, cut, drag and drop, undo)
    // is the user's edit too, unless the program is filling the form.
    QList<FieldTextBox *> boxes(m_aText.begin(), m_aText.end());
    boxes << txtCodeDesc << txtCodeAngio;
    for (FieldTextBox *box : boxes) {
        connect(box, &QPlainTextEdit::textChanged, this,
                userAction("m_aText_Change", [this] { textChangedByUser(); }));
    }

    for (QComboBox *combo : m_aCombo) {
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
                    if (!m_modified)
                        markModified("m_aCombo_Click");
                }));
    }
}

void Kivo_UIManager::holdRecord(TFData *record)
{
    if (record == m_record)
        return;
    if (record)
        record->AddRef();
    if (TFData *released = std::exchange(m_record, record))
        released->Release();
}

void Kivo_UIManager::markModified(const QString &handler)
{
    log(QStringLiteral("Form was modified (%1)").arg(handler));
    m_modified = true;
}

void Kivo_UIManager::UpdateUIFields(TFData *record)
{
    if (!record) {
        ClearAll();
        lblSubmittedBy->clear();
        lblDate->clear();
        holdRecord(nullptr);
        return;
    }
    if (record != m_record) {
        // Another entry: a code row the new record leaves empty must not keep
        // the previous entry's code, which a submit would write into it.
        lblACRCode->clear();
        lblAngioCode->clear();
    }
    holdRecord(record);
    const QScopedValueRollback filling(m_fillingFields, true);

    for (int i = 0; i < m_aLabels.size(); ++i) {
        const QString tag = ControlTag::tag(m_aLabels[i]);
        if (tag.isEmpty()) {
            log(QStringLiteral("Tag asociated with the text box number %1is null").arg(i));
            continue;
        }
        showValue(i, tag, RecordAccess::value(record, tag));
    }

    // setChecked is not a click: the modified flag stays as it is.
    log(QStringLiteral("Setting AFIP"));
    chkAFIP->setChecked(RecordAccess::value(record, AfipTag) == Yes);

    log(QStringLiteral("Setting ACR Code DESC"));
    txtCodeDesc->setPlainText(RecordAccess::value(record, AcrDescriptionTag));
    txtCodeAngio->setPlainText(RecordAccess::value(record, AngioDescriptionTag));

    const QString pathology = RecordAccess::value(record, PathologyTag);
    const QString anatomy = RecordAccess::value(record, AnatomyTag);
    if (const auto code = AcrCode::joined(anatomy, pathology)) {
        log(pathology.isEmpty() ? QStringLiteral("Setting Anat code")
                                : QStringLiteral("Setting Anat&Path code"));
        lblACRCode->setText(*code);
    }

    const QString angio = RecordAccess::value(record, AngioTag);
    if (!angio.isEmpty()) {
        log(QStringLiteral("Setting Angio code to ") + angio);
        lblAngioCode->setText(angio);
    }

    const QString submitter = RecordAccess::value(record, SubmittedByTag);
    if (!submitter.isEmpty()) {
        lblSubmittedBy->setText(configuration().GetUserDisplayedName(submitter));
        log(QStringLiteral("Set data for KESTO_TF_SUBMITTED_BY to ") + lblSubmittedBy->text());
    } else {
        log(QStringLiteral("Set data for KESTO_TF_SUBMITTED_BY to null"));
    }

    log(QStringLiteral("Formatting the date"));
    lblDate->setText(RecordAccess::value(record, DateSubmittedTag));
    log(QStringLiteral("Set data for KESTO_TF_DATE_SUBMITTED to  ") + lblDate->text());
}

void Kivo_UIManager::showValue(int index, const QString &tag, const QString &value)
{
    const bool text = m_kinds.value(index) == TextKind;
    const QString what = text ? QStringLiteral("text") : QStringLiteral("combo");
    log(QStringLiteral("Set data for %1 control number (%2) %3")
            .arg(what, tag, value.isEmpty() ? QStringLiteral("to empty string") : QString()));
    if (text)
        m_aText[index]->setPlainText(value);
    else
        m_aCombo[index]->setEditText(value);
}

void Kivo_UIManager::FillTFData()
{
    if (!m_record)
        throw Err(Err::InvalidArgument, QStringLiteral("There is no record to fill"));
    log(QStringLiteral("SubmitData:: filling the data object"));

    for (int i = 0; i < m_aText.size(); ++i) {
        // A set without a tag has nowhere to go in the record.
        if (ControlTag::tag(m_aText[i]).isEmpty())
            continue;
        if (m_kinds.value(i) == TextKind) {
            RecordAccess::setValue(m_record, ControlTag::tag(m_aText[i]).toUpper(),
                                   m_aText[i]->toPlainText());
        } else {
            RecordAccess::setValue(m_record, ControlTag::tag(m_aCombo[i]).toUpper(),
                                   m_aCombo[i]->currentText());
        }
    }

    const AcrCode::Parts code = AcrCode::split(lblACRCode->text());
    log(QStringLiteral("Formatting the date"));
    const QString date = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    log(QStringLiteral("start saving rest of the fields"));

    log(QStringLiteral("Anatomy= ") + code.anatomy);
    RecordAccess::setValue(m_record, AnatomyTag, code.anatomy);
    log(QStringLiteral("Pathology= ") + code.pathology);
    RecordAccess::setValue(m_record, PathologyTag, code.pathology);
    RecordAccess::setValue(m_record, AngioTag, lblAngioCode->text());
    RecordAccess::setValue(m_record, AfipTag, chkAFIP->isChecked() ? Yes : QStringLiteral("N"));

    const QString login = configuration().CurrUser();
    log(QStringLiteral("Set KESTO_TF_SUBMITTED_BY to ") + login);
    RecordAccess::setValue(m_record, SubmittedByTag, login.toUpper());
    log(QStringLiteral("Set KESTO_TF_DATE_SUBMITTED to ") + date);
    RecordAccess::setValue(m_record, DateSubmittedTag, date);

    RecordAccess::setValue(m_record, AcrDescriptionTag, txtCodeDesc->toPlainText());
    RecordAccess::setValue(m_record, AngioDescriptionTag, txtCodeAngio->toPlainText());
    log(QStringLiteral("Set KESTO_TF_TEACHING_INDICATION to ") + Yes);
    RecordAccess::setValue(m_record, TeachingIndicationTag, Yes);
    log(QStringLiteral("SubmitData::finish filling the data object"));
}

void Kivo_UIManager::SubmitData()
{
    if (!m_record) {
        log(QStringLiteral("SubmitData:: no data to be saved"));
        emit SubmitPressed(nullptr);
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
    emit SubmitPressed(m_record);
    log(QStringLiteral("Reset form modification flag (after submit)"));
}

void Kivo_UIManager::SubmitCompleted(qint32 status)
{
    qint32 textId = ResourceIds::SUBMIT_FAILED;
    if (status == 0) {
        ResetScroll();
        textId = ResourceIds::SUBMIT_SUCCEEDED;
    } else if (status == 1) {
        textId = ResourceIds::SUBMIT_REJECTED;
    }
    showStatus(QV_Resource::GetResString(textId));
}

void Kivo_UIManager::ClearAll()
{
    const QScopedValueRollback filling(m_fillingFields, true);
    for (FieldTextBox *box : m_aText)
        box->clear();
    for (QComboBox *combo : m_aCombo)
        combo->setEditText(QString());
    log(QStringLiteral("Reset all text data to null"));
    lblACRCode->clear();
    lblAngioCode->clear();
    txtCodeDesc->clear();
    txtCodeAngio->clear();
    chkAFIP->setChecked(false);
}

void Kivo_UIManager::RevertToOriginal()
{
    UpdateUIFields(m_record);
}

void Kivo_UIManager::textBoxKeyPressed(const FieldTextBox *box, const QKeyEvent *event)
{
    if (box->isReadOnly())
        return;
    const int ascii = keyAscii(event);
    if (ascii == 0)
        return;
    log(QStringLiteral("Form was modified (m_aText_KeyDown) - KeyAscii=%1").arg(ascii));
    m_modified = true;
}

void Kivo_UIManager::textChangedByUser()
{
    if (!m_fillingFields && !m_modified)
        markModified(QStringLiteral("m_aText_Change"));
}

void Kivo_UIManager::comboKeyPressed(const QKeyEvent *event)
{
    m_suppressCompletion = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
}

void Kivo_UIManager::comboEdited(QComboBox *combo, const QString &typed)
{
    if (!m_modified)
        markModified(QStringLiteral("m_aCombo_Change"));
    // Deleting must not bring back what was just deleted.
    if (std::exchange(m_suppressCompletion, false))
        return;
    if (const auto completion = ComboCompletion::complete(typed, entries(combo))) {
        combo->lineEdit()->setText(completion->text);
        combo->lineEdit()->setSelection(completion->selectionStart, completion->selectionLength);
    }
}

void Kivo_UIManager::cmdACR_Click()
{
    QString code = lblACRCode->text();
    bool cancelled = false;
    m_acrPicker->Init(this, code, cancelled);
    if (cancelled)
        return;
    lblACRCode->setText(code);
    markModified(QStringLiteral("cmdACR_Click"));
    txtCodeDesc->setPlainText(AcrCode::description(
        code, QV_Resource::GetResString(ResourceIds::ANATOMY_HEADING), m_acrPicker->AnatomyDesc(),
        QV_Resource::GetResString(ResourceIds::PATHOLOGY_HEADING), m_acrPicker->PathologicDesc()));
}

void Kivo_UIManager::cmdAngio_Click()
{
    QString code = lblAngioCode->text();
    bool cancelled = false;
    m_angioPicker->Init(code, cancelled);
    if (cancelled)
        return;
    lblAngioCode->setText(code);
    m_modified = true;
    txtCodeAngio->setPlainText(code.isEmpty() ? QString() : m_angioPicker->AngioDesc());
}
