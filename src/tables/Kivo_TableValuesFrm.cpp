#include "Kivo_TableValuesFrm.h"

#include "Kivo_NewValue.h"
#include "Kivo_TablesStore.h"
#include "ListSelection.h"
#include "OkCancelButtons.h"
#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

Kivo_TableValuesFrm::Kivo_TableValuesFrm(QWidget *parent)
    : QDialog(parent), m_lblTableName(new QLabel(this)), m_txtTableName(new QLineEdit(this)),
      m_lstValues(new QListWidget(this)),
      // Picture buttons: the symbols stand for the pictures, they are not words.
      m_btnAdd(new QPushButton(QStringLiteral("+"), this)),
      m_btnDelete(new QPushButton(QStringLiteral("\u2212"), this))
{
    m_lblTableName->setObjectName(QStringLiteral("lblTableName"));
    m_lblTableName->setBuddy(m_txtTableName);
    m_txtTableName->setObjectName(QStringLiteral("txtTableName"));
    m_lstValues->setObjectName(QStringLiteral("lstValues"));
    m_lstValues->setSelectionMode(QAbstractItemView::SingleSelection);
    m_btnAdd->setObjectName(QStringLiteral("btnAdd"));
    m_btnDelete->setObjectName(QStringLiteral("btnDelete"));
    for (QPushButton *button : {m_btnAdd, m_btnDelete})
        button->setAutoDefault(false);
    auto *buttons = new OkCancelButtons(this);

    connect(m_btnAdd, &QPushButton::clicked, this, &Kivo_TableValuesFrm::addValue);
    connect(m_btnDelete, &QPushButton::clicked, this, &Kivo_TableValuesFrm::deleteValue);
    connect(m_lstValues, &QListWidget::itemDoubleClicked, this, &Kivo_TableValuesFrm::editValue);
    connect(buttons, &QDialogButtonBox::accepted, this, &Kivo_TableValuesFrm::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_lblTableName, 0, 0);
    layout->addWidget(m_txtTableName, 0, 1, 1, 2);
    layout->addWidget(m_lstValues, 1, 0, 3, 2);
    layout->addWidget(m_btnAdd, 1, 2);
    layout->addWidget(m_btnDelete, 2, 2);
    layout->setRowStretch(3, 1);
    layout->addWidget(buttons, 4, 0, 1, 3);
    resize(340, 320);

    QV_Resource::ApplyDialogLoadTreatment(this, [this, buttons] {
        buttons->setCaptions();
        m_lblTableName->setText(QV_Resource::GetResString(ResourceIds::TABLE_NAME_LABEL));
    });
}

void Kivo_TableValuesFrm::Init(QStringList &values, QString &name, bool &cancelled,
                               const Kivo_TablesStore &owner)
{
    m_owner = &owner;
    m_lstValues->clear();
    m_lstValues->addItems(values);
    const bool newTable = values.isEmpty() && name.isEmpty();
    setWindowTitle(QV_Resource::GetResString(newTable ? ResourceIds::NEW_TABLE_CAPTION
                                                      : ResourceIds::EDIT_TABLE_CAPTION));
    m_txtTableName->setText(name);
    m_openingName = name;
    m_txtTableName->setFocus();

    cancelled = exec() != QDialog::Accepted;
    if (cancelled)
        return;
    name = m_txtTableName->text();
    values.clear();
    for (int row = 0; row < m_lstValues->count(); ++row)
        values.append(m_lstValues->item(row)->text());
}

void Kivo_TableValuesFrm::addValue()
{
    Kivo_NewValue dialog(this);
    bool cancelled = true;
    QString value;
    dialog.Init(QString(), cancelled, value);
    if (cancelled || value.isEmpty())
        return;
    m_lstValues->addItem(value);
    m_lstValues->setCurrentRow(m_lstValues->count() - 1);
}

void Kivo_TableValuesFrm::editValue(QListWidgetItem *item)
{
    Kivo_NewValue dialog(this);
    bool cancelled = true;
    QString value;
    dialog.Init(item->text(), cancelled, value);
    if (cancelled)
        return;
    if (value.isEmpty())
        delete item;
    else
        item->setText(value);
}

void Kivo_TableValuesFrm::deleteValue()
{
    const int row = selectedRow(m_lstValues);
    if (row < 0)
        return;
    delete m_lstValues->takeItem(row);
    if (m_lstValues->count() > 0)
        m_lstValues->setCurrentRow(row > 0 ? row - 1 : 0);
}

void Kivo_TableValuesFrm::confirm()
{
    // A table without values is no table: OK then leaves everything as it was.
    if (m_lstValues->count() == 0) {
        reject();
        return;
    }
    const qint32 errorId = nameErrorId(m_txtTableName->text());
    if (errorId != 0) {
        QV_MsgBox::ShowErrorMsgCode(QV_Resource::GetResString(errorId), errorId);
        return;
    }
    accept();
}

qint32 Kivo_TableValuesFrm::nameErrorId(const QString &name) const
{
    if (name.isEmpty())
        return ResourceIds::TABLE_NAME_EMPTY;
    if (name != m_openingName && m_owner->IsTableExist(name))
        return ResourceIds::TABLE_NAME_TAKEN;
    if (name.startsWith(QLatin1Char(' ')))
        return ResourceIds::TABLE_NAME_LEADING_BLANK;
    return 0;
}
