#pragma once

#include "CodeEntry.h"

#include <QList>
#include <QStringList>

#include <vector>

// Every code below one level of a code tree, in the order the walk lists
// them (a code before its children), kept with what a search compares: the
// description's folded words. Built once per loaded tree, so a keystroke
// scans memory and never the store.
class CodeSearchIndex
{
public:
    // Adds a code below the one at row parent (-1: the top); returns its row.
    int add(const CodeEntry &entry, int parent);
    void clear();

    int size() const { return int(m_rows.size()); }
    const CodeEntry &entry(int row) const { return m_rows[size_t(row)].entry; }
    // -1 for a code at the top.
    int parentRow(int row) const { return m_rows[size_t(row)].parentRow; }
    // The first row of exactly that code, -1 when there is none.
    int rowOf(const QString &code) const;
    // The codes a walk chooses, from the top down to row's own.
    QStringList chain(int row) const;
    // The descriptions of row's parents from the top, joined by " › ".
    QString path(int row) const;

    // The rows whose description has, for each folded word, a word starting
    // with it.
    QList<int> rowsWithWords(const QStringList &words) const;
    QList<int> rowsWithCodePrefix(const QString &prefix) const;

private:
    struct Row
    {
        CodeEntry entry;
        int parentRow;
        qsizetype wordsEnd; // in m_words, where the next row's words start
    };
    QStringView wordsOf(int row) const;

    std::vector<Row> m_rows;
    // The folded words of every row, one after another: one allocation for
    // the whole tree, scanned in one sweep of memory.
    QString m_words;
};
