// What only the in-memory tree and its nodes do. The operations every tree
// shares, path checks included, run against both backends in
// test_config_contract.
#include "platform/config/ConfigNode.h"
#include "platform/config/ConfigPath.h"
#include "platform/config/FreeConfigTree.h"

#include <gtest/gtest.h>

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
