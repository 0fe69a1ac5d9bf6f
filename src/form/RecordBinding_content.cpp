// What the form holds apart from the record: emptying it, Clear All and its
// undo, the code pickers and the code description boxes.
#include "form/RecordBinding.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "form/AcrCode.h"
#include "form/FieldTextBox.h"
#include "form/FormControls.h"
#include "form/FormDialogs.h"
#include "form/FormServices.h"
#include "pickers/Kivo_ACRCodeFrm.h"
#include "pickers/Kivo_AngioCodeFrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScopedValueRollback>
#include <QTextBlock>

using FormServices::log;

namespace {

// The fixed controls' values in a draft, by the controls' names.
const QString AcrCodeName = QStringLiteral("lblACRCode");
const QString AcrDescriptionName = QStringLiteral("txtCodeDesc");
const QString AngioCodeName = QStringLiteral("lblAngioCode");
const QString AngioDescriptionName = QStringLiteral("txtCodeAngio");
const QString AfipName = QStringLiteral("chkAFIP");
const QString Ticked = QStringLiteral("Y");

// A control's caption as a sentence names it: no accelerator, no colon.
QString plainCaption(const QString &text)
{
    QString plain = text;
    plain.remove(QLatin1Char('&'));
    if (plain.endsWith(QLatin1Char(':')))
        plain.chop(1);
    return plain.trimmed();
}

} // namespace

void RecordBinding::ClearAll()
{
    const QScopedValueRollback filling(m_fillingFields, true);
    for (const FieldSet &set : m_ui.fieldSets) {
        set.text->clear();
        set.combo->setEditText(QString());
    }
    log(QStringLiteral("Reset all text data to null"));
    m_ui.lblACRCode->clear();
    m_ui.lblAngioCode->clear();
    showDescription(m_ui.txtCodeDesc, QString());
    showDescription(m_ui.txtCodeAngio, QString());
    m_ui.chkAFIP->setChecked(false);
}

RecordBinding::Content RecordBinding::content() const
{
    Content held;
    for (const FieldSet &set : m_ui.fieldSets)
        held.values << set.value();
    held.acrCode = m_ui.lblACRCode->text();
    held.angioCode = m_ui.lblAngioCode->text();
    held.acrDescription = m_ui.txtCodeDesc->toPlainText();
    held.angioDescription = m_ui.txtCodeAngio->toPlainText();
    held.afip = m_ui.chkAFIP->isChecked();
    return held;
}

QStringList RecordBinding::tags() const
{
    QStringList tags;
    for (const FieldSet &set : m_ui.fieldSets)
        tags << set.tag;
    return tags;
}

QStringList RecordBinding::captionsOf(const Content &held) const
{
    QStringList captions;
    for (int i = 0; i < m_ui.fieldSets.size(); ++i) {
        if (!held.values[i].isEmpty())
            captions << plainCaption(m_ui.fieldSets[i].label->text());
    }
    if (!held.acrCode.isEmpty() || !held.acrDescription.isEmpty())
        captions << plainCaption(m_ui.lblACR->text());
    if (!held.angioCode.isEmpty() || !held.angioDescription.isEmpty())
        captions << plainCaption(m_ui.lblAngio->text());
    if (held.afip)
        captions << plainCaption(m_ui.chkAFIP->text());
    return captions;
}

QStringList RecordBinding::clearAllUndoably()
{
    auto before = std::make_pair(content(), m_modified);
    ClearAll();
    markModified(QStringLiteral("ClearAll"));
    const QStringList cleared = captionsOf(before.first);
    if (!cleared.isEmpty())
        m_beforeClear = std::move(before);
    return cleared;
}

bool RecordBinding::undoClearAll()
{
    if (!m_beforeClear)
        return false;
    const auto [held, modified] = *std::exchange(m_beforeClear, std::nullopt);
    showContent(held);
    m_modified = modified;
    log(QStringLiteral("Clear All undone"));
    emit edited();
    return true;
}

void RecordBinding::showContent(const Content &held)
{
    const QScopedValueRollback filling(m_fillingFields, true);
    for (int i = 0; i < m_ui.fieldSets.size(); ++i)
        m_ui.fieldSets[i].setValue(held.values[i]);
    m_ui.lblACRCode->setText(held.acrCode);
    m_ui.lblAngioCode->setText(held.angioCode);
    showDescription(m_ui.txtCodeDesc, held.acrDescription);
    showDescription(m_ui.txtCodeAngio, held.angioDescription);
    m_ui.chkAFIP->setChecked(held.afip);
}

