#pragma once

#include "tables/Kivo_TablesStore.h"

#include <platform/config/ConfigDatabase.h>

#include <ScratchStore.h>

using Tables = QList<TableRecord>;

inline const TableRecord Sex{QStringLiteral("Sex"), {QStringLiteral("M"), QStringLiteral("F")}};
inline const TableRecord Side{QStringLiteral("Side"), {}};

// A scratch store with the tables written and read back in the stored format.
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
};
