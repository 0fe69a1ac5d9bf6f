#include "ByteReader.h"
#include "FuzzChecks.h"
#include "PropertyViolation.h"

#include "FakeTFData.h"
#include "form/RecordAccess.h"
#include "form/RecordValues.h"

#include <iterator>
#include <memory>

namespace FuzzChecks {

namespace {

// Tags a layout names, in the case a hand-edited store may hold them, and the
// tags of the record's codes.
const char *const LayoutTags[] = {"kesto_tf_history", "KESTO_TF_FINDINGS", "Kesto_TF_Diagnosis",
                                  "KESTO_TF_KEYWORDS"};
const QString AnatomyTag = QStringLiteral("KESTO_TF_ANATOMY");
const QString PathologyTag = QStringLiteral("KESTO_TF_PATHOLOGY");
const QString AngioTag = QStringLiteral("KESTO_TF_ANGIOGRAPHY");

struct Release
{
    void operator()(FakeTFData *record) const { record->Release(); }
};
using Record = std::unique_ptr<FakeTFData, Release>;

QString generatedText(ByteReader &input)
{
    return (input.byte() & 1) ? input.utf16() : input.latin1();
}

QString generatedTag(ByteReader &input)
{
    const uint8_t pick = input.byte();
    if (pick < 200)
        return QLatin1String(LayoutTags[pick % std::size(LayoutTags)]);
    return input.latin1();
}

} // namespace

void checkRecordValues(const uint8_t *data, size_t size)
{
    ByteReader input(data, size);
    // The sets' tags as the layout holds them; the form upper-cases them.
    QStringList tags;
    const int sets = input.byte() % 12;
    for (int i = 0; i < sets; ++i)
        tags << generatedTag(input).toUpper();

    // The host's record: values under the codes' tags and any others.
    const Record record(FakeTFData::create());
    QStringList recordTags = {AnatomyTag, PathologyTag, AngioTag};
    for (const QString &tag : tags) {
        if (!tag.isEmpty())
            recordTags << tag;
    }
    for (const QString &tag : recordTags) {
        if (input.byte() & 1)
            RecordAccess::setValue(record.get(), tag, generatedText(input));
    }

    // Shown and submitted without an edit. A fresh entry shows no ACR code
    // when the record gives none to show.
    const QStringList fields = RecordValues::readFields(record.get(), tags);
    require(fields.size() == tags.size(), "each set reads one value");
    const RecordValues::Codes codes = RecordValues::readCodes(record.get());
    const Record submitted(FakeTFData::create());
    for (const auto &[tag, value] : record->values())
        submitted->set(tag, value);
    RecordValues::writeFields(submitted.get(), tags, fields);
    RecordValues::writeCodes(submitted.get(), codes.acr.value_or(QString()), codes.angio);

    for (const QString &tag : recordTags) {
        if (RecordAccess::value(submitted.get(), tag) != RecordAccess::value(record.get(), tag))
            throw PropertyViolation(QStringLiteral("the value of %1 changed on a submit "
                                                   "without an edit")
                                        .arg(tag));
    }
}

} // namespace FuzzChecks
