#include "Kivo_TablesFrm.h"

#include "Kivo_TableValuesFrm.h"
#include "ListSelection.h"
#include "OkCancelButtons.h"
#include "common/QV_MsgBox.h"
#include "common/QV_Resource.h"
#include "common/ResourceIds.h"

#include <QEvent>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// Puts the texts where the resource text says "%s", in order; anything
// after a further "%s" is not part of the result.
QString fillIn(const QString &text, const QStringList &texts)
{
    const QStringList pieces = text.split(QStringLiteral("%s"));
    QString filled = pieces.at(0);
    for (int i = 0; i < texts.size(); ++i)
        filled += texts.at(i) + pieces.value(i + 1);
    return filled;
}

} // namespace

Kivo_TablesFrm::Kivo_TablesFrm(Kivo_TablesStore &store, QWidget *parent)
    : QDialog(parent), m_store(store), m_lstTables(new QListWidget(this)),
      m_btnAdd(new QPushButton(this)), m_btnEdit(new QPushButton(this)),
      m_btnDelete(new QPushButton(this))
{
    m_lstTables->setObjectName(QStringLiteral("lstTables"));
    m_lstTables->setSelectionMode(QAbstractItemView::SingleSelection);
    m_btnAdd->setObjectName(QStringLiteral("btnAdd"));
    m_btnEdit->setObjectName(QStringLiteral("btnEdit"));
    m_btnDelete->setObjectName(QStringLiteral("btnDelete"));
    for (QPushButton *button : {m_btnAdd, m_btnEdit, m_btnDelete})
        button->setAutoDefault(false);
    auto *buttons = new OkCancelButtons(this);

    // Edit and Delete wait for the user to choose a table: by a click, also on
    // the row already selected, or by moving the selection with the keys.
    connect(m_lstTables, &QListWidget::itemSelectionChanged, this, &Kivo_TablesFrm::updateButtons);
    connect(m_lstTables, &QListWidget::itemClicked, this, &Kivo_TablesFrm::updateButtons);
    connect(m_btnAdd, &QPushButton::clicked, this, &Kivo_TablesFrm::addTable);
    connect(m_btnEdit, &QPushButton::clicked, this, &Kivo_TablesFrm::editTable);
    connect(m_btnDelete, &QPushButton::clicked, this, &Kivo_TablesFrm::deleteTable);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_lstTables, 0, 0, 4, 1);
    layout->addWidget(m_btnAdd, 0, 1);
    layout->addWidget(m_btnEdit, 1, 1);
    layout->addWidget(m_btnDelete, 2, 1);
    layout->setRowStretch(3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    resize(360, 300);

    QV_Resource::ApplyDialogLoadTreatment(this, [this, buttons] {
        buttons->setCaptions();
        m_btnAdd->setText(QV_Resource::GetResString(ResourceIds::ADD_BUTTON));
        m_btnEdit->setText(QV_Resource::GetResString(ResourceIds::EDIT_BUTTON));
        m_btnDelete->setText(QV_Resource::GetResString(ResourceIds::DELETE_BUTTON));
        setWindowTitle(QV_Resource::GetResString(ResourceIds::TABLES_CAPTION));
    });
}

bool Kivo_TablesFrm::Init()
{
    m_store.ReadCfgTables();
    // The names as read go with the tables: they decide what the save
    // renames in the layouts.
    const Kivo_TablesStore opened = m_store;
    // The rows mirror the tables in memory, also when the store had none
    // and the read kept what was there.
    m_lstTables->clear();
    for (const TableRecord &table : opened.tables())
        m_lstTables->addItem(table.TableName);
    updateButtons();

    if (exec() != QDialog::Accepted) {
        // Nothing the user did not confirm may reach the form's drop-downs.
        m_store = opened;
        return false;
    }
    m_store.SaveCfgTables();
    return true;
}

void Kivo_TablesFrm::setTableUsers(std::function<QStringList(const QString &)> users)
{
    m_tableUsers = std::move(users);
}

bool Kivo_TablesFrm::editStoredTables(QWidget *parent)
{
    Kivo_TablesStore store;
    Kivo_TablesFrm dialog(store, parent);
    return dialog.Init();
}

bool Kivo_TablesFrm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && m_lstTables->count() > 0 &&
        selectedRow(m_lstTables) < 0) {
        // Shows where the keys start; it is not the user's choice, so it
        // enables nothing.
        const QSignalBlocker quiet(m_lstTables);
        m_lstTables->setCurrentRow(0);
    }
    return QDialog::event(event);
}

void Kivo_TablesFrm::addTable()
{
    Kivo_TableValuesFrm editor(this);
    QStringList values;
    QString name;
    bool cancelled = true;
    editor.Init(values, name, cancelled, m_store);
    if (cancelled || name.isEmpty() || values.isEmpty())
        return;
    m_store.appendTable({name, values});
    m_lstTables->addItem(name);
}

void Kivo_TablesFrm::editTable()
{
    const int row = selectedRow(m_lstTables);
    if (row < 0)
        return;
    // Rows and tables share their order, so the row picks the table even
    // where two tables carry the same name.
    TableRecord &table = m_store.tableAt(row);
    QListWidgetItem *item = m_lstTables->item(row);
    Kivo_TableValuesFrm editor(this);
    bool cancelled = true;
    editor.Init(table.TableValues, table.TableName, cancelled, m_store);
    if (item->text() != table.TableName)
        item->setText(table.TableName);
}

void Kivo_TablesFrm::deleteTable()
{
    const int row = selectedRow(m_lstTables);
    if (row < 0)
        return;
    if (QV_MsgBox::AskQuestionCode(deleteQuestion(row), 0) == QV_MsgBox::AnswerYes) {
        m_store.RemoveTableEntries(row, 1);
        delete m_lstTables->takeItem(row);
    }
    if (row > 0)
        m_lstTables->setCurrentRow(row - 1);
    else if (m_lstTables->count() > 0 && selectedRow(m_lstTables) < 0)
        m_lstTables->setCurrentRow(0);
    updateButtons();
}

void Kivo_TablesFrm::updateButtons()
{
    const bool selected = selectedRow(m_lstTables) >= 0;
    m_btnEdit->setEnabled(selected);
    m_btnDelete->setEnabled(selected);
}

QString Kivo_TablesFrm::deleteQuestion(int row) const
{
    const QString name = m_store.tables().at(row).TableName;
    const QString storedName = m_store.storedName(row);
    // A table added in this dialog feeds no field yet.
    const QStringList users =
        m_tableUsers && !storedName.isEmpty() ? m_tableUsers(storedName) : QStringList();
    if (users.isEmpty())
        return fillIn(QV_Resource::GetResString(ResourceIds::DELETE_TABLE_QUESTION), {name});
    QStringList quoted;
    for (const QString &caption : users)
        quoted.append(QLatin1Char('"') + caption + QLatin1Char('"'));
    return fillIn(QV_Resource::GetResString(ResourceIds::DELETE_USED_TABLE_QUESTION),
                  {name, quoted.join(QStringLiteral(", "))});
}
