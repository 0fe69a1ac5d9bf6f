// The operations every configuration tree offers, run against the in-memory
// tree, the SQLite store and the PostgreSQL store: callers swap one for
// another (a loaded snapshot for the live store, one site's database for a
// machine's file) and must see no difference.
#include "ConfigStoreTest.h"

#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"

#include <gtest/gtest.h>

namespace {

struct FreeBackend
{
    static constexpr bool needsServer = false;
    std::shared_ptr<ConfigTree> make() { return std::make_shared<FreeConfigTree>(); }
};

struct SqliteBackend : TempStoreFile
{
    static constexpr bool needsServer = false;
    std::shared_ptr<ConfigTree> make() { return std::make_shared<ConfigDatabase>(file); }
};

struct PgBackend
{
    static constexpr bool needsServer = true;
    std::shared_ptr<ConfigTree> make()
    {
        return std::make_shared<ConfigDatabase>(TempPgStore().uri);
    }
};

template <typename Backend> class ConfigTreeContract : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (Backend::needsServer)
            KIVO_REQUIRE_PG_SERVER();
        tree = backend.make();
    }

    Backend backend;
    std::shared_ptr<ConfigTree> tree;
};

using Backends = ::testing::Types<FreeBackend, SqliteBackend, PgBackend>;
TYPED_TEST_SUITE(ConfigTreeContract, Backends);

const QString A = QStringLiteral("a");
const QString AB = QStringLiteral("a\\b");

QStringList names(const ConfigTree &tree, const QString &path)
{
    return tree.ChildNames(path).names();
}

} // namespace

// Absent data is never an error; a key that exists only as a step on a
// path holds no value and reads like an absent one.
TYPED_TEST(ConfigTreeContract, AbsentDataReadsAsEmpty)
{
    ConfigTree &t = *this->tree;
    EXPECT_EQ(t.ReadString(AB), QString());
    EXPECT_EQ(t.ReadLong(AB), -1);
    EXPECT_EQ(t.ReadStringOr(AB, QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(t.OpenSubTree(AB), nullptr);
    EXPECT_EQ(t.ChildAt(AB, 0), nullptr);
    EXPECT_EQ(t.ChildNames(AB).Item(0), QString());
    EXPECT_FALSE(t.KeyExists(AB));
    t.DeleteKey(AB);

    t.WriteString(QStringLiteral("a\\b\\c"), QStringLiteral("v"));
    EXPECT_TRUE(t.KeyExists(AB));
    EXPECT_EQ(t.ReadString(AB), QString());
    EXPECT_EQ(t.ReadLongOr(AB, 7), 7);
    EXPECT_FALSE(t.ReadValue(AB).has_value());
    // A stored empty string is a value, not an absence.
    t.WriteString(A, QString());
    EXPECT_EQ(t.ReadStringOr(A, QStringLiteral("d")), QString());
}

// One value per key; writing replaces value and type, and each type reads
// back through the other accessor.
TYPED_TEST(ConfigTreeContract, WritingReplacesValueAndType)
{
    ConfigTree &t = *this->tree;
    t.WriteString(AB, QStringLiteral("text"));
    t.WriteLong(AB, -5);
    EXPECT_EQ(t.ReadValue(AB), std::optional<ConfigValue>(qint32(-5)));
    EXPECT_EQ(t.ReadString(AB), QStringLiteral("-5"));
    t.WriteString(AB, QStringLiteral("12"));
    EXPECT_EQ(t.ReadValue(AB), std::optional<ConfigValue>(QStringLiteral("12")));
    EXPECT_EQ(t.ReadLong(AB), 12);
    const QString unusual = QStringLiteral("line 1\r\nline 2\tÄ€\U0001F600");
    t.WriteString(A, unusual);
    EXPECT_EQ(t.ReadString(A), unusual);
    EXPECT_EQ(t.ChildCount(A), 1);
    t.WriteLong(A, std::numeric_limits<qint32>::min());
    EXPECT_EQ(t.ReadLong(A), std::numeric_limits<qint32>::min());

    // Only an exact whole number in 32-bit range reads as an integer;
    // anything else must not be half-parsed into a plausible wrong number.
    QList<std::pair<const char *, qint32>> cases = {
        {"42", 42},
        {"-7", -7},
        {"+5", 5},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<qint32>::min()}};
    for (const char *text :
         {"2147483648", "99999999999999999999", " 5", "1.5", "0x10", "", "12abc", "١٢"})
        cases.append({text, -1});
    for (const auto &[text, expected] : cases) {
        t.WriteString(A, QString::fromUtf8(text));
        EXPECT_EQ(t.ReadLong(A), expected) << text;
        EXPECT_EQ(t.ReadLongOr(A, 99), expected == -1 ? 99 : expected) << text;
    }
}

// Children keep the order they were created in; names keep the case they
// were first written with and are found ignoring ASCII case only.
TYPED_TEST(ConfigTreeContract, StoreOrderAndCase)
{
    ConfigTree &t = *this->tree;
    for (const char *name : {"Zeta", "alpha", "Mid"})
        t.WriteLong(QStringLiteral("p\\") + QLatin1String(name), 1);
    t.WriteLong(QStringLiteral("P\\ZETA"), 2);
    t.WriteLong(QStringLiteral("p\\Ä"), 3);
    t.WriteLong(QStringLiteral("p\\ä"), 4);
    const QStringList expected = {QStringLiteral("Zeta"), QStringLiteral("alpha"),
                                  QStringLiteral("Mid"), QStringLiteral("Ä"), QStringLiteral("ä")};
    EXPECT_EQ(names(t, QStringLiteral("p")), expected);
    EXPECT_EQ(t.ReadLong(QStringLiteral("p\\zeta")), 2);
    EXPECT_EQ(t.ReadLong(QStringLiteral("p\\Ä")), 3);
    ConfigTreePtr second = t.ChildAt(QStringLiteral("p"), 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->RootName(), QStringLiteral("alpha"));
    EXPECT_EQ(t.ChildAt(QStringLiteral("p"), 5), nullptr);
    EXPECT_EQ(t.ChildAt(QStringLiteral("p"), -1), nullptr);
}

// A subtree's paths are relative to it and it shows the tree's current
// data: writes through either side are seen by the other.
TYPED_TEST(ConfigTreeContract, SubtreeIsALiveView)
{
    ConfigTree &t = *this->tree;
    t.WriteString(QStringLiteral("a\\B\\x"), QStringLiteral("1"));
    ConfigTreePtr sub = t.OpenSubTree(QStringLiteral("A\\b"));
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->RootName(), QStringLiteral("B"));
    EXPECT_EQ(sub->ReadString(QStringLiteral("x")), QStringLiteral("1"));
    sub->WriteString(QStringLiteral("y\\z"), QStringLiteral("2"));
    EXPECT_EQ(t.ReadString(QStringLiteral("a\\b\\y\\z")), QStringLiteral("2"));
    t.WriteString(QStringLiteral("a\\b\\x"), QStringLiteral("3"));
    EXPECT_EQ(sub->ReadString(QStringLiteral("x")), QStringLiteral("3"));
    EXPECT_EQ(sub->ChildNames(QString()).names(),
              QStringList({QStringLiteral("x"), QStringLiteral("y")}));
}

