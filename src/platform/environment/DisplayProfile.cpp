#include "DisplayProfile.h"

#include "platform/Err.h"

void DisplayProfile::SetDescriptor(qint32 index, const DisplayDescriptor &descriptor)
{
    if (index < 0 || index > Count())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Display descriptor index %1 is out of range").arg(index));
    if (index == Count())
        m_descriptors.append(descriptor);
    else
        m_descriptors[index] = descriptor;
}

void DisplayProfile::Commit(qint32 primaryEntry)
{
    if (primaryEntry < 0 || primaryEntry >= Count())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Display profile has no entry %1").arg(primaryEntry));
    m_primary = primaryEntry;
}

QList<qint32> DisplayProfile::preferenceOrder() const
{
    QList<qint32> order;
    if (!isCommitted())
        return order;
    order.append(m_primary);
    for (qint32 i = 0; i < Count(); ++i) {
        if (i != m_primary)
            order.append(i);
    }
    return order;
}
