#include "form/FieldTextBox.h"

#include "common/QV_Resource.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace {

// Keys whose text is inserted into the document. Control combinations carry
// text too (Ctrl+A is "\x01") but are commands, and paste reaches
// insertFromMimeData on its own.
bool insertsText(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return true;
    return text.at(0).isPrint();
}

} // namespace

FieldTextBox::FieldTextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    // A field of a form: Tab moves on to the next field instead of being typed.
    setTabChangesFocus(true);
    // Lines wrap at the box's edge, inside a word too. Wrapping at word
    // boundaries searches a line without one (a pasted blob of a record) anew
    // for every line laid out: a megabyte of it froze the window for a minute.
    setWordWrapMode(QTextOption::WrapAnywhere);
}

void FieldTextBox::setMaxLength(int maxLength)
{
    m_maxLength = qMax(0, maxLength);
}

void FieldTextBox::setBackColor(quint32 colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, QV_Resource::ToQColor(colour));
    setPalette(pal);
}

QString FieldTextBox::fitting(const QString &text) const
{
    if (m_maxLength == 0)
        return text;
    // characterCount() includes the closing paragraph separator.
    const int length = document()->characterCount() - 1;
    const QTextCursor cursor = textCursor();
    const int kept = length - (cursor.selectionEnd() - cursor.selectionStart());
    return text.left(qMax(0, m_maxLength - kept));
}

void FieldTextBox::keyPressEvent(QKeyEvent *event)
{
    if (isReadOnly() || m_maxLength == 0 || !insertsText(event)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    const QString fits = fitting(text);
    if (fits == text) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (!fits.isEmpty()) {
        QTextCursor cursor = textCursor();
        cursor.insertText(fits);
        setTextCursor(cursor);
    }
    event->accept();
}

void FieldTextBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (isReadOnly() || event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    const QString fits = fitting(event->commitString());
    if (fits == event->commitString()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent shortened(event->preeditString(), event->attributes());
    shortened.setCommitString(fits, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&shortened);
}

void FieldTextBox::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source || !source->hasText())
        return;
    // A drop has already moved the cursor to the drop point (and, for a move
    // inside this box, removed the dragged text), so the room left is right.
    QTextCursor cursor = textCursor();
    cursor.insertText(fitting(source->text()));
    setTextCursor(cursor);
    ensureCursorVisible();
}
