#pragma once

#include "TableRecord.h"

#include <QHash>
#include <QList>

// The value tables in memory and their branch of the configuration store
// (the store the platform names, opened afresh for each read and save).
//
// Stored layout below CFG_TABLES_PATH, numbered from 1 in list order:
//   tableN\name         the name of table N
//   tableN\valueM\name  value M of table N
// Reading does not rely on those key names: the root's children in store
// order are the tables, each table's children with a non-empty "name" are
// its values.
//
// The layouts' drop-down fields name their tables, so a table renamed in
// memory is renamed in the stored layouts too when the tables are saved.
class Kivo_TablesStore
{
public:
    static constexpr const char *CFG_TABLES_PATH =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\appearance\\tables";

    // Replaces the tables by the stored ones. A missing or empty branch is
    // logged and leaves the tables as they are.
    void ReadCfgTables();
    // Replaces the stored branch by the tables and, in the user's and the
    // shipped layout, gives every field that names a renamed table its new
    // name: one store transaction, so a failure leaves both as they were.
    void SaveCfgTables();
    // What the last save renamed, the name as read mapped to the name as
    // saved. Apply it in one pass: swapped names map both ways.
    QHash<QString, QString> lastRenames() const { return m_lastRenames; }

    // All names in list order; none when there are no tables or the first
    // one has no name.
    QStringList GetTables() const;
    // Leave the caller's values (and name) untouched when there is no such
    // table; a table without values hands back an empty list.
    void GetValuesOfTable(const QString &name, QStringList &values) const;
    void GetValuesOfTableByIndex(qint32 index, QStringList &values, QString &name) const;
    bool IsTableExist(const QString &name) const;
    bool IsTablesDataEmpty() const { return m_tables.isEmpty(); }

    const QList<TableRecord> &tables() const { return m_tables; }
    // Tables from elsewhere: none of them renames a stored one.
    void setTables(const QList<TableRecord> &tables);
    void appendTable(const TableRecord &table);
    // Both throw Err 9 (subscript out of range) for indexes outside the list.
    // A table renamed through tableAt() is renamed in the layouts at the save.
    TableRecord &tableAt(int index);
    void RemoveTableEntries(int start, int count);
    // The name the layouts know the table by; empty for a table they cannot
    // name (see m_storedNames).
    QString storedName(int index) const { return m_storedNames.value(index); }

private:
    int FindTable(const QString &name) const;
    QHash<QString, QString> renamesSinceStored() const;
    void rememberStoredNames();

    QList<TableRecord> m_tables;
    // Parallel to m_tables: the name each table had when it was read or last
    // saved, the one the layouts know it by. Empty for a table added since,
    // and for one whose name an earlier table had too (a field naming it got
    // the earlier one's values).
    QStringList m_storedNames;
    QHash<QString, QString> m_lastRenames;
};
