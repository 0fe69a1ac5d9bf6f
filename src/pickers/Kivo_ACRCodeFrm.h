#pragma once

#include "CodePickerDialog.h"
#include "codewalk/AcrCodeWalk.h"

class QLineEdit;

// The modal dialog in which the user picks an ACR code: an anatomy code and,
// below its region, an optional pathology code, by walking the ACR tree or
// typing the digits. The tree is read from the store at the first Init and
// kept until Uninitialize; closing the dialog only hides it.
class Kivo_ACRCodeFrm : public CodePickerDialog
{
    Q_OBJECT

public:
    explicit Kivo_ACRCodeFrm(QWidget *parent = nullptr);

    // Runs the dialog on the incoming code ("123 - 45", "123" or ""). On OK
    // the chosen code comes back in code and as the result, cancelled false;
    // otherwise both are "" and cancelled is true. The owner form is not
    // used: the dialog is modal over its parent.
    QString Init(QWidget *ownerForm, QString &code, bool &cancelled);
    // CR LF before each chosen pathology level's caption.
    QString PathologicDesc() const;
    QString PathologicCode() const;
    QString AnatomyCode() const;
    // CR LF before each chosen anatomy level's caption.
    QString AnatomyDesc() const;
    // Once loaded, the dialog font size, which the main form's fields take
    // too (QV_Resource::DialogControlFontSize).
    qint32 ControlFontSize() const;
    // Releases the store and the tree; the next Init reads them afresh.
    void Uninitialize();
    QString ACR_CODE_PATH() const;

protected:
    CodeWalk &codeWalk() override { return m_walk; }
    void showState() override;
    void listClicked(int row) override;
    void upClicked() override;

private:
    void load();
    void setCaptions();

    AcrCodeWalk m_walk;

    QLineEdit *m_txtAnat;
    QLineEdit *m_txtPath;
    QLabel *m_lblAnat;
    QLabel *m_lblPath;
    QLabel *m_lblAnato;
    QLabel *m_lblPatho;
    QPushButton *m_cmdAnatomy;
    QPushButton *m_cmdPathology;
    QLabel *m_label4;
};