QMap<QString, QString> RecordBinding::draftValues() const
{
    const Content held = content();
    QMap<QString, QString> values;
    for (int i = 0; i < m_ui.fieldSets.size(); ++i) {
        // A set without a tag has no name to come back under.
        if (!m_ui.fieldSets[i].tag.isEmpty())
            values.insert(m_ui.fieldSets[i].tag, held.values[i]);
    }
    values.insert(AcrCodeName, held.acrCode);
    values.insert(AcrDescriptionName, held.acrDescription);
    values.insert(AngioCodeName, held.angioCode);
    values.insert(AngioDescriptionName, held.angioDescription);
    values.insert(AfipName, held.afip ? Ticked : QString());
    return values;
}

RecordBinding::Content RecordBinding::contentOf(const QMap<QString, QString> &draft) const
{
    // What the draft does not name stays as the form shows it.
    Content held = content();
    for (int i = 0; i < m_ui.fieldSets.size(); ++i) {
        const QString &tag = m_ui.fieldSets[i].tag;
        if (!tag.isEmpty() && draft.contains(tag))
            held.values[i] = draft.value(tag);
    }
    held.acrCode = draft.value(AcrCodeName, held.acrCode);
    held.acrDescription = draft.value(AcrDescriptionName, held.acrDescription);
    held.angioCode = draft.value(AngioCodeName, held.angioCode);
    held.angioDescription = draft.value(AngioDescriptionName, held.angioDescription);
    if (draft.contains(AfipName))
        held.afip = draft.value(AfipName) == Ticked;
    return held;
}

void RecordBinding::showDraftValues(const QMap<QString, QString> &values)
{
    m_beforeClear.reset();
    showContent(contentOf(values));
}

QStringList RecordBinding::differingCaptions(const QMap<QString, QString> &a,
                                             const QMap<QString, QString> &b) const
{
    const Content first = contentOf(a);
    const Content second = contentOf(b);
    QStringList captions;
    for (int i = 0; i < m_ui.fieldSets.size(); ++i) {
        if (first.values[i] != second.values[i])
            captions << plainCaption(m_ui.fieldSets[i].label->text());
    }
    if (first.acrCode != second.acrCode || first.acrDescription != second.acrDescription)
        captions << plainCaption(m_ui.lblACR->text());
    if (first.angioCode != second.angioCode || first.angioDescription != second.angioDescription)
        captions << plainCaption(m_ui.lblAngio->text());
    if (first.afip != second.afip)
        captions << plainCaption(m_ui.chkAFIP->text());
    return captions;
}

void RecordBinding::showDescription(FieldTextBox *box, const QString &text)
{
    box->setPlainText(text);
    // The box is a few lines tall: the whole description is its tooltip.
    QString whole = text;
    box->setToolTip(whole.replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed());
    // A description runs from the widest level down to the chosen code, so
    // the code's own line is the last one with text: bring it into view.
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    while (cursor.block().text().trimmed().isEmpty() && cursor.block().previous().isValid())
        cursor.movePosition(QTextCursor::PreviousBlock);
    box->setTextCursor(cursor);
    box->ensureCursorVisible();
}

void RecordBinding::cmdACR_Click()
{
    QString code = m_ui.lblACRCode->text();
    bool cancelled = false;
    Kivo_ACRCodeFrm &picker = m_dialogs->acrPicker();
    picker.Init(m_form, code, cancelled);
    if (cancelled)
        return;
    m_ui.lblACRCode->setText(code);
    markModified(QStringLiteral("cmdACR_Click"));
    showDescription(
        m_ui.txtCodeDesc,
        AcrCode::description(
            code, QV_Resource::GetResString(ResourceIds::ANATOMY_HEADING), picker.AnatomyDesc(),
            QV_Resource::GetResString(ResourceIds::PATHOLOGY_HEADING), picker.PathologicDesc()));
}

void RecordBinding::cmdAngio_Click()
{
    QString code = m_ui.lblAngioCode->text();
    bool cancelled = false;
    Kivo_AngioCodeFrm &picker = m_dialogs->angioPicker();
    picker.Init(code, cancelled);
    if (cancelled)
        return;
    m_ui.lblAngioCode->setText(code);
    m_modified = true;
    m_beforeClear.reset();
    showDescription(m_ui.txtCodeAngio, code.isEmpty() ? QString() : picker.AngioDesc());
    emit edited();
}
