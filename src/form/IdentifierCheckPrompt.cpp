#include "form/IdentifierCheckPrompt.h"

#include "common/QV_MsgBox.h"
#include "common/QV_ResourceSettings.h"
#include "common/ResourceIds.h"
#include "form/FieldTextBox.h"
#include "form/FormServices.h"
#include "form/IdentifierCheck.h"
#include "form/RecordAccess.h"
#include "platform/config/ConfigDatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

namespace IdentifierCheckPrompt {

namespace {

// The field as the user knows it: its caption without the colon.
QString fieldName(const FieldSet &set)
{
    QString caption = set.label ? set.label->text().remove(QLatin1Char('&')).trimmed() : QString();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.isEmpty() ? set.tag : caption;
}

void select(const FieldSet &set, const IdentifierCheck::Finding &finding)
{
    QWidget *input = set.input();
    for (QWidget *parent = input->parentWidget(); parent; parent = parent->parentWidget()) {
        if (auto *scroller = qobject_cast<QScrollArea *>(parent)) {
            scroller->ensureWidgetVisible(input);
            break;
        }
    }
    input->setFocus(Qt::OtherFocusReason);
    if (set.kind == FieldKind::Text) {
        QTextCursor cursor = set.text->textCursor();
        cursor.setPosition(int(finding.start));
        cursor.setPosition(int(finding.start + finding.length), QTextCursor::KeepAnchor);
        set.text->setTextCursor(cursor);
    } else if (QLineEdit *line = set.combo->lineEdit()) {
        line->setSelection(int(finding.start), int(finding.length));
    }
}

} // namespace

bool allowsSubmit(const QVector<FieldSet> &fieldSets, TFData *record)
{
    const IdentifierCheck check = IdentifierCheck::load(ConfigDatabase());
    if (!check.enabled() || !record)
        return true;
    for (const QString &problem : check.problems()) {
        FormServices::log(QStringLiteral("Identifier check: a pattern is not valid: ") + problem);
        QV_MsgBox::ShowErrorMsg(
            QV_Resource::GetResString(ResourceIds::IDENTIFIER_PATTERN_INVALID).arg(problem));
    }

    QList<IdentifierCheck::Field> fields;
    QList<int> setOfField;
    for (int index = 0; index < fieldSets.size(); ++index) {
        const FieldSet &set = fieldSets[index];
        if (set.tag.isEmpty() || !set.input()->isVisibleTo(set.input()->window()))
            continue;
        fields.append({fieldName(set), set.value()});
        setOfField.append(index);
    }
    const QList<IdentifierCheck::Finding> findings =
        check.scan(fields, RecordAccess::value(record, check.patientNameTag()),
                   RecordAccess::value(record, check.patientIdTag()));
    if (findings.isEmpty())
        return true;

    QString list;
    for (const IdentifierCheck::Finding &finding : findings)
        list += QV_Resource::GetResString(ResourceIds::IDENTIFIER_FINDING)
                    .arg(fields[finding.field].name, finding.text) +
                QLatin1Char('\n');
    FormServices::log(QStringLiteral("Identifier check: %1 finding(s)").arg(findings.size()));
    const QString question = QV_Resource::GetResString(ResourceIds::IDENTIFIER_QUESTION).arg(list);
    if (QV_MsgBox::AskQuestion(question) == QV_MsgBox::AnswerYes)
        return true;
    select(fieldSets[setOfField[findings.first().field]], findings.first());
    return false;
}

} // namespace IdentifierCheckPrompt
