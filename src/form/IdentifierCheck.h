#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

class ConfigTree;

// Looks through the form's free text, before it leaves the workstation, for
// what may identify the patient: written dates, long digit runs (record and
// phone numbers), e-mail addresses, and the patient's own name and id. Free
// of widgets: it sees texts and answers where in them it found what.
//
// The store turns it on and holds the patterns, below the teaching-file
// branch's "identifier_check": "enabled" (1 turns it on), "patterns\<name>"
// (a regular expression; a site adds its own, an empty one drops a built-in
// one of that name), "patient_name_tag" and "patient_id_tag" (the record
// tags the workstation gives them under).
class IdentifierCheck
{
public:
    static constexpr const char *StorePath =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\identifier_check";

    struct Field
    {
        QString name;
        QString text;
    };
    struct Finding
    {
        int field = -1; // index into the scanned fields
        qsizetype start = 0;
        qsizetype length = 0;
        QString text;
    };

    // Off, with the built-in patterns.
    IdentifierCheck();
    // A pattern the store holds that is not a valid expression is left out
    // and named in problems().
    static IdentifierCheck load(const ConfigTree &store);

    bool enabled() const { return m_enabled; }
    const QStringList &problems() const { return m_problems; }
    QString patientNameTag() const { return m_patientNameTag; }
    QString patientIdTag() const { return m_patientIdTag; }

    // The findings in field order, then by place; overlapping matches in one
    // field are reported once.
    QList<Finding> scan(const QList<Field> &fields, const QString &patientName,
                        const QString &patientId) const;

private:
    struct Pattern
    {
        QString name;
        QRegularExpression expression;
    };
    void setPattern(const QString &name, const QString &expression);

    bool m_enabled = false;
    QList<Pattern> m_patterns;
    QStringList m_problems;
    QString m_patientNameTag;
    QString m_patientIdTag;
};
