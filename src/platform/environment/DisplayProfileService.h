#pragma once

#include "DisplayProfile.h"

#include "platform/config/ConfigTree.h"

// Finds the sub-branch of a settings branch written for a display.
//
// A sub-branch written for displays of one kind is named
// "<colour>_<resolution>_<orientation>" in the words of DisplayDescriptor,
// for example "RGB_High_Landscape"; a part "Any" (or "-99") fits every value.
// Names are compared ignoring ASCII case; children with other names are
// ignored. Of the children that fit, the one with the most parts spelled out
// wins; on a tie the first in store order.
class DisplayProfileService
{
public:
    // The path, relative to branch, of the child of basePath that fits the
    // profile best; basePath itself when none fits (so "" is the branch).
    // exactOnly != 0: a child must spell out every part. allEntries != 0: the
    // profile's other entries are tried, in order, when its primary entry
    // finds nothing. Throws Err for a profile that was not committed.
    QString BestFitPath(const ConfigTree &branch, const QString &basePath, qint32 exactOnly,
                        qint32 allEntries, const DisplayProfile &profile) const;

    // How well a child name fits a descriptor: the number of parts spelled out
    // in the name, or -1 when it does not fit.
    static int fitScore(const QString &childName, const DisplayDescriptor &descriptor,
                        bool exactOnly);
};
