#include "DigitKeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

DigitKeyFilter::DigitKeyFilter(QObject *parent) : QObject(parent) {}

void DigitKeyFilter::install(QLineEdit *box)
{
    // Typed keys are judged here so that they can beep; the validator covers
    // what arrives without a key press (paste, drop).
    box->installEventFilter(new DigitKeyFilter(box));
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    const bool character = !text.isEmpty() && text.at(0).isPrint() &&
                           !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    const bool digit =
        text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
    if (character && !digit) {
        QApplication::beep();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
