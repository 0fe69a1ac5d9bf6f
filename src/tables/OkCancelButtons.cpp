#include "OkCancelButtons.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"

#include <QPushButton>

OkCancelButtons::OkCancelButtons(QWidget *parent)
    : QDialogButtonBox(parent), m_cmdOK(addButton(QDialogButtonBox::Ok)),
      m_cmdCancel(addButton(QDialogButtonBox::Cancel))
{
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdOK->setDefault(true);
}

void OkCancelButtons::setCaptions()
{
    m_cmdOK->setText(QV_Resource::GetResString(ResourceIds::OK_CAPTION));
    m_cmdCancel->setText(QV_Resource::GetResString(ResourceIds::CANCEL_CAPTION));
}
