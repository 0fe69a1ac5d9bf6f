#pragma once

#include <cstddef>
#include <cstdint>

// One property check per parser that reads outside input. Each takes any
// bytes, feeds them to the parser as its caller would, and throws
// PropertyViolation when what the parser accepted or refused breaks a
// property of that parser; a refusal alone is no violation. The libFuzzer
// targets in fuzz/ and the replay test of kept inputs call the same checks.
namespace FuzzChecks {

// The JSON import: a document that is accepted, attached below a key of an
// in-memory tree and exported again reads back as the same tree.
void checkConfigJson(const uint8_t *data, size_t size);

// The code-tree CSV reader, as both code kinds: an accepted file gives a tree
// whose every code has its parent codes and reads back the same when written
// out as CSV again; a refused one names a line of the file.
void checkCodeTreeCsv(const uint8_t *data, size_t size);

// The toolbar layout file: an accepted layout references only tools and
// popup bands it defines, opens no submenu circle, and reads back the same
// when written out again.
void checkToolBarLayout(const uint8_t *data, size_t size);

// A stored form layout: the bytes generate a key tree below the layout path,
// which is read into the form's field sets and turned into geometry as the
// form does it, without widgets.
void checkFormLayout(const uint8_t *data, size_t size);

// A host record's values through the binding's widget-free part: what the
// form reads and shows of a record goes back unchanged when nothing was edited.
void checkRecordValues(const uint8_t *data, size_t size);

} // namespace FuzzChecks
