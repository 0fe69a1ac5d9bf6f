#pragma once

#include "TableRecord.h"

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
class Kivo_TablesStore
{
public:
    static constexpr const char *CFG_TABLES_PATH =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\appearance\\tables";

    // Replaces the tables by the stored ones. A missing or empty branch is
    // logged and leaves the tables as they are.
    void ReadCfgTables();
    // Replaces the stored branch by the tables, as one store transaction.
    void SaveCfgTables() const;

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
    void setTables(const QList<TableRecord> &tables) { m_tables = tables; }
    void appendTable(const TableRecord &table) { m_tables.append(table); }
    // Both throw Err 9 (subscript out of range) for indexes outside the list.
    TableRecord &tableAt(int index);
    void RemoveTableEntries(int start, int count);

private:
    int FindTable(const QString &name) const;

    QList<TableRecord> m_tables;
};
