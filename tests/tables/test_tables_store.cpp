// The value tables store without any window: the stored format, reading,
// the queries the form relies on, and saving as one change.
#include "TablesTestStore.h"

#include "platform/Err.h"

#include <platform/config/ConfigValue.h>

#include <QRegularExpression>

namespace {

using Tables = QList<TableRecord>;

const TableRecord Sex{QStringLiteral("Sex"), {QStringLiteral("M"), QStringLiteral("F")}};
const TableRecord Side{QStringLiteral("Side"), {}};

class TablesStoreTest : public TablesTestStore
{
};

// Guards the exact stored layout other tools read, numbering from 1, and
// that stale keys of an earlier save are removed rather than left behind.
TEST_F(TablesStoreTest, SaveWritesTheStoredFormat)
{
    ConfigDatabase database;
    database.WriteString(rootPath() + QStringLiteral("\\table7\\name"), QStringLiteral("Old"));
    store({Sex, Side});

    const ConfigTreePtr root = database.OpenSubTree(rootPath());
    ASSERT_TRUE(root);
    EXPECT_EQ(root->ChildCount(QString()), 2);
    EXPECT_EQ(root->ReadString(QStringLiteral("table1\\name")), QStringLiteral("Sex"));
    EXPECT_EQ(root->ReadString(QStringLiteral("table1\\value1\\name")), QStringLiteral("M"));
    EXPECT_EQ(root->ReadString(QStringLiteral("table1\\value2\\name")), QStringLiteral("F"));
    EXPECT_EQ(root->ChildCount(QStringLiteral("table1")), 3);
    EXPECT_EQ(root->ReadString(QStringLiteral("table2\\name")), QStringLiteral("Side"));
    EXPECT_EQ(root->ChildCount(QStringLiteral("table2")), 1);
    EXPECT_FALSE(root->KeyExists(QStringLiteral("table7")));

    EXPECT_EQ(readBack(), (Tables{Sex, Side}));

    // No tables at all: the branch goes and nothing is written in its place.
    store({});
    EXPECT_FALSE(database.KeyExists(rootPath()));
}

// Guards reading by position rather than by key name, and that a value with
// an empty text is skipped with the following values closing the gap.
TEST_F(TablesStoreTest, ReadTakesChildrenInOrderAndSkipsEmptyValues)
{
    ConfigDatabase database;
    const QString root = rootPath() + QLatin1Char('\\');
    database.WriteString(root + QStringLiteral("a\\name"), QStringLiteral("Colour"));
    database.WriteString(root + QStringLiteral("a\\v1\\name"), QStringLiteral("red"));
    database.WriteString(root + QStringLiteral("a\\v2\\name"), QString());
    database.WriteString(root + QStringLiteral("a\\v3\\name"), QStringLiteral("blue"));
    database.WriteString(root + QStringLiteral("b\\name"), QStringLiteral("Size"));
    database.WriteString(root + QStringLiteral("b\\v1\\name"), QStringLiteral(" S"));

    EXPECT_EQ(readBack(),
              (Tables{{QStringLiteral("Colour"), {QStringLiteral("red"), QStringLiteral("blue")}},
                      {QStringLiteral("Size"), {QStringLiteral(" S")}}}));
}

// Guards against a table without values showing the values an earlier read
// left at its position (they belong to another table), and against a
// shorter store keeping tables beyond its end.
TEST_F(TablesStoreTest, RereadDoesNotKeepValuesOfEarlierTables)
{
    const TableRecord colour{QStringLiteral("Colour"), {QStringLiteral("red")}};
    store({Sex, colour, Side});
    Kivo_TablesStore tables;
    tables.ReadCfgTables();
    ASSERT_EQ(tables.tables().size(), 3);

    store({colour, Side});
    tables.ReadCfgTables();
    EXPECT_EQ(tables.tables(), (Tables{colour, Side}));
    QStringList values{QStringLiteral("stale")};
    tables.GetValuesOfTable(QStringLiteral("Side"), values);
    EXPECT_TRUE(values.isEmpty());
}

// Guards the rule that a missing branch is no error and keeps what memory
// holds, and the log lines support relies on.
TEST_F(TablesStoreTest, MissingBranchKeepsTablesAndIsLogged)
{
    Kivo_TablesStore tables;
    tables.setTables({Sex});
    const qsizetype logBefore = logText().size();
    tables.ReadCfgTables();
    EXPECT_EQ(tables.tables(), Tables{Sex});

    const QString logged = logText().mid(logBefore);
    qsizetype previous = -1;
    for (const char *message :
         {"Before reading the tables from the cfg", "After reading the tables from the cfg",
          "No tables Define in the cfg"}) {
        const QRegularExpression line(
            QStringLiteral(R"(\[7\] \[Kivo_TablesFrm\] .* %1\n)").arg(QLatin1String(message)));
        const qsizetype at = logged.indexOf(line);
        EXPECT_GT(at, previous) << message << " missing or out of order in:\n"
                                << logged.toStdString();
        previous = at;
    }
}

// Guards the queries the form builds its drop-downs from: exact,
// case-sensitive names, callers' arrays left alone when nothing matches, a
// valueless table answered with no values, and no names while the first
// table is nameless.
TEST_F(TablesStoreTest, Queries)
{
    Kivo_TablesStore tables;
    EXPECT_TRUE(tables.IsTablesDataEmpty());
    EXPECT_TRUE(tables.GetTables().isEmpty());
    tables.setTables({Sex, Side});
    EXPECT_FALSE(tables.IsTablesDataEmpty());
    EXPECT_EQ(tables.GetTables(), (QStringList{QStringLiteral("Sex"), QStringLiteral("Side")}));

    EXPECT_TRUE(tables.IsTableExist(QStringLiteral("Sex")));
    EXPECT_FALSE(tables.IsTableExist(QStringLiteral("sex")));
    EXPECT_FALSE(tables.IsTableExist(QStringLiteral("Sex ")));

    QStringList values{QStringLiteral("kept")};
    tables.GetValuesOfTable(QStringLiteral("sex"), values);
    EXPECT_EQ(values, QStringList{QStringLiteral("kept")});
    tables.GetValuesOfTable(QStringLiteral("Sex"), values);
    EXPECT_EQ(values, Sex.TableValues);
    tables.GetValuesOfTable(QStringLiteral("Side"), values);
    EXPECT_TRUE(values.isEmpty());

    QString name = QStringLiteral("kept");
    values = QStringList{QStringLiteral("kept")};
    for (qint32 outside : {-1, 2}) {
        tables.GetValuesOfTableByIndex(outside, values, name);
        EXPECT_EQ(name, QStringLiteral("kept"));
        EXPECT_EQ(values, QStringList{QStringLiteral("kept")});
    }
    tables.GetValuesOfTableByIndex(0, values, name);
    EXPECT_EQ(name, QStringLiteral("Sex"));
    EXPECT_EQ(values, Sex.TableValues);

    tables.setTables({{QString(), {QStringLiteral("x")}}, Side});
    EXPECT_TRUE(tables.GetTables().isEmpty());
}

// Guards removal: order kept, the only table leaves none (not a nameless
// one that would be stored), and indexes outside the list are error 9.
TEST_F(TablesStoreTest, RemoveTableEntries)
{
    const TableRecord colour{QStringLiteral("Colour"), {QStringLiteral("red")}};
    Kivo_TablesStore tables;
    tables.setTables({Sex, colour, Side});
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
    tables.SaveCfgTables();
    EXPECT_FALSE(ConfigDatabase().KeyExists(rootPath()));
}

// Guards against a save that breaks off half-way leaving a mixture: the
// second table's value is too long for the store, so the save fails after
// the branch was deleted and the first table written.
TEST_F(TablesStoreTest, FailedSaveLeavesTheOldTables)
{
    store({Sex, Side});
    Kivo_TablesStore tables;
    tables.setTables({{QStringLiteral("New"), {QStringLiteral("n")}},
                      {QStringLiteral("Huge"), {QString(MaxValueLength + 1, QLatin1Char('x'))}}});
    EXPECT_THROW(tables.SaveCfgTables(), Err);
    EXPECT_EQ(readBack(), (Tables{Sex, Side}));
}

} // namespace
