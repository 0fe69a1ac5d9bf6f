#pragma once

#include "Kivo_TablesStore.h"

#include <QDialog>

#include <functional>

class QListWidget;
class QPushButton;

// The dialog that lists, adds, edits and deletes the value tables of a
// store its owner keeps: the main form holds the store for its lifetime and
// asks it for table names and values, also while no dialog exists.
class Kivo_TablesFrm : public QDialog
{
    Q_OBJECT

public:
    explicit Kivo_TablesFrm(Kivo_TablesStore &store, QWidget *parent = nullptr);

    // Reads the stored tables and shows the dialog modally. OK saves the
    // tables and answers true; Cancel or closing answers false and puts the
    // tables back as they were read.
    bool Init();

    // Answers the captions of the fields a table feeds, so that deleting it
    // first asks naming them. Asked with the name the fields know the table
    // by: its name as read, before any rename in the dialog.
    void setTableUsers(std::function<QStringList(const QString &table)> users);

    // Opens the dialog on the tables of the current store, as the design
    // toolbar does; true when they were changed and saved.
    static bool editStoredTables(QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;

private:
    void setCaptions();
    void addTable();
    void editTable();
    void deleteTable();
    void updateButtons();
    QString deleteQuestion(int row) const;

    Kivo_TablesStore &m_store;
    std::function<QStringList(const QString &table)> m_tableUsers;

    QListWidget *m_lstTables;
    QPushButton *m_btnAdd;
    QPushButton *m_btnEdit;
    QPushButton *m_btnDelete;
};
