#include "CodeHitModel.h"

#include "codewalk/CodeEntry.h"

void CodeHitModel::setHits(CodeHits hits)
{
    beginResetModel();
    m_hits = std::move(hits);
    endResetModel();
}

void CodeHitModel::setNoMatchText(const QString &text)
{
    beginResetModel();
    m_noMatchText = text;
    endResetModel();
}

int CodeHitModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_hits.isEmpty() ? 1 : m_hits.size();
}

QVariant CodeHitModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    if (m_hits.isEmpty())
        return m_noMatchText;
    const int hit = index.row();
    return CodeEntry{m_hits.code(hit), m_hits.description(hit)}.text() + QLatin1Char('\n') +
           m_hits.path(hit);
}

Qt::ItemFlags CodeHitModel::flags(const QModelIndex &index) const
{
    return m_hits.isEmpty() ? Qt::NoItemFlags : QAbstractListModel::flags(index);
}
