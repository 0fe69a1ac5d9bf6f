#pragma once

#include <QString>

struct TFData;

// Reading and writing the host record by tag with the form's strings. A call
// the record refuses throws Err naming the tag, so the operation in progress
// ends instead of going on with a half-written record.
namespace RecordAccess {

QString value(TFData *record, const QString &tag);
// A tag hosts may leave out: a record that refuses it reads as not having it.
QString optionalValue(TFData *record, const QString &tag);
void setValue(TFData *record, const QString &tag, const QString &value);

} // namespace RecordAccess
