// Paths and the in-memory tree's own behaviour. The operations every tree
// shares are checked against both backends in test_config_contract.
#include "platform/Err.h"
#include "platform/config/ConfigNode.h"
#include "platform/config/ConfigPath.h"
#include "platform/config/FreeConfigTree.h"

#include <gtest/gtest.h>

namespace {

int errorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Err &e) {
        return e.number();
    }
    return 0;
}

} // namespace

// Malformed paths must be refused before they reach any storage: a doubled
// separator would otherwise create an unnamed key nobody can address again.
TEST(ConfigPathTest, RefusesMalformedPaths)
{
    for (const char *bad : {"\\a", "a\\", "a\\\\b", "\\", "a\\\tb", "a\nb"})
        EXPECT_EQ(errorNumber([&] { ConfigPath::parse(QString::fromLatin1(bad)); }),
                  Err::InvalidPath)
            << bad;
    EXPECT_EQ(errorNumber([] { ConfigPath::parse(QString(ConfigPath::MaxNameLength + 1, 'n')); }),
              Err::NameTooLong);
    EXPECT_EQ(errorNumber([] { ConfigPath::parse(QString(ConfigPath::MaxNameLength, 'n')); }), 0);
    QStringList deep(ConfigPath::MaxDepth + 1, QStringLiteral("k"));
    EXPECT_EQ(errorNumber([&] { ConfigPath::parse(deep.join('\\')); }), Err::InvalidPath);
    deep.removeLast();
    EXPECT_EQ(errorNumber([&] { ConfigPath::parse(deep.join('\\')); }), 0);
    EXPECT_EQ(errorNumber([] { ConfigPath().child(QStringLiteral("a\\b")); }), Err::InvalidPath);
}

TEST(ConfigPathTest, ErrorNamesThePathAndEscapesControlCharacters)
{
    try {
        ConfigPath::parse(QStringLiteral("appearance\\co\x01lors"));
        FAIL() << "no error";
    } catch (const Err &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("appearance\\co\\x01lors")))
            << e.what();
    }
}

// Only ASCII letters fold: folding other letters would make two distinct
// Unicode names collide in the store.
TEST(ConfigPathTest, FoldsAsciiOnly)
{
    EXPECT_EQ(ConfigPath::foldCase(QStringLiteral("Form_Layout\\SET1")),
              QStringLiteral("form_layout\\set1"));
    EXPECT_EQ(ConfigPath::foldCase(QStringLiteral("ÄÖ")), QStringLiteral("ÄÖ"));
}

TEST(FreeConfigTreeTest, ResetGivesAnEmptyUnnamedRoot)
{
    FreeConfigTree tree;
    tree.WriteString(QStringLiteral("a\\b"), QStringLiteral("x"));
    tree.RenameRoot(QString(), QStringLiteral("form_layout"));
    EXPECT_EQ(tree.RootName(), QStringLiteral("form_layout"));
    tree.Reset();
    EXPECT_EQ(tree.RootName(), QString());
    EXPECT_EQ(tree.ChildCount(QString()), 0);
    EXPECT_FALSE(tree.KeyExists(QStringLiteral("a")));
}

// A subtree view must not dangle when its key is deleted from the tree.
TEST(FreeConfigTreeTest, SubtreeOutlivesItsDeletedKey)
{
    FreeConfigTree tree;
    tree.WriteString(QStringLiteral("a\\b\\c"), QStringLiteral("kept"));
    ConfigTreePtr sub = tree.OpenSubTree(QStringLiteral("a\\b"));
    tree.DeleteKey(QStringLiteral("a"));
    EXPECT_EQ(sub->ReadString(QStringLiteral("c")), QStringLiteral("kept"));
    sub->WriteString(QStringLiteral("d"), QStringLiteral("new"));
    sub->RenameRoot(QStringLiteral("b"), QStringLiteral("z"));
    EXPECT_EQ(sub->RootName(), QStringLiteral("z"));
    EXPECT_FALSE(tree.KeyExists(QStringLiteral("a")));
}

