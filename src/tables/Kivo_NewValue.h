#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// Asks for one value of a table; the table values editor opens a fresh one
// for each value it adds or changes.
class Kivo_NewValue : public QDialog
{
    Q_OBJECT

public:
    explicit Kivo_NewValue(QWidget *parent = nullptr);

    // Shows the dialog modally. On OK, result is the text as typed (blanks
    // kept) and cancelled false; otherwise result is empty and cancelled true.
    void Init(const QString &initialText, bool &cancelled, QString &result);

private:
    void setCaptions();

    QLabel *m_lblAddValue;
    QLineEdit *m_txtNewValue;
};