// DeleteKey takes the whole subtree and nothing beside it; on "" a subtree
// empties itself but stays a key of its parent.
TYPED_TEST(ConfigTreeContract, DeleteKeyRemovesEverythingBelow)
{
    ConfigTree &t = *this->tree;
    t.WriteLong(QStringLiteral("a\\b\\c\\d"), 1);
    t.WriteLong(QStringLiteral("a\\b\\e"), 2);
    t.WriteLong(QStringLiteral("a\\bb\\c"), 3); // shares the prefix "a\b" as text
    t.WriteLong(QStringLiteral("a\\c"), 4);
    t.DeleteKey(QStringLiteral("A\\B"));
    EXPECT_FALSE(t.KeyExists(AB));
    EXPECT_FALSE(t.KeyExists(QStringLiteral("a\\b\\c\\d")));
    EXPECT_EQ(t.ReadLong(QStringLiteral("a\\bb\\c")), 3);
    EXPECT_EQ(names(t, A), QStringList({QStringLiteral("bb"), QStringLiteral("c")}));
    // Recreated, a deleted key goes to the end.
    t.WriteLong(AB, 5);
    EXPECT_EQ(names(t, A),
              QStringList({QStringLiteral("bb"), QStringLiteral("c"), QStringLiteral("b")}));

    ConfigTreePtr sub = t.OpenSubTree(QStringLiteral("a\\bb"));
    sub->WriteLong(QString(), 9);
    sub->DeleteKey(QString());
    EXPECT_TRUE(t.KeyExists(QStringLiteral("a\\bb")));
    EXPECT_EQ(t.ChildCount(QStringLiteral("a\\bb")), 0);
    EXPECT_EQ(t.ReadLong(QStringLiteral("a\\bb")), -1);
    EXPECT_EQ(t.ReadLong(QStringLiteral("a\\c")), 4);
}

// RenameRoot on a subtree renames the key with everything below, keeping its
// place; a wrong old name changes nothing, and a taken name is refused
// rather than merging two keys.
TYPED_TEST(ConfigTreeContract, RenameRootMovesTheSubtree)
{
    ConfigTree &t = *this->tree;
    t.WriteLong(QStringLiteral("p\\first"), 0);
    t.WriteString(QStringLiteral("p\\default_layout\\set1\\label\\top"), QStringLiteral("10"));
    t.WriteLong(QStringLiteral("p\\last"), 0);
    ConfigTreePtr layout = t.OpenSubTree(QStringLiteral("p\\default_layout"));
    layout->RenameRoot(QStringLiteral("other"), QStringLiteral("x"));
    EXPECT_EQ(layout->RootName(), QStringLiteral("default_layout"));
    layout->RenameRoot(QStringLiteral("Default_Layout"), QStringLiteral("form_layout"));
    EXPECT_EQ(layout->RootName(), QStringLiteral("form_layout"));
    EXPECT_EQ(t.ReadLong(QStringLiteral("p\\form_layout\\set1\\label\\top")), 10);
    EXPECT_FALSE(t.KeyExists(QStringLiteral("p\\default_layout")));
    EXPECT_EQ(names(t, QStringLiteral("p")),
              QStringList({QStringLiteral("first"), QStringLiteral("form_layout"),
                           QStringLiteral("last")}));
    EXPECT_EQ(layout->ReadLong(QStringLiteral("set1\\label\\top")), 10);

    EXPECT_EQ(errorNumber([&] {
                  layout->RenameRoot(QStringLiteral("form_layout"), QStringLiteral("LAST"));
              }),
              Err::InvalidArgument);
    EXPECT_EQ(errorNumber([&] {
                  layout->RenameRoot(QStringLiteral("form_layout"), QStringLiteral("a\\b"));
              }),
              Err::InvalidPath);
    EXPECT_EQ(t.ReadLong(QStringLiteral("p\\form_layout\\set1\\label\\top")), 10);
    EXPECT_EQ(t.ChildCount(QStringLiteral("p")), 3);
}

