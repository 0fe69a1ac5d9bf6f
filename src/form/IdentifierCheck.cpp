#include "form/IdentifierCheck.h"

#include "platform/config/ConfigTree.h"

#include <algorithm>

namespace {

const QString Months =
    QStringLiteral("(?:jan|feb|mar|apr|may|jun|jul|aug|sep|sept|oct|nov|dec)[a-z]*\\.?");

// Built in, so that turning the check on is enough; each may be replaced or
// dropped by a stored pattern of the same name.
QList<std::pair<QString, QString>> builtInPatterns()
{
    return {
        // 11/03/2024, 11.3.24, 2024-03-11, 11 March 2024, March 11, 2024
        {QStringLiteral("date"),
         QStringLiteral("\\b(?:\\d{1,2}[./-]\\d{1,2}[./-]\\d{2,4}|\\d{4}[./-]\\d{1,2}[./-]\\d{1,2}"
                        "|\\d{1,2}\\.? ") +
             Months + QStringLiteral(",? \\d{2,4}|") + Months +
             QStringLiteral(" \\d{1,2}(?:st|nd|rd|th)?,? \\d{4})\\b")},
        // Seven digits or more, single blanks or dashes between them allowed:
        // record numbers, phone numbers; not a part of a decimal number.
        {QStringLiteral("digits"),
         QStringLiteral("(?<!\\d)(?<!\\d\\.)\\+?\\d(?:[ -]?\\d){6,}(?!\\d|\\.\\d)")},
        {QStringLiteral("email"), QStringLiteral("[\\w.+-]+@[\\w-]+(?:\\.[\\w-]+)+")},
    };
}

// "DOE^JANE" -> its parts as whole words, of two letters or more.
QStringList nameParts(const QString &name)
{
    static const QRegularExpression separators(QStringLiteral("[\\^,\\s]+"));
    QStringList parts = name.split(separators, Qt::SkipEmptyParts);
    parts.erase(std::remove_if(parts.begin(), parts.end(),
                               [](const QString &part) { return part.size() < 2; }),
                parts.end());
    return parts;
}

QRegularExpression wholeWords(const QStringList &alternatives)
{
    QStringList escaped;
    for (const QString &alternative : alternatives)
        escaped << QRegularExpression::escape(alternative);
    return QRegularExpression(
        QStringLiteral("(?<!\\w)(?:") + escaped.join(QLatin1Char('|')) + QStringLiteral(")(?!\\w)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
}

} // namespace

IdentifierCheck::IdentifierCheck()
    : m_patientNameTag(QStringLiteral("KESTO_TF_PATIENT_NAME")),
      m_patientIdTag(QStringLiteral("KESTO_TF_PATIENT_ID"))
{
    for (const auto &[name, expression] : builtInPatterns())
        setPattern(name, expression);
}

void IdentifierCheck::setPattern(const QString &name, const QString &expression)
{
    m_patterns.erase(std::remove_if(m_patterns.begin(), m_patterns.end(),
                                    [&](const Pattern &pattern) {
                                        return pattern.name.compare(name, Qt::CaseInsensitive) == 0;
                                    }),
                     m_patterns.end());
    if (expression.isEmpty())
        return;
    const QRegularExpression compiled(expression,
                                      QRegularExpression::CaseInsensitiveOption |
                                          QRegularExpression::UseUnicodePropertiesOption);
    if (!compiled.isValid()) {
        m_problems << QStringLiteral("\"%1\" (%2 at %3)")
                          .arg(name, compiled.errorString())
                          .arg(compiled.patternErrorOffset());
        return;
    }
    m_patterns.append({name, compiled});
}

IdentifierCheck IdentifierCheck::load(const ConfigTree &store)
{
    const QString branch = QLatin1String(StorePath) + QLatin1Char('\\');
    IdentifierCheck check;
    check.m_enabled = store.ReadLongOr(branch + QStringLiteral("enabled"), 0) == 1;
    const QString patterns = branch + QStringLiteral("patterns");
    const KeyNameList names = store.ChildNames(patterns);
    for (const QString &name : names.names())
        check.setPattern(name, store.ReadString(patterns + QLatin1Char('\\') + name));
    check.m_patientNameTag =
        store.ReadStringOr(branch + QStringLiteral("patient_name_tag"), check.m_patientNameTag);
    check.m_patientIdTag =
        store.ReadStringOr(branch + QStringLiteral("patient_id_tag"), check.m_patientIdTag);
    return check;
}

QList<IdentifierCheck::Finding> IdentifierCheck::scan(const QList<Field> &fields,
                                                      const QString &patientName,
                                                      const QString &patientId) const
{
    QList<QRegularExpression> expressions;
    for (const Pattern &pattern : m_patterns)
        expressions << pattern.expression;
    const QStringList patient =
        nameParts(patientName) +
        (patientId.trimmed().isEmpty() ? QStringList() : QStringList{patientId.trimmed()});
    if (!patient.isEmpty())
        expressions << wholeWords(patient);

    QList<Finding> findings;
    for (int index = 0; index < fields.size(); ++index) {
        QList<Finding> inField;
        for (const QRegularExpression &expression : expressions) {
            auto matches = expression.globalMatch(fields[index].text);
            while (matches.hasNext()) {
                const QRegularExpressionMatch match = matches.next();
                if (match.capturedLength() > 0)
                    inField.append(
                        {index, match.capturedStart(), match.capturedLength(), match.captured()});
            }
        }
        std::sort(inField.begin(), inField.end(), [](const Finding &a, const Finding &b) {
            return a.start != b.start ? a.start < b.start : a.length > b.length;
        });
        qsizetype reached = 0;
        for (const Finding &finding : inField) {
            if (finding.start >= reached)
                findings.append(finding);
            reached = std::max(reached, finding.start + finding.length);
        }
    }
    return findings;
}
