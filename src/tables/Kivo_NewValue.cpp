#include "Kivo_NewValue.h"

#include "OkCancelButtons.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

Kivo_NewValue::Kivo_NewValue(QWidget *parent)
    : QDialog(parent), m_lblAddValue(new QLabel(this)), m_txtNewValue(new QLineEdit(this))
{
    m_lblAddValue->setObjectName(QStringLiteral("lblAddValue"));
    m_lblAddValue->setBuddy(m_txtNewValue);
    m_txtNewValue->setObjectName(QStringLiteral("txtNewValue"));
    auto *buttons = new OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblAddValue);
    layout->addWidget(m_txtNewValue);
    layout->addStretch();
    layout->addWidget(buttons);
    resize(320, 120);

    QV_Resource::ApplyDialogLoadTreatment(this, [this, buttons] {
        buttons->setCaptions();
        m_lblAddValue->setText(QV_Resource::GetResString(ResourceIds::VALUE_LABEL));
        setWindowTitle(QV_Resource::GetResString(ResourceIds::NEW_VALUE_CAPTION));
    });
}

void Kivo_NewValue::Init(const QString &initialText, bool &cancelled, QString &result)
{
    m_txtNewValue->setText(initialText);
    m_txtNewValue->setFocus();
    const bool confirmed = exec() == QDialog::Accepted;
    cancelled = !confirmed;
    result = confirmed ? m_txtNewValue->text() : QString();
}
