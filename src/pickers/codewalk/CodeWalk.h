#pragma once

#include "CodeEntry.h"
#include "CodeHits.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <vector>

class CodeSearchIndex;
class FreeConfigTree;
struct ConfigNode;

// What a code picker shows while the user walks a code tree level by level:
// the listed entries, the captions of the levels chosen so far and the
// entry last chosen. Free of widgets; a dialog mirrors it after each step.
class CodeWalk
{
public:
    virtual ~CodeWalk();

    // Null when the store holds no tree: every list fill then logs that and
    // leaves the list as it is.
    void setTree(std::shared_ptr<const FreeConfigTree> tree);
    // Builds the search index of the tree, once per tree; a search builds it
    // first when nothing did before.
    void buildSearchIndex();
    bool hasTree() const { return m_tree != nullptr; }
    // Lets go of the tree, its search index and the listed entries.
    void release();

    // The user chose the entry at index.
    virtual void select(int index) = 0;
    // The codes the typed text finds where the walk is now.
    CodeHits search(const QString &text);
    // Walks to a hit from the top, entry by entry, as the user would.
    virtual void choose(const CodeHits &hits, int hit) = 0;

    const QList<CodeEntry> &entries() const { return m_entries; }
    // Changes whenever the list is filled, so a view refills only then.
    quint64 listRevision() const { return m_listRevision; }
    // The first entry listing exactly that code, -1 when none does.
    int indexOf(const QString &code) const;
    // The entry last chosen, while the list still shows it (the chosen code
    // is a leaf); -1 otherwise.
    int chosenRow() const;

    int captionCount() const { return int(m_captions.size()); }
    QString caption(int index) const { return m_captions.value(index); }
    const QString &info() const { return m_info; }
    int level() const { return m_level; }

protected:
    CodeWalk(QString logSource, QString missingTreeMessage, int captionCount);

    enum class WhenEmpty {
        KeepList, // a leaf: the list goes on showing the leaf's own level
        ClearList // a new branch with nothing in it: no stale entries to pick
    };

    // Lists the children of the key at keyPath ("" is the tree's root).
    void showLevel(const QString &keyPath, WhenEmpty whenEmpty = WhenEmpty::KeepList);
    // Records the choice of an entry in the info line and, when the tree is
    // shallow enough to have one, in the level's caption.
    void noteChoice(int captionIndex, const CodeEntry &entry);
    // Codes deeper than the captions reach have none: such indexes are ignored.
    void setCaption(int index, const QString &text);
    void clearCaptions(int first, int last);
    // CR LF before each caption that is not empty.
    QString captionLines(int first, int last) const;

    // Fills the walk's search indexes from the tree, or empties them.
    virtual void indexTree() = 0;
    // The codes the typed text finds in the built indexes.
    virtual CodeHits searchIndexes(const QString &text) const = 0;
    // Every code below the key at keyPath, in the order the walk lists them.
    void indexLevel(CodeSearchIndex &index, const QString &keyPath) const;
    // Chooses each code in turn from the list the previous choice shows.
    void walkDown(const QStringList &codes);

    // Whether a child key is a code to list; keys are named ignoring case.
    virtual bool isListed(const QString &name) const;
    // Whether name is the lower-case key, ignoring ASCII case as the store
    // does. Called for every key of a tree, so it asks no Unicode tables.
    static bool isNamed(const QString &name, QStringView key);
    // Whether code is listed before other among siblings; siblings it does
    // not order keep the store's order.
    virtual bool listedBefore(const QString &code, const QString &other) const;

    int m_level = 0;
    QString m_info;

private:
    // Null when the tree has no such key or no key could have that path.
    const ConfigNode *nodeAt(const QString &keyPath) const;
    // A child key the list shows, with its node.
    struct ListedCode
    {
        CodeEntry entry;
        const ConfigNode *node;
    };
    std::vector<ListedCode> listedCodes(const ConfigNode &node) const;
    void indexChildren(CodeSearchIndex &index, const ConfigNode &node, int parentRow) const;
    void replaceEntries(QList<CodeEntry> entries);

    QString m_logSource;
    QString m_missingTreeMessage;
    std::shared_ptr<const FreeConfigTree> m_tree;
    bool m_indexBuilt = true; // the empty index of no tree
    QList<CodeEntry> m_entries;
    quint64 m_listRevision = 0;
    QStringList m_captions;
};
