// The value tables store without any window: the stored format, reading,
// the queries the form relies on, and saving as one change.
#include "TablesTestStore.h"

#include "platform/Err.h"

#include <platform/config/ConfigValue.h>

namespace {

const bool started = startOnScratchStore();

using TablesStoreTest = TablesTestStore;

// Guards the exact stored layout other tools read, numbering from 1, that
// stale keys of an earlier save are removed rather than left behind, and
// that no tables at all leave no branch.
TEST_F(TablesStoreTest, SaveWritesTheStoredFormat)
{
    ConfigDatabase database;
    database.WriteString(rootPath() + "\\table7\\name", "Old");
    store({Sex, Side});

    const ConfigTreePtr root = database.OpenSubTree(rootPath());
    ASSERT_TRUE(root);
    const auto at = [&root](const char *key) { return root->ReadString(QLatin1String(key)); };
    EXPECT_EQ(at("table1\\name"), "Sex");
    EXPECT_EQ(at("table1\\value1\\name"), "M");
    EXPECT_EQ(at("table1\\value2\\name"), "F");
    EXPECT_EQ(at("table2\\name"), "Side");
    EXPECT_EQ(root->ChildCount(QString()), 2);
    EXPECT_EQ(root->ChildCount("table1"), 3);
    EXPECT_EQ(root->ChildCount("table2"), 1);
    EXPECT_EQ(readBack(), (Tables{Sex, Side}));

    store({});
    EXPECT_FALSE(database.KeyExists(rootPath()));
}

// Guards reading by position rather than by key name, skipping a value with
// an empty text, and a re-read keeping neither the values an earlier read
// left at a position (they belong to another table) nor tables beyond the
// end of a shorter store.
TEST_F(TablesStoreTest, ReadFollowsTheStoreInOrder)
{
    ConfigDatabase database;
    const auto write = [&database, this](const char *key, const QString &value) {
        database.WriteString(rootPath() + QLatin1Char('\\') + QLatin1String(key), value);
    };
    write("a\\name", "Colour");
    write("a\\v1\\name", "red");
    write("a\\v2\\name", QString());
    write("a\\v3\\name", "blue");
    write("b\\name", "Size");
    write("b\\v1\\name", " S");
    const TableRecord colour{"Colour", {"red", "blue"}};
    EXPECT_EQ(readBack(), (Tables{colour, {"Size", {" S"}}}));

    store({Sex, colour, Side});
    Kivo_TablesStore tables;
    tables.ReadCfgTables();
    store({colour, Side});
    tables.ReadCfgTables();
    EXPECT_EQ(tables.tables(), (Tables{colour, Side}));
}

// Guards the rule that a missing branch is no error and keeps what memory
// holds, and that it is logged for support.
TEST_F(TablesStoreTest, MissingBranchKeepsTablesAndIsLogged)
{
    const QString source = "Kivo_TablesFrm";
    const QString message = "No tables Define in the cfg";
    const int before = TestLog::count(source, message);
    Kivo_TablesStore tables;
    tables.setTables({Sex});
    tables.ReadCfgTables();
    EXPECT_EQ(tables.tables(), Tables{Sex});
    EXPECT_EQ(TestLog::count(source, message), before + 1);
}

// Guards the queries the form builds its drop-downs from: exact,
// case-sensitive names, callers' arrays left alone when nothing matches, a
// valueless table answered with no values, and no names while the first
// table is nameless.
TEST_F(TablesStoreTest, Queries)
{
    Kivo_TablesStore tables;
    EXPECT_TRUE(tables.IsTablesDataEmpty());
    tables.setTables({Sex, Side});
    EXPECT_FALSE(tables.IsTablesDataEmpty());
    EXPECT_EQ(tables.GetTables(), (QStringList{"Sex", "Side"}));
    EXPECT_TRUE(tables.IsTableExist("Sex"));
    EXPECT_FALSE(tables.IsTableExist("sex"));
    EXPECT_FALSE(tables.IsTableExist("Sex "));

    const QStringList kept{"kept"};
    QStringList values = kept;
    tables.GetValuesOfTable("sex", values);
    EXPECT_EQ(values, kept);
    tables.GetValuesOfTable("Sex", values);
    EXPECT_EQ(values, Sex.TableValues);
    tables.GetValuesOfTable("Side", values);
    EXPECT_TRUE(values.isEmpty());

    QString name = "kept";
    for (qint32 outside : {-1, 2}) {
        values = kept;
        tables.GetValuesOfTableByIndex(outside, values, name);
        EXPECT_EQ(name, "kept");
        EXPECT_EQ(values, kept);
    }
    tables.GetValuesOfTableByIndex(0, values, name);
    EXPECT_EQ(name, "Sex");
    EXPECT_EQ(values, Sex.TableValues);

    tables.setTables({{QString(), {"x"}}, Side});
    EXPECT_TRUE(tables.GetTables().isEmpty());
}

// Guards removal: order kept, indexes outside the list are error 9 and
// change nothing, and the only table leaves none (not a nameless one that
// would be stored).
TEST_F(TablesStoreTest, RemoveTableEntries)
{
    Kivo_TablesStore tables;
    tables.setTables({Sex, {"Colour", {"red"}}, Side});
    tables.RemoveTableEntries(1, 1);
    EXPECT_EQ(tables.tables(), (Tables{Sex, Side}));

    for (auto [start, count] : {std::pair{-1, 1}, std::pair{2, 1}, std::pair{1, 2}}) {
        try {
            tables.RemoveTableEntries(start, count);
            ADD_FAILURE() << "no error for " << start << "+" << count;
        } catch (const Err &error) {
            EXPECT_EQ(error.number(), 9);
        }
    }
    EXPECT_EQ(tables.tables(), (Tables{Sex, Side}));

    tables.setTables({Sex});
    tables.RemoveTableEntries(0, 1);
    EXPECT_TRUE(tables.IsTablesDataEmpty());
}

// Guards against a save that breaks off half-way leaving a mixture: the
// second table's value is too long for the store, so the save fails after
// the layouts were renamed, the branch deleted and the first table written.
TEST_F(TablesStoreTest, FailedSaveLeavesTheOldTablesAndLayouts)
{
    store({Sex, Side});
    nameInLayouts({"Sex"});
    Kivo_TablesStore tables;
    tables.ReadCfgTables();
    tables.tableAt(0).TableName = "Gender";
    tables.appendTable({"Huge", {QString(MaxValueLength + 1, QLatin1Char('x'))}});
    EXPECT_THROW(tables.SaveCfgTables(), Err);
    EXPECT_EQ(readBack(), (Tables{Sex, Side}));
    for (const QString &layout : layoutPaths())
        EXPECT_EQ(namedIn(layout), QStringList{"Sex"}) << layout.toStdString();
    EXPECT_TRUE(tables.lastRenames().isEmpty());
}

// Guards the renames carried into the layouts: a table renamed twice maps
// from its stored name to its last, one renamed and then deleted renames
// nothing, swapped names are not swapped back, a new table given an old
// name is not taken for the old table, and a second save does not rename
// the fields again.
TEST_F(TablesStoreTest, RenamesFollowEachTable)
{
    const auto table = [](const char *name) { return TableRecord{QLatin1String(name), {"v"}}; };
    store({table("A"), table("B"), table("C"), table("D")});
    nameInLayouts({"A", "B", "C", "D"});
    Kivo_TablesStore tables;
    tables.ReadCfgTables();
    const auto rename = [&tables](int index, const char *name) {
        tables.tableAt(index).TableName = QLatin1String(name);
    };
    rename(0, "Z");
    rename(0, "Y");
    rename(1, "tmp");
    rename(2, "B");
    rename(1, "C");
    rename(3, "E");
    tables.RemoveTableEntries(3, 1);
    tables.appendTable(table("A"));

    tables.SaveCfgTables();
    EXPECT_EQ(tables.lastRenames(), (QHash<QString, QString>{{"A", "Y"}, {"B", "C"}, {"C", "B"}}));
    const QStringList renamed{"Y", "C", "B", "D"};
    for (const QString &layout : layoutPaths())
        EXPECT_EQ(namedIn(layout), renamed) << layout.toStdString();

    tables.SaveCfgTables();
    EXPECT_TRUE(tables.lastRenames().isEmpty());
    EXPECT_EQ(namedIn(layoutPaths().first()), renamed);
}

} // namespace
