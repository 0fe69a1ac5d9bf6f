#pragma once

#include <QDialog>

class Kivo_TablesStore;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// Edits one value table: its name and its ordered values.
class Kivo_TableValuesFrm : public QDialog
{
    Q_OBJECT

public:
    explicit Kivo_TableValuesFrm(QWidget *parent = nullptr);

    // Shows the dialog modally on name and values. On OK, they receive the
    // edited name and values and cancelled is false; otherwise they are
    // left as they were and cancelled is true. owner holds the other tables,
    // whose names a renamed table may not take.
    void Init(QStringList &values, QString &name, bool &cancelled, const Kivo_TablesStore &owner);

private:
    void setCaptions();
    void addValue();
    void editValue(QListWidgetItem *item);
    void deleteValue();
    void confirm();
    // The message for the first rule the name breaks; 0 when it is acceptable.
    qint32 nameErrorId(const QString &name) const;

    QLabel *m_lblTableName;
    QLineEdit *m_txtTableName;
    QListWidget *m_lstValues;
    QPushButton *m_btnAdd;
    QPushButton *m_btnDelete;

    const Kivo_TablesStore *m_owner = nullptr;
    QString m_openingName;
};
