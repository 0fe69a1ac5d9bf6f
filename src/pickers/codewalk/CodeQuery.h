#pragma once

#include <QString>
#include <QStringList>

// What the user typed into a picker's search box. Text of digits alone
// (with "." , "-" and blanks between them) names codes by their first
// digits; any other text names descriptions by their words.
class CodeQuery
{
public:
    explicit CodeQuery(const QString &text);

    bool isEmpty() const { return m_code.isEmpty() && m_words.isEmpty(); }
    bool isCode() const { return !m_code.isEmpty(); }
    // The typed code without its blanks: "641 - 42" -> "641-42".
    const QString &code() const { return m_code; }
    // The typed words, folded: each is the start of a word in a description.
    const QStringList &words() const { return m_words; }

    // Text as descriptions and words are compared: accents dropped (the
    // canonical decomposition without its combining marks) and case folded.
    static QString fold(const QString &text);
    // The folded words of text, each after a blank (" squamous cell"), so
    // that " " + a word's start is found exactly at the start of a word.
    static QString foldedWords(const QString &text);
    // The same written after the end of words, which grows as a buffer.
    static void appendFoldedWords(const QString &text, QString &words);

private:
    QString m_code;
    QStringList m_words;
};
