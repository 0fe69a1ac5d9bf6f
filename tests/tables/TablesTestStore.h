#pragma once

#include "config/Kivo_CFGManager.h"
#include "tables/Kivo_TablesStore.h"

#include <platform/config/ConfigDatabase.h>

#include <ScratchStore.h>

using Tables = QList<TableRecord>;

inline const TableRecord Sex{QStringLiteral("Sex"), {QStringLiteral("M"), QStringLiteral("F")}};
inline const TableRecord Side{QStringLiteral("Side"), {}};

// A scratch store with the tables written and read back in the stored format,
// and layouts whose fields name them.
class TablesTestStore : public ScratchStore
{
protected:
    static QString rootPath() { return QLatin1String(Kivo_TablesStore::CFG_TABLES_PATH); }

    static void store(const QList<TableRecord> &tables)
    {
        Kivo_TablesStore writer;
        writer.setTables(tables);
        writer.SaveCfgTables();
    }

    static Tables readBack()
    {
        Kivo_TablesStore reader;
        reader.ReadCfgTables();
        return reader.tables();
    }

    static QStringList layoutPaths()
    {
        return {QLatin1String(Kivo_CFGManager::LAYOUT_PATH),
                QLatin1String(Kivo_CFGManager::DEFAULT_LAYOUT_PATH)};
    }

    // Field n of both layouts is fed by table n - 1 of the list.
    static void nameInLayouts(const QStringList &tables)
    {
        ConfigDatabase database;
        for (const QString &layout : layoutPaths()) {
            for (int i = 0; i < tables.size(); ++i)
                database.WriteString(fieldTableKey(layout, i), tables.at(i));
        }
    }

    // The tables the fields of a layout name, field 1 first.
    static QStringList namedIn(const QString &layout)
    {
        ConfigDatabase database;
        QStringList tables;
        for (int i = 0; database.KeyExists(fieldTableKey(layout, i)); ++i)
            tables.append(database.ReadString(fieldTableKey(layout, i)));
        return tables;
    }

private:
    static QString fieldTableKey(const QString &layout, int index)
    {
        return QStringLiteral("%1\\set%2\\text\\table").arg(layout).arg(index + 1);
    }
};
