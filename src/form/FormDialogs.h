#pragma once

#include <QStringList>

#include <functional>

class Kivo_ACRCodeFrm;
class Kivo_AngioCodeFrm;
class Kivo_TablesFrm;
class Kivo_TablesStore;
class QWidget;

// The dialogs the form opens when the user asks for one: the two code
// pickers and the value tables editor. Each is built the first time it is
// wanted, not when the form loads, so an entry that is only shown and filled
// never pays for them. They are children of the form; Uninitialize lets them
// go, and a later use builds them afresh.
class FormDialogs
{
public:
    // The captions of the fields a value table feeds.
    using TableUsers = std::function<QStringList(const QString &table)>;

    FormDialogs(QWidget *form, Kivo_TablesStore &tables, TableUsers tableUsers);

    Kivo_ACRCodeFrm &acrPicker();
    Kivo_AngioCodeFrm &angioPicker();
    Kivo_TablesFrm &tablesFrm();

    // Releases the pickers' stores and trees and deletes every dialog built.
    void Uninitialize();

private:
    QWidget *m_form;
    Kivo_TablesStore &m_tables;
    TableUsers m_tableUsers;
    Kivo_ACRCodeFrm *m_acrPicker = nullptr;
    Kivo_AngioCodeFrm *m_angioPicker = nullptr;
    Kivo_TablesFrm *m_tablesFrm = nullptr;
};
