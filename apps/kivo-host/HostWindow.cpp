#include "HostWindow.h"

#include "EntryController.h"
#include "RecordsDatabase.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>

namespace {

enum Column { PatientColumn, ModalityColumn, DateColumn, DescriptionColumn, TeachingFileColumn };

} // namespace

HostWindow::HostWindow(EntryController &controller, RecordsDatabase &records, QWidget *parent)
    : QMainWindow(parent), m_controller(controller), m_records(records),
      m_studies(new QTableWidget(this))
{
    setWindowTitle(QStringLiteral("kivo-host - Studies"));
    m_studies->setObjectName(QStringLiteral("studies"));
    m_studies->setColumnCount(5);
    m_studies->setHorizontalHeaderLabels(
        {QStringLiteral("Patient"), QStringLiteral("Modality"), QStringLiteral("Study date"),
         QStringLiteral("Description"), QStringLiteral("Teaching file")});
    m_studies->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_studies->setSelectionMode(QAbstractItemView::SingleSelection);
    m_studies->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_studies->verticalHeader()->hide();
    m_studies->horizontalHeader()->setSectionResizeMode(DescriptionColumn, QHeaderView::Stretch);
    setCentralWidget(m_studies);
    resize(820, 360);

    createActions();
    // Enter or a double click on a study opens its entry.
    connect(m_studies, &QTableWidget::activated, this, [this] { openSelected(false); });
    connect(m_studies, &QTableWidget::itemSelectionChanged, this, &HostWindow::updateActions);
    connect(&m_controller, &EntryController::entryChanged, this, &HostWindow::updateActions);
    // An ended entry hides its window; the keyboard carries on in the study
    // list rather than in no window at all.
    connect(&m_controller, &EntryController::entryChanged, this, [this] {
        if (!m_controller.hasEntry())
            activateWindow();
    });
    connect(&m_controller, &EntryController::recordSaved, this, &HostWindow::reloadStudies);
    connect(&m_controller, &EntryController::submitCompleted, this, &HostWindow::showSubmitOutcome);
    connect(&m_controller, &EntryController::formClosed, this, [this] {
        statusBar()->showMessage(QStringLiteral("The teaching-file window was closed; the entry "
                                                "stays open until you close it (Ctrl+W)."));
    });
    connect(&m_controller, &EntryController::failed, this, &HostWindow::showFailure);

    reloadStudies();
    if (m_studies->rowCount() > 0)
        m_studies->selectRow(0);
    m_studies->setFocus();
    updateActions();
}

void HostWindow::createActions()
{
    const auto add = [this](const QString &text, const QKeySequence &key, auto slot) {
        auto *action = new QAction(text, this);
        action->setShortcut(key);
        // The teaching-file window is a top-level window of its own; the
        // workstation's keys must work there too. None of them is one of
        // the window's own keys, and a modal dialog still shadows them.
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_open = add(QStringLiteral("&Open Entry"), QKeySequence(Qt::CTRL | Qt::Key_O),
                 [this] { openSelected(false); });
    m_openReadOnly = add(QStringLiteral("Open &Read-Only"), QKeySequence(Qt::CTRL | Qt::Key_R),
                         [this] { openSelected(true); });
    m_close = add(QStringLiteral("&Close Entry"), QKeySequence(Qt::CTRL | Qt::Key_W),
                  [this] { m_controller.closeEntry(); });
    m_minimise = add(QStringLiteral("&Minimise"), QKeySequence(Qt::CTRL | Qt::Key_M),
                     [this] { m_controller.minimise(); });
    m_restore = add(QStringLiteral("Re&store"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M),
                    [this] { m_controller.restore(); });
    // Not QKeySequence::Quit: some platforms bind no key to it.
    auto *quit =
        add(QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    QMenu *entry = menuBar()->addMenu(QStringLiteral("&Entry"));
    entry->addActions({m_open, m_openReadOnly, m_close});
    entry->addSeparator();
    entry->addActions({m_minimise, m_restore});
    entry->addSeparator();
    entry->addAction(quit);

    QToolBar *tools = addToolBar(QStringLiteral("Entry"));
    tools->setObjectName(QStringLiteral("entryTools"));
    tools->addActions({m_open, m_openReadOnly, m_close, m_minimise, m_restore});
}

void HostWindow::reloadStudies()
{
    const int selectedRow = m_studies->currentRow();
    try {
        m_studyList = m_records.studies();
    } catch (const std::exception &err) {
        showFailure(QString::fromLocal8Bit(err.what()));
        return;
    }
    m_studies->setRowCount(m_studyList.size());
    for (int row = 0; row < m_studyList.size(); ++row) {
        const Study &study = m_studyList.at(row);
        const QStringList cells = {study.patient, study.modality, study.studyDate,
                                   study.description,
                                   study.hasTeachingFile ? QStringLiteral("Yes") : QString()};
        for (int column = 0; column < cells.size(); ++column)
            m_studies->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    m_studies->resizeColumnsToContents();
    if (selectedRow >= 0 && selectedRow < m_studies->rowCount())
        m_studies->selectRow(selectedRow);
}

const Study *HostWindow::selectedStudy() const
{
    const int row = m_studies->currentRow();
    return row >= 0 && row < m_studyList.size() ? &m_studyList.at(row) : nullptr;
}

void HostWindow::openSelected(bool readOnly)
{
    if (const Study *study = selectedStudy()) {
        const Study chosen = *study; // the list is reloaded if closing saves
        if (m_controller.openEntry(chosen, readOnly)) {
            statusBar()->showMessage(
                QStringLiteral("Teaching file of %1%2")
                    .arg(chosen.patient, readOnly ? QStringLiteral(" (read-only)") : QString()));
        }
    }
}

void HostWindow::updateActions()
{
    const bool entry = m_controller.hasEntry();
    m_open->setEnabled(selectedStudy() != nullptr);
    m_openReadOnly->setEnabled(selectedStudy() != nullptr);
    m_close->setEnabled(entry);
    m_minimise->setEnabled(entry);
    m_restore->setEnabled(entry);
}

// A user without a terminal learns the reason here: in the status bar, and
// in a message box when the record could not be saved.
void HostWindow::showSubmitOutcome(qint32 status, const QString &reason)
{
    if (status == EntryController::Saved) {
        statusBar()->showMessage(QStringLiteral("Teaching file saved."));
        return;
    }
    const QString message = QStringLiteral("The teaching file was not saved: %1").arg(reason);
    statusBar()->showMessage(message);
    if (status == EntryController::SaveFailed)
        QMessageBox::warning(this, QStringLiteral("kivo-host"), message);
}

void HostWindow::showFailure(const QString &description)
{
    statusBar()->showMessage(description);
    QMessageBox::critical(this, QStringLiteral("kivo-host"), description);
}

void HostWindow::closeEvent(QCloseEvent *event)
{
    if (m_controller.closeEntry())
        event->accept();
    else
        event->ignore();
}
