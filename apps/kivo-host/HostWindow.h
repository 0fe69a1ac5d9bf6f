#pragma once

#include <QMainWindow>

class EntryController;
class QAction;
class QTableWidget;
class RecordsDatabase;
struct Study;

// The workstation's main window: the study list and the commands on the
// selected study's teaching-file entry.
class HostWindow : public QMainWindow
{
    Q_OBJECT

public:
    HostWindow(EntryController &controller, RecordsDatabase &records, QWidget *parent = nullptr);

protected:
    // Quitting closes the open entry first, so unsaved changes are asked
    // about rather than lost.
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void reloadStudies();
    void openSelected(bool readOnly);
    void updateActions();
    void showSubmitOutcome(qint32 status, const QString &reason);
    void showFailure(const QString &description);
    const Study *selectedStudy() const;

    EntryController &m_controller;
    RecordsDatabase &m_records;
    QTableWidget *m_studies;
    QList<Study> m_studyList;
    QAction *m_open = nullptr;
    QAction *m_openReadOnly = nullptr;
    QAction *m_close = nullptr;
    QAction *m_minimise = nullptr;
    QAction *m_restore = nullptr;
};
