#include "CodeSearchIndex.h"

#include "CodeQuery.h"

#include <algorithm>

int CodeSearchIndex::add(const CodeEntry &entry, int parent)
{
    CodeQuery::appendFoldedWords(entry.description, m_words);
    m_rows.push_back({entry, parent, m_words.size()});
    return size() - 1;
}

void CodeSearchIndex::clear()
{
    m_rows.clear();
    m_words.clear();
}

QStringView CodeSearchIndex::wordsOf(int row) const
{
    const qsizetype start = row == 0 ? 0 : m_rows[size_t(row) - 1].wordsEnd;
    return QStringView(m_words).sliced(start, m_rows[size_t(row)].wordsEnd - start);
}

int CodeSearchIndex::rowOf(const QString &code) const
{
    for (int row = 0; row < size(); ++row) {
        if (entry(row).code == code)
            return row;
    }
    return -1;
}

QStringList CodeSearchIndex::chain(int row) const
{
    QStringList codes;
    for (; row >= 0; row = parentRow(row))
        codes.prepend(entry(row).code);
    return codes;
}

QString CodeSearchIndex::path(int row) const
{
    QStringList descriptions;
    for (row = parentRow(row); row >= 0; row = parentRow(row))
        descriptions.prepend(entry(row).description);
    return descriptions.join(QStringLiteral(" \u203A "));
}

QList<int> CodeSearchIndex::rowsWithWords(const QStringList &words) const
{
    QStringList wordStarts;
    for (const QString &word : words)
        wordStarts << QLatin1Char(' ') + word;
    QList<int> rows;
    for (int row = 0; row < size(); ++row) {
        const QStringView text = wordsOf(row);
        if (std::all_of(wordStarts.cbegin(), wordStarts.cend(),
                        [text](const QString &start) { return text.contains(start); }))
            rows << row;
    }
    return rows;
}

QList<int> CodeSearchIndex::rowsWithCodePrefix(const QString &prefix) const
{
    QList<int> rows;
    for (int row = 0; row < size(); ++row) {
        if (entry(row).code.startsWith(prefix))
            rows << row;
    }
    return rows;
}
