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

QStringList wordsOf(const QString &folded)
{
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= folded.size(); ++i) {
        const bool inWord = i < folded.size() && folded.at(i).isLetterOrNumber();
        if (inWord && start < 0)
            start = i;
        else if (!inWord && start >= 0) {
            words << folded.mid(start, i - start);
            start = -1;
        }
    }
    return words;
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
        m_words = wordsOf(fold(trimmed));
    }
}

QString CodeQuery::fold(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!isCombiningMark(c))
            bare += c;
    }
    return bare.toCaseFolded();
}

QString CodeQuery::foldedWords(const QString &text)
{
    QString joined;
    for (const QString &word : wordsOf(fold(text)))
        joined += QLatin1Char(' ') + word;
    return joined;
}
