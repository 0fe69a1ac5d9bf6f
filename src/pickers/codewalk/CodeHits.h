#pragma once

#include <QList>
#include <QStringList>

class CodeSearchIndex;

// What one search found: rows of one index, in its order. Hits below an
// anatomy code the user typed ("641 - 42") carry that code in front of
// their own, as the picker returns them.
class CodeHits
{
public:
    CodeHits() = default;
    CodeHits(const CodeSearchIndex *index, QList<int> rows, QString codePrefix = QString());

    bool isEmpty() const { return m_rows.isEmpty(); }
    int size() const { return int(m_rows.size()); }
    const CodeSearchIndex *index() const { return m_index; }
    const QString &codePrefix() const { return m_codePrefix; }

    QString code(int hit) const;
    QString description(int hit) const;
    QString path(int hit) const;
    // The codes the walk chooses to get from its top to the hit.
    QStringList chain(int hit) const;

private:
    const CodeSearchIndex *m_index = nullptr;
    QList<int> m_rows;
    QString m_codePrefix;
};
