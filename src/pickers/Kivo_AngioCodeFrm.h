#pragma once

#include "CodePickerDialog.h"
#include "codewalk/AngioCodeWalk.h"

class QLineEdit;

// The modal dialog in which the user picks an angiography code by walking
// the dotted code tree or typing the code. The tree is read from the store
// at the first Init and kept until Uninitialize; closing only hides it.
class Kivo_AngioCodeFrm : public CodePickerDialog
{
    Q_OBJECT

public:
    explicit Kivo_AngioCodeFrm(QWidget *parent = nullptr);

    QString ANGIO_CODE_PATH() const;
    // Runs the dialog on the incoming code. On OK the code comes back in
    // code and as the result, cancelled false; otherwise both are "" and
    // cancelled is true.
    QString Init(QString &code, bool &cancelled);
    // Releases the store and the tree; the next Init reads them afresh.
    void Uninitialize();
    QString AngioCode() const;
    // The chosen levels' captions, joined by CR LF.
    QString AngioDesc() const;

protected:
    CodeWalk &codeWalk() override { return m_walk; }
    void showState() override;
    void listClicked(int row) override;
    void upClicked() override;

private:
    void load();
    void setCaptions();

    AngioCodeWalk m_walk;

    QLineEdit *m_txtAngio;
    QLabel *m_lblAngio;
};
