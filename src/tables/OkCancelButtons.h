#pragma once

#include <QDialogButtonBox>

// The OK and Cancel buttons that close every value dialog, named cmdOK and
// cmdCancel; OK is the default button, Escape means Cancel.
class OkCancelButtons : public QDialogButtonBox
{
    Q_OBJECT

public:
    explicit OkCancelButtons(QWidget *parent = nullptr);

    // The captions from the language catalog.
    void setCaptions();

private:
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
};
