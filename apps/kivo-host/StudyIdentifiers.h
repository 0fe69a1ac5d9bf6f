#pragma once

#include <kivo/TceExport.h>

struct sqlite3;

// The DICOM identity of the workstation's studies: a patient id, a Study
// Instance UID, one series and a few images of their own, kept in the
// records database beside the studies, so that a teaching file exported
// today and one exported next week reference the same images.
namespace StudyIdentifiers {

// Creates the tables and gives every study that has none its identifiers.
// Runs inside the caller's transaction. Throws std::runtime_error.
void assign(sqlite3 *db);

// The study as the export documents name it. Throws std::runtime_error for
// a study the database does not hold.
kivo::tce::Study read(sqlite3 *db, qint64 studyId);

} // namespace StudyIdentifiers
