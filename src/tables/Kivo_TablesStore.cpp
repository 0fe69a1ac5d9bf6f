#include "Kivo_TablesStore.h"

#include "common/QV_VBLogger.h"
#include "platform/Err.h"
#include "platform/config/ConfigDatabase.h"

namespace {

const QString LogSource = QStringLiteral("Kivo_TablesFrm");
// The run-time error number of an index outside an array.
constexpr int SubscriptOutOfRange = 9;

QString tablePath(int tableIndex)
{
    return QStringLiteral("%1\\table%2")
        .arg(QLatin1String(Kivo_TablesStore::CFG_TABLES_PATH))
        .arg(tableIndex + 1);
}

QString valuePath(int tableIndex, int valueIndex)
{
    return QStringLiteral("%1\\value%2\\name").arg(tablePath(tableIndex)).arg(valueIndex + 1);
}

TableRecord readTable(const ConfigTree &table)
{
    TableRecord record;
    record.TableName = table.ReadString(QStringLiteral("name"));
    // The table's own "name" key has no "name" below it and drops out here
    // like any value whose text is empty.
    const int childCount = table.ChildCount(QString());
    for (int i = 0; i < childCount; ++i) {
        const ConfigTreePtr child = table.ChildAt(QString(), i);
        if (!child)
            continue;
        const QString value = child->ReadString(QStringLiteral("name"));
        if (!value.isEmpty())
            record.TableValues.append(value);
    }
    return record;
}

} // namespace

void Kivo_TablesStore::ReadCfgTables()
{
    QV_VBLogger::WriteLog(QStringLiteral("Before reading the tables from the cfg"), LogSource);
    ConfigDatabase database;
    const ConfigTreePtr root = database.OpenSubTree(QLatin1String(CFG_TABLES_PATH));
    QV_VBLogger::WriteLog(QStringLiteral("After reading the tables from the cfg"), LogSource);

    const int tableCount = root ? root->ChildCount(QString()) : 0;
    if (tableCount == 0) {
        QV_VBLogger::WriteLog(QStringLiteral("No tables Define in the cfg"), LogSource);
        return;
    }
    // Built afresh: a table keeps nothing that an earlier read left at its index.
    QList<TableRecord> tables;
    for (int i = 0; i < tableCount; ++i) {
        if (const ConfigTreePtr table = root->ChildAt(QString(), i))
            tables.append(readTable(*table));
    }
    m_tables = tables;
}

void Kivo_TablesStore::SaveCfgTables() const
{
    ConfigDatabase database;
    // Readers see the old tables or the new ones, never a mixture, even when
    // the save breaks off half-way.
    ConfigTransaction transaction = database.transaction();
    database.DeleteKey(QLatin1String(CFG_TABLES_PATH));
    for (int i = 0; i < m_tables.size(); ++i) {
        const TableRecord &table = m_tables.at(i);
        database.WriteString(tablePath(i) + QStringLiteral("\\name"), table.TableName);
        for (int j = 0; j < table.TableValues.size(); ++j)
            database.WriteString(valuePath(i, j), table.TableValues.at(j));
    }
    transaction.commit();
}

QStringList Kivo_TablesStore::GetTables() const
{
    if (m_tables.isEmpty() || m_tables.first().TableName.isEmpty())
        return {};
    QStringList names;
    for (const TableRecord &table : m_tables)
        names.append(table.TableName);
    return names;
}

void Kivo_TablesStore::GetValuesOfTable(const QString &name, QStringList &values) const
{
    const int index = FindTable(name);
    if (index >= 0)
        values = m_tables.at(index).TableValues;
}

void Kivo_TablesStore::GetValuesOfTableByIndex(qint32 index, QStringList &values,
                                               QString &name) const
{
    if (index < 0 || index >= m_tables.size())
        return;
    values = m_tables.at(index).TableValues;
    name = m_tables.at(index).TableName;
}

bool Kivo_TablesStore::IsTableExist(const QString &name) const
{
    return FindTable(name) >= 0;
}

TableRecord &Kivo_TablesStore::tableAt(int index)
{
    if (index < 0 || index >= m_tables.size())
        throw Err(SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    return m_tables[index];
}

void Kivo_TablesStore::RemoveTableEntries(int start, int count)
{
    if (start < 0 || count < 0 || start + count > m_tables.size())
        throw Err(SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    m_tables.remove(start, count);
}

int Kivo_TablesStore::FindTable(const QString &name) const
{
    for (int i = 0; i < m_tables.size(); ++i) {
        if (m_tables.at(i).TableName == name)
            return i;
    }
    return -1;
}
