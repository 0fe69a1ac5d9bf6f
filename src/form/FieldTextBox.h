#pragma once

#include <QPlainTextEdit>

// A multi-line free-text box of the form. Its maximum length (0 = no limit)
// holds for everything the user puts in, whether typed, pasted or dropped:
// what would overflow is cut off, so the text never grows beyond it. Text set
// by the program is taken whole, so a stored value is never shortened by
// showing it. Read-only mode (setReadOnly) locks the box against edits while
// its text can still be selected and copied. Lines wrap at the box's edge,
// inside a word too, so no text, however long its lines, stalls the layout.
class FieldTextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit FieldTextBox(QWidget *parent = nullptr);

    int maxLength() const { return m_maxLength; }
    // Negative values count as 0.
    void setMaxLength(int maxLength);

    // colour is 0x00BBGGRR.
    void setBackColor(quint32 colour);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // The part of text that still fits when it replaces the current selection.
    QString fitting(const QString &text) const;

    int m_maxLength = 0;
};
