#include "AngioCodeOrder.h"

#include <QStringList>

#include <algorithm>

namespace {

bool isWholeNumber(QStringView part)
{
    return !part.isEmpty() && std::all_of(part.begin(), part.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

// Compares digit strings of any length by value without converting them, so
// parts beyond 64 bits still order correctly.
int compareNumbers(QStringView left, QStringView right)
{
    const auto significant = [](QStringView digits) {
        qsizetype first = 0;
        while (first < digits.size() - 1 && digits[first] == QLatin1Char('0'))
            ++first;
        return digits.mid(first);
    };
    const QStringView a = significant(left);
    const QStringView b = significant(right);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int compareParts(QStringView left, QStringView right)
{
    const bool leftNumber = isWholeNumber(left);
    const bool rightNumber = isWholeNumber(right);
    if (leftNumber != rightNumber)
        return leftNumber ? -1 : 1;
    const int byValue =
        leftNumber ? compareNumbers(left, right) : left.compare(right, Qt::CaseInsensitive);
    // "4.01" and "4.1" are distinct keys: fall back on the exact text.
    return byValue != 0 ? byValue : left.compare(right);
}

} // namespace

bool AngioCodeOrder::lessThan(const QString &left, const QString &right)
{
    const QList<QStringView> leftParts = QStringView(left).split(QLatin1Char('.'));
    const QList<QStringView> rightParts = QStringView(right).split(QLatin1Char('.'));
    const qsizetype common = std::min(leftParts.size(), rightParts.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (const int order = compareParts(leftParts[i], rightParts[i]); order != 0)
            return order < 0;
    }
    return leftParts.size() < rightParts.size();
}
