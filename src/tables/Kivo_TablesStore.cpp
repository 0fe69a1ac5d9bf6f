#include "Kivo_TablesStore.h"

#include "common/QV_VBLogger.h"
#include "platform/Err.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"

#include <QRegularExpression>

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

// The layouts whose drop-down fields name tables (setN\kind\table): the
// user's, and the shipped one that a reset to the default layout reads.
const char *const LayoutPaths[] = {
    "Corvalis\\system\\applications\\quovira\\teachingfile\\appearance\\form_layout",
    "Corvalis\\system\\applications\\quovira\\teachingfile\\appearance\\default_layout",
};

void renameInLayouts(ConfigDatabase &database, const QHash<QString, QString> &renames)
{
    if (renames.isEmpty())
        return;
    static const QRegularExpression setKey(QStringLiteral("^set[0-9]+$"),
                                           QRegularExpression::CaseInsensitiveOption);
    for (const char *layoutPath : LayoutPaths) {
        const ConfigTreePtr layout = database.OpenSubTree(QLatin1String(layoutPath));
        if (!layout)
            continue;
        const QStringList sets = layout->ChildNames(QString()).names();
        for (const QString &set : sets) {
            if (!setKey.match(set).hasMatch())
                continue;
            const QStringList kinds = layout->ChildNames(set).names();
            for (const QString &kind : kinds) {
                const QString key = set + QLatin1Char('\\') + kind + QStringLiteral("\\table");
                // Each key is looked up once, so names swapped between two
                // tables are not swapped back.
                const auto renamed = renames.constFind(layout->ReadString(key));
                if (renamed != renames.constEnd())
                    layout->WriteString(key, *renamed);
            }
        }
    }
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
    // One subtree load, not a query per table and value: on a server store
    // each of those would be a round trip.
    const ConfigTreePtr root = ConfigDatabase().LoadTree(QLatin1String(CFG_TABLES_PATH));
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
    rememberStoredNames();
}

void Kivo_TablesStore::SaveCfgTables()
{
    const QHash<QString, QString> renames = renamesSinceStored();
    ConfigDatabase database;
    // Readers see the old tables and layouts or the new ones, never a
    // mixture, even when the save breaks off half-way.
    ConfigTransaction transaction = database.transaction();
    renameInLayouts(database, renames);
    database.DeleteKey(QLatin1String(CFG_TABLES_PATH));
    for (int i = 0; i < m_tables.size(); ++i) {
        const TableRecord &table = m_tables.at(i);
        database.WriteString(tablePath(i) + QStringLiteral("\\name"), table.TableName);
        for (int j = 0; j < table.TableValues.size(); ++j)
            database.WriteString(valuePath(i, j), table.TableValues.at(j));
    }
    transaction.commit();
    m_lastRenames = renames;
    rememberStoredNames();
}

void Kivo_TablesStore::setTables(const QList<TableRecord> &tables)
{
    m_tables = tables;
    m_storedNames = QStringList(tables.size(), QString());
}

void Kivo_TablesStore::appendTable(const TableRecord &table)
{
    m_tables.append(table);
    m_storedNames.append(QString());
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
    m_storedNames.remove(start, count);
}

int Kivo_TablesStore::FindTable(const QString &name) const
{
    for (int i = 0; i < m_tables.size(); ++i) {
        if (m_tables.at(i).TableName == name)
            return i;
    }
    return -1;
}

QHash<QString, QString> Kivo_TablesStore::renamesSinceStored() const
{
    QHash<QString, QString> renames;
    for (int i = 0; i < m_tables.size(); ++i) {
        const QString &stored = m_storedNames.at(i);
        const QString &name = m_tables.at(i).TableName;
        if (!stored.isEmpty() && stored != name)
            renames.insert(stored, name);
    }
    return renames;
}

void Kivo_TablesStore::rememberStoredNames()
{
    m_storedNames.clear();
    for (const TableRecord &table : m_tables) {
        const bool shadowed = m_storedNames.contains(table.TableName);
        m_storedNames.append(shadowed ? QString() : table.TableName);
    }
}
