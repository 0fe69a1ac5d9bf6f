#pragma once

#include "form/FieldSet.h"

#include <QVector>

struct TFData;

// The identifier check at Submit: scans the field sets' text as the store
// configures it and, when it finds anything, lists the findings by field
// and asks whether to submit anyway. A No leaves the user in the form with
// the first finding selected.
namespace IdentifierCheckPrompt {

// Whether the submit may go on: always when the check is off or finds
// nothing. While it is on, patterns the store holds in error are reported
// and skipped.
bool allowsSubmit(const QVector<FieldSet> &fieldSets, TFData *record);

} // namespace IdentifierCheckPrompt
