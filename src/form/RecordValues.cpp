#include "form/RecordValues.h"

#include "form/AcrCode.h"
#include "form/FormServices.h"
#include "form/RecordAccess.h"

namespace RecordValues {

namespace {

const QString AnatomyTag = QStringLiteral("KESTO_TF_ANATOMY");
const QString PathologyTag = QStringLiteral("KESTO_TF_PATHOLOGY");
const QString AngioTag = QStringLiteral("KESTO_TF_ANGIOGRAPHY");

} // namespace

QStringList readFields(TFData *record, const QStringList &tags)
{
    QStringList values;
    for (const QString &tag : tags)
        values << (tag.isEmpty() ? QString() : RecordAccess::value(record, tag));
    return values;
}

void writeFields(TFData *record, const QStringList &tags, const QStringList &values)
{
    for (qsizetype i = 0; i < tags.size(); ++i) {
        if (!tags[i].isEmpty())
            RecordAccess::setValue(record, tags[i], values.value(i));
    }
}

Codes readCodes(TFData *record)
{
    Codes codes;
    const QString pathology = RecordAccess::value(record, PathologyTag);
    codes.acr = AcrCode::joined(RecordAccess::value(record, AnatomyTag), pathology);
    codes.acrHasPathology = !pathology.isEmpty();
    codes.angio = RecordAccess::value(record, AngioTag);
    return codes;
}

void writeCodes(TFData *record, const QString &acrCode, const QString &angioCode)
{
    // The code the record holds goes back as it is, not split again: a part
    // holding the separator would break apart, and a pathology without its
    // anatomy, which the form does not show, would be lost.
    const QString anatomy = RecordAccess::value(record, AnatomyTag);
    const QString pathology = RecordAccess::value(record, PathologyTag);
    const bool unchanged = AcrCode::joined(anatomy, pathology).value_or(QString()) == acrCode;
    const AcrCode::Parts code =
        unchanged ? AcrCode::Parts{anatomy, pathology} : AcrCode::split(acrCode);
    FormServices::log(QStringLiteral("Anatomy= ") + code.anatomy);
    RecordAccess::setValue(record, AnatomyTag, code.anatomy);
    FormServices::log(QStringLiteral("Pathology= ") + code.pathology);
    RecordAccess::setValue(record, PathologyTag, code.pathology);
    RecordAccess::setValue(record, AngioTag, angioCode);
}

} // namespace RecordValues
