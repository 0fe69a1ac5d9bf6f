#include "Kivo_InputBox.h"

#include "OkCancelButtons.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

Kivo_InputBox::Kivo_InputBox(QWidget *parent)
    : QDialog(parent), m_Label1(new QLabel(this)), m_txtInput(new QLineEdit(this))
{
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setBuddy(m_txtInput);
    m_txtInput->setObjectName(QStringLiteral("txtInput"));
    auto *buttons = new OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_Label1);
    layout->addWidget(m_txtInput);
    layout->addStretch();
    layout->addWidget(buttons);
    resize(340, 120);

    QV_Resource::ApplyDialogLoadTreatment(this, [this, buttons] {
        buttons->setCaptions();
        m_Label1->setText(QV_Resource::GetResString(ResourceIds::INPUT_BOX_PROMPT));
        setWindowTitle(QV_Resource::GetResString(ResourceIds::INPUT_BOX_CAPTION));
    });
}

void Kivo_InputBox::Init(QString &text, bool &confirmed)
{
    m_txtInput->setText(text);
    // Typing goes straight into the box, also when the instance is shown again.
    m_txtInput->setFocus();
    // Decided per showing: an earlier OK must not make a later close count
    // as confirmed.
    confirmed = exec() == QDialog::Accepted;
    text = m_txtInput->text();
}