// Renaming through a subtree re-indexes the name in its parent; a rename
// onto a sibling's name would leave two keys answering to one path.
TEST(FreeConfigTreeTest, RenameRootOfSubtreeUpdatesParent)
{
    FreeConfigTree tree;
    tree.WriteLong(QStringLiteral("p\\old\\v"), 1);
    tree.WriteLong(QStringLiteral("p\\other"), 2);
    ConfigTreePtr sub = tree.OpenSubTree(QStringLiteral("p\\OLD"));
    sub->RenameRoot(QStringLiteral("Old"), QStringLiteral("New"));
    EXPECT_EQ(tree.ReadLong(QStringLiteral("p\\new\\v")), 1);
    EXPECT_FALSE(tree.KeyExists(QStringLiteral("p\\old")));
    EXPECT_EQ(tree.ChildNames(QStringLiteral("p")).names(),
              QStringList({QStringLiteral("New"), QStringLiteral("other")}));
    EXPECT_EQ(errorNumber([&] { sub->RenameRoot(QStringLiteral("new"), QStringLiteral("OTHER")); }),
              Err::InvalidArgument);
    EXPECT_EQ(tree.ReadLong(QStringLiteral("p\\other")), 2);
}

// Attaching a tree into itself must copy before it replaces anything.
TEST(FreeConfigTreeTest, AttachOwnSubtreeCopiesFirst)
{
    FreeConfigTree tree;
    tree.WriteString(QStringLiteral("a\\b\\c"), QStringLiteral("v"));
    auto sub = std::dynamic_pointer_cast<FreeConfigTree>(tree.OpenSubTree(QStringLiteral("a")));
    ASSERT_TRUE(sub);
    tree.AttachTree(QStringLiteral("a\\b"), *sub);
    EXPECT_EQ(tree.ReadString(QStringLiteral("a\\b\\a\\b\\c")), QStringLiteral("v"));
    EXPECT_EQ(tree.ReadString(QStringLiteral("a\\b\\c")), QStringLiteral("v"));
    EXPECT_EQ(tree.rootNode().countNodes(), 7);
}

// Children are found ignoring ASCII case only, both while a key compares
// names and once it keeps an index of them; the index must follow every
// change, including removals that drop back below the limit and additions
// after them.
TEST(ConfigNodeTest, FindsChildrenOnBothSidesOfTheIndexLimit)
{
    const int limit = int(ConfigNode::MaxUnindexedChildren);
    const auto expectChildren = [](const ConfigNode &node, const QStringList &names) {
        ASSERT_EQ(node.children.size(), size_t(names.size()));
        for (int i = 0; i < names.size(); ++i) {
            const QString folded = ConfigPath::foldCase(names[i]);
            ASSERT_NE(node.child(folded), nullptr) << qPrintable(names[i]);
            EXPECT_EQ(node.child(folded)->name, names[i]);
            EXPECT_EQ(node.indexOf(folded), i);
        }
    };
    for (const int count : {limit, limit + 1}) {
        SCOPED_TRACE(count);
        ConfigNode node;
        QStringList names;
        for (int i = 0; i < count; ++i) {
            names << QStringLiteral("Kéy%1").arg(i);
            node.addChild(names.last());
            expectChildren(node, names);
        }
        EXPECT_EQ(node.child(QStringLiteral("kéy%1").arg(count)), nullptr);
        EXPECT_EQ(node.child(QStringLiteral("kÉy1")), nullptr);
        EXPECT_EQ(&node.childOrAdd(QStringLiteral("KéY1")), node.child(QStringLiteral("kéy1")));

        node.renameChild(QStringLiteral("kéy2"), QStringLiteral("Renamed"));
        names[2] = QStringLiteral("Renamed");
        EXPECT_EQ(node.child(QStringLiteral("kéy2")), nullptr);
        expectChildren(node, names);

        auto replacement = std::make_shared<ConfigNode>();
        replacement->name = QStringLiteral("KéY3");
        node.replaceChild(replacement);
        names[3] = QStringLiteral("KéY3");
        expectChildren(node, names);

        node.removeChild(QStringLiteral("kéy0"));
        node.removeChild(QStringLiteral("kéy1"));
        names.remove(0, 2);
        EXPECT_EQ(node.child(QStringLiteral("kéy0")), nullptr);
        expectChildren(node, names);
        for (const QString &name : {QStringLiteral("Late1"), QStringLiteral("Late2")}) {
            names << name;
            node.childOrAdd(name);
        }
        expectChildren(node, names);

        node.clearChildren();
        node.addChild(QStringLiteral("Fresh"));
        expectChildren(node, {QStringLiteral("Fresh")});
    }
}
