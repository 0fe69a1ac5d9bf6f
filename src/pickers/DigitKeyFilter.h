#pragma once

#include <QObject>

class QLineEdit;

// Lets only the digits 0-9 into a code box. A typed character of any other
// kind beeps and is dropped; Backspace, editing keys and shortcuts pass.
// Pasted or dropped text that is not all digits is refused as a whole.
class DigitKeyFilter : public QObject
{
    Q_OBJECT

public:
    static void install(QLineEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit DigitKeyFilter(QObject *parent);
};
