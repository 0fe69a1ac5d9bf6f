// What the form holds apart from the record: emptying it, Clear All and its
// undo, the code pickers and the code description boxes.
#include "form/RecordBinding.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "form/AcrCode.h"
#include "form/FieldTextBox.h"
#include "form/FormControls.h"
#include "form/FormServices.h"
#include "pickers/Kivo_ACRCodeFrm.h"
#include "pickers/Kivo_AngioCodeFrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScopedValueRollback>
#include <QTextBlock>

using FormServices::log;

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
    const auto caption = [](const QString &text) {
        QString plain = text;
        plain.remove(QLatin1Char('&'));
        if (plain.endsWith(QLatin1Char(':')))
            plain.chop(1);
        return plain.trimmed();
    };
    QStringList captions;
    for (int i = 0; i < m_ui.fieldSets.size(); ++i) {
        if (!held.values[i].isEmpty())
            captions << caption(m_ui.fieldSets[i].label->text());
    }
    if (!held.acrCode.isEmpty() || !held.acrDescription.isEmpty())
        captions << caption(m_ui.lblACR->text());
    if (!held.angioCode.isEmpty() || !held.angioDescription.isEmpty())
        captions << caption(m_ui.lblAngio->text());
    if (held.afip)
        captions << caption(m_ui.chkAFIP->text());
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
    const QScopedValueRollback filling(m_fillingFields, true);
    for (int i = 0; i < m_ui.fieldSets.size(); ++i)
        m_ui.fieldSets[i].setValue(held.values[i]);
    m_ui.lblACRCode->setText(held.acrCode);
    m_ui.lblAngioCode->setText(held.angioCode);
    showDescription(m_ui.txtCodeDesc, held.acrDescription);
    showDescription(m_ui.txtCodeAngio, held.angioDescription);
    m_ui.chkAFIP->setChecked(held.afip);
    m_modified = modified;
    log(QStringLiteral("Clear All undone"));
    return true;
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
    m_acrPicker->Init(m_form, code, cancelled);
    if (cancelled)
        return;
    m_ui.lblACRCode->setText(code);
    markModified(QStringLiteral("cmdACR_Click"));
    showDescription(m_ui.txtCodeDesc,
                    AcrCode::description(code,
                                         QV_Resource::GetResString(ResourceIds::ANATOMY_HEADING),
                                         m_acrPicker->AnatomyDesc(),
                                         QV_Resource::GetResString(ResourceIds::PATHOLOGY_HEADING),
                                         m_acrPicker->PathologicDesc()));
}

void RecordBinding::cmdAngio_Click()
{
    QString code = m_ui.lblAngioCode->text();
    bool cancelled = false;
    m_angioPicker->Init(code, cancelled);
    if (cancelled)
        return;
    m_ui.lblAngioCode->setText(code);
    m_modified = true;
    m_beforeClear.reset();
    showDescription(m_ui.txtCodeAngio, code.isEmpty() ? QString() : m_angioPicker->AngioDesc());
}
