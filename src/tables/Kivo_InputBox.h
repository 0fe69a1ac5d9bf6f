#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// Asks for one line of text (a field label's caption in design mode). One
// instance may be shown again and again.
class Kivo_InputBox : public QDialog
{
    Q_OBJECT

public:
    explicit Kivo_InputBox(QWidget *parent = nullptr);

    // Shows the dialog modally with text in the box. Afterwards text is the
    // box's text, confirmed or not; confirmed is true only for OK.
    void Init(QString &text, bool &confirmed);

private:
    void setCaptions();

    QLabel *m_Label1;
    QLineEdit *m_txtInput;
};
