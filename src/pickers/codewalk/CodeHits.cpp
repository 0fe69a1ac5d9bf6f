#include "CodeHits.h"

#include "CodeSearchIndex.h"

CodeHits::CodeHits(const CodeSearchIndex *index, QList<int> rows, QString codePrefix)
    : m_index(index), m_rows(std::move(rows)), m_codePrefix(std::move(codePrefix))
{
}

QString CodeHits::code(int hit) const
{
    return m_codePrefix + m_index->entry(m_rows[hit]).code;
}

QString CodeHits::description(int hit) const
{
    return m_index->entry(m_rows[hit]).description;
}

QString CodeHits::path(int hit) const
{
    return m_index->path(m_rows[hit]);
}

QStringList CodeHits::chain(int hit) const
{
    return m_index->chain(m_rows[hit]);
}
