#pragma once

#include "Kivo_TablesStore.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// The value tables of the form: their store in memory and the dialog that
// lists, adds, edits and deletes them. The main form keeps one for its
// lifetime and asks store() for table names and values.
class Kivo_TablesFrm : public QDialog
{
    Q_OBJECT

public:
    explicit Kivo_TablesFrm(QWidget *parent = nullptr);

    // Reads the stored tables and shows the dialog modally. OK saves the
    // tables and answers true; Cancel or closing answers false and puts the
    // tables back as they were read.
    bool Init();

    Kivo_TablesStore &store() { return m_store; }
    const Kivo_TablesStore &store() const { return m_store; }

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
    QString deleteQuestion(const QString &tableName) const;

    Kivo_TablesStore m_store;

    QListWidget *m_lstTables;
    QPushButton *m_btnAdd;
    QPushButton *m_btnEdit;
    QPushButton *m_btnDelete;
};
