#pragma once

#include <QStringList>

#include <optional>

struct TFData;

// What the form reads of a host record and what a submit writes back of it,
// as text: the field sets' values under their tags and the record's codes.
// The binding shows what is read and hands back what the form shows; nothing
// here knows a widget.
namespace RecordValues {

// The record's codes as the form shows them.
struct Codes
{
    // The ACR code; none when a pathology comes without its anatomy, which
    // leaves the shown code as it was.
    std::optional<QString> acr;
    bool acrHasPathology = false;
    QString angio;
};

// The value under each tag, by set; null for a set without a tag.
QStringList readFields(TFData *record, const QStringList &tags);
// Each value under its set's tag; a set without a tag has nowhere to go.
void writeFields(TFData *record, const QStringList &tags, const QStringList &values);

Codes readCodes(TFData *record);
// The shown ACR code goes back split into anatomy and pathology, unless it
// is the code the record holds (none when it holds a pathology without its
// anatomy): then the record keeps its parts as they are.
void writeCodes(TFData *record, const QString &acrCode, const QString &angioCode);

} // namespace RecordValues
