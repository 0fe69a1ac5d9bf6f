#include "CodeQuery.h"

#include <algorithm>

namespace {

bool isCodeCharacter(QChar c)
{
    return c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c.isSpace();
}

bool isCombiningMark(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

enum class AsciiOnly { No, Yes };

// Writes the words of text after the end of words, each after a blank, its
// ASCII letters lower-cased; in one pass, into room for the most words can
// take. False, leaving words as they were, when asciiOnly meets a character
// that is not ASCII.
bool appendWords(QStringView text, QString &words, AsciiOnly asciiOnly)
{
    const qsizetype before = words.size();
    words.resize(before + text.size() + 1);
    char16_t *const start = reinterpret_cast<char16_t *>(words.data()) + before;
    char16_t *out = start;
    bool inWord = false;
    for (const QChar c : text) {
        char16_t u = c.unicode();
        bool wordCharacter = false;
        if (u < 0x80) {
            const bool upper = u >= u'A' && u <= u'Z';
            wordCharacter = upper || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
            if (upper)
                u += u'a' - u'A';
        } else if (asciiOnly == AsciiOnly::Yes) {
            words.truncate(before);
            return false;
        } else {
            wordCharacter = c.isLetterOrNumber();
        }
        if (wordCharacter && !inWord)
            *out++ = u' ';
        if (wordCharacter)
            *out++ = u;
        inWord = wordCharacter;
    }
    words.truncate(before + (out - start));
    return true;
}

} // namespace

CodeQuery::CodeQuery(const QString &text)
{
    const QString trimmed = text.trimmed();
    const bool code = !trimmed.isEmpty() && trimmed.front().isDigit() &&
                      std::all_of(trimmed.begin(), trimmed.end(), isCodeCharacter);
    if (code) {
        for (const QChar c : trimmed) {
            if (!c.isSpace())
                m_code += c;
        }
    } else {
        m_words = foldedWords(trimmed).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
}

QString CodeQuery::fold(const QString &text)
{
    QString bare = text.normalized(QString::NormalizationForm_D);
    bare.removeIf(isCombiningMark);
    return std::move(bare).toCaseFolded();
}

QString CodeQuery::foldedWords(const QString &text)
{
    QString words;
    appendFoldedWords(text, words);
    return words;
}

void CodeQuery::appendFoldedWords(const QString &text, QString &words)
{
    // Called for every code of a tree: plain ASCII, as most descriptions
    // are, needs no Unicode tables and is folded by lower-casing alone.
    if (!appendWords(text, words, AsciiOnly::Yes))
        appendWords(fold(text), words, AsciiOnly::No);
}