// AttachTree stores a copy under the tree's root name; a same-named child is
// replaced in its place, none of its old keys survive.
TYPED_TEST(ConfigTreeContract, AttachTreeReplacesInPlace)
{
    ConfigTree &t = *this->tree;
    t.WriteLong(QStringLiteral("p\\one"), 1);
    t.WriteLong(QStringLiteral("p\\Layout\\old"), 1);
    t.WriteLong(QStringLiteral("p\\three"), 3);
    FreeConfigTree layout;
    layout.RenameRoot(QString(), QStringLiteral("layout"));
    layout.WriteLong(QStringLiteral("width"), 800);
    layout.WriteString(QStringLiteral("set1\\tag"), QStringLiteral("HISTORY"));
    t.AttachTree(QStringLiteral("p"), layout);
    EXPECT_EQ(
        names(t, QStringLiteral("p")),
        QStringList({QStringLiteral("one"), QStringLiteral("layout"), QStringLiteral("three")}));
    EXPECT_FALSE(t.KeyExists(QStringLiteral("p\\layout\\old")));
    EXPECT_EQ(t.ReadLong(QStringLiteral("p\\layout\\width")), 800);
    EXPECT_EQ(t.ReadString(QStringLiteral("p\\layout\\set1\\tag")), QStringLiteral("HISTORY"));
    // The store holds a copy: later changes to the tree are not seen.
    layout.WriteLong(QStringLiteral("width"), 1);
    EXPECT_EQ(t.ReadLong(QStringLiteral("p\\layout\\width")), 800);
    // Missing parents are created; an unnamed tree has no name to go under.
    t.AttachTree(QStringLiteral("new\\parent"), layout);
    EXPECT_EQ(t.ReadLong(QStringLiteral("new\\parent\\layout\\width")), 1);
    EXPECT_EQ(errorNumber([&] { t.AttachTree(QStringLiteral("p"), FreeConfigTree()); }),
              Err::InvalidArgument);
}

// Malformed paths and values are refused with an Err before anything changes:
// a doubled separator would create an unnamed key nobody can address again.
// A name or a path exactly at its limit is still stored.
TYPED_TEST(ConfigTreeContract, BadInputChangesNothing)
{
    ConfigTree &t = *this->tree;
    t.WriteLong(A, 1);
    for (const QString &bad :
         {QStringLiteral("\\a"), QStringLiteral("a\\"), QStringLiteral("a\\\\b"),
          QStringLiteral("a\\b\x7f"), QStringLiteral("a\nb")}) {
        EXPECT_EQ(errorNumber([&] { t.WriteLong(bad, 2); }), Err::InvalidPath);
        EXPECT_EQ(errorNumber([&] { t.ReadString(bad); }), Err::InvalidPath);
        EXPECT_EQ(errorNumber([&] { t.DeleteKey(bad); }), Err::InvalidPath);
        EXPECT_EQ(errorNumber([&] { t.OpenSubTree(bad); }), Err::InvalidPath);
    }
    EXPECT_EQ(errorNumber(
                  [&] { t.WriteString(QStringLiteral("a\\b"), QString(MaxValueLength + 1, 'v')); }),
              Err::ValueTooLong);
    const QString longest(ConfigPath::MaxNameLength, 'n');
    EXPECT_EQ(errorNumber([&] { t.WriteLong(QStringLiteral("a\\n") + longest, 1); }),
              Err::NameTooLong);
    QStringList deep(ConfigPath::MaxDepth, QStringLiteral("d"));
    ConfigTreePtr sub = t.OpenSubTree(A);
    EXPECT_EQ(errorNumber([&] { sub->WriteLong(deep.join('\\'), 1); }), Err::InvalidPath);
    EXPECT_EQ(t.ChildCount(QString()), 1);
    EXPECT_EQ(t.ChildCount(A), 0);
    EXPECT_EQ(t.ReadLong(A), 1);

    t.WriteLong(deep.join('\\'), 2);
    t.WriteLong(longest, 3);
    EXPECT_EQ(t.ReadLong(deep.join('\\')), 2);
    EXPECT_EQ(t.ReadLong(longest.toUpper()), 3);
}
