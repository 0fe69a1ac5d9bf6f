#pragma once

#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"

#include <QByteArray>

enum class CodeTreeKind { Acr, Angio };

// Builds a code tree from CSV lines "code,description" and puts it in the
// store. ACR codes are anatomy codes ("123") or pathology codes written as the
// picker returns them ("1 - 45", the region being the anatomy part's first
// digit); angiography codes are dotted whole numbers ("4.12.3"). An optional
// first line "code,description" is a header. Every parent of a code must be
// listed too, in any order.
class CodeTreeLoader
{
public:
    static QString storePath(CodeTreeKind kind);

    // The tree, its root named like the store key. Throws Err(ImportFailure,
    // "line N: ...") for a line that is not a code of the kind, repeats one or
    // lacks a parent.
    // codeCount receives the number of codes read.
    static std::shared_ptr<FreeConfigTree> fromCsv(CodeTreeKind kind, const QByteArray &csv,
                                                   int *codeCount = nullptr);

    // Replaces the whole code tree in the store in one transaction and
    // returns the number of codes. Nothing is written when the CSV has an
    // error or no code at all.
    static int load(ConfigDatabase &database, CodeTreeKind kind, const QByteArray &csv);
};
