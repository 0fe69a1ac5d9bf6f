#pragma once

#include "DisplayDescriptor.h"

#include <QList>

// The displays a caller wants settings for, in order of preference. Filled
// entry by entry, then committed: Commit names the entry that describes the
// display itself, which is tried first; the others follow in index order.
class DisplayProfile
{
public:
    // Sets an existing entry or appends one (index == Count()); any other
    // index throws Err.
    void SetDescriptor(qint32 index, const DisplayDescriptor &descriptor);
    // Throws Err when the index names no entry.
    void Commit(qint32 primaryEntry);

    qint32 Count() const { return qint32(m_descriptors.size()); }
    const DisplayDescriptor &Descriptor(qint32 index) const { return m_descriptors.at(index); }
    bool isCommitted() const { return m_primary >= 0; }
    // Entry indexes in the order they are tried: the primary one first.
    QList<qint32> preferenceOrder() const;

private:
    QList<DisplayDescriptor> m_descriptors;
    qint32 m_primary = -1;
};
