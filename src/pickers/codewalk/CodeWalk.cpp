#include "CodeWalk.h"

#include "CodeSearchIndex.h"

#include "common/QV_VBLogger.h"
#include "platform/Err.h"
#include "platform/config/ConfigNode.h"
#include "platform/config/ConfigPath.h"
#include "platform/config/FreeConfigTree.h"

#include <algorithm>

namespace {

const QString DescriptionKey = QStringLiteral("description");

QString textOf(const std::optional<ConfigValue> &value)
{
    if (!value)
        return QString();
    if (const qint32 *number = std::get_if<qint32>(&*value))
        return QString::number(*number);
    return std::get<QString>(*value);
}

} // namespace

CodeWalk::CodeWalk(QString logSource, QString missingTreeMessage, int captionCount)
    : m_logSource(std::move(logSource)), m_missingTreeMessage(std::move(missingTreeMessage))
{
    for (int i = 0; i < captionCount; ++i)
        m_captions << QString();
}

CodeWalk::~CodeWalk() = default;

void CodeWalk::setTree(std::shared_ptr<const FreeConfigTree> tree)
{
    m_tree = std::move(tree);
    m_indexBuilt = false;
}

void CodeWalk::buildSearchIndex()
{
    if (m_indexBuilt)
        return;
    indexTree();
    m_indexBuilt = true;
}

CodeHits CodeWalk::search(const QString &text)
{
    buildSearchIndex();
    return searchIndexes(text);
}

void CodeWalk::release()
{
    m_tree.reset();
    indexTree();
    m_indexBuilt = true;
    replaceEntries({});
}

int CodeWalk::indexOf(const QString &code) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].code == code)
            return i;
    }
    return -1;
}

int CodeWalk::chosenRow() const
{
    if (m_info.isEmpty())
        return -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].text() == m_info)
            return i;
    }
    return -1;
}

void CodeWalk::showLevel(const QString &keyPath, WhenEmpty whenEmpty)
{
    if (!m_tree) {
        QV_VBLogger::WriteLog(m_missingTreeMessage, m_logSource);
        return;
    }
    QList<CodeEntry> entries;
    if (const ConfigNode *node = nodeAt(keyPath)) {
        for (ListedCode &listed : listedCodes(*node))
            entries.append(std::move(listed.entry));
    }
    if (entries.isEmpty() && whenEmpty == WhenEmpty::KeepList)
        return;
    replaceEntries(std::move(entries));
}

const ConfigNode *CodeWalk::nodeAt(const QString &keyPath) const
{
    // Typed codes end up in key paths; one that no key could carry (an empty
    // part, a "\", too deep) names nothing rather than failing the dialog.
    ConfigPath path;
    try {
        path = ConfigPath::parse(keyPath);
    } catch (const Err &e) {
        if (e.number() == Err::InvalidPath || e.number() == Err::NameTooLong)
            return nullptr;
        throw;
    }
    const ConfigNode *node = &m_tree->rootNode();
    for (const QString &name : path.names()) {
        node = node->child(ConfigPath::foldCase(name));
        if (!node)
            return nullptr;
    }
    return node;
}

std::vector<CodeWalk::ListedCode> CodeWalk::listedCodes(const ConfigNode &node) const
{
    std::vector<ListedCode> listed;
    for (const auto &child : node.children) {
        if (!isListed(child->name))
            continue;
        const ConfigNode *description = child->child(DescriptionKey);
        listed.push_back(
            {{child->name, description ? textOf(description->value) : QString()}, child.get()});
    }
    std::stable_sort(listed.begin(), listed.end(), [this](const auto &a, const auto &b) {
        return listedBefore(a.entry.code, b.entry.code);
    });
    return listed;
}

void CodeWalk::indexLevel(CodeSearchIndex &index, const QString &keyPath) const
{
    if (!m_tree)
        return;
    if (const ConfigNode *node = nodeAt(keyPath))
        indexChildren(index, *node, -1);
}

void CodeWalk::indexChildren(CodeSearchIndex &index, const ConfigNode &node, int parentRow) const
{
    // The tree is in memory: its nodes are walked directly, without a path
    // look-up per code, so the index costs little beside reading the tree.
    for (const ListedCode &listed : listedCodes(node)) {
        const int row = index.add(listed.entry, parentRow);
        indexChildren(index, *listed.node, row);
    }
}

void CodeWalk::walkDown(const QStringList &codes)
{
    for (const QString &code : codes)
        select(indexOf(code));
}

void CodeWalk::replaceEntries(QList<CodeEntry> entries)
{
    m_entries = std::move(entries);
    ++m_listRevision;
}

void CodeWalk::noteChoice(int captionIndex, const CodeEntry &entry)
{
    const QString text = entry.text();
    setCaption(captionIndex, QLatin1Char(' ') + text);
    m_info = text;
}

void CodeWalk::setCaption(int index, const QString &text)
{
    if (index >= 0 && index < m_captions.size())
        m_captions[index] = text;
}

void CodeWalk::clearCaptions(int first, int last)
{
    for (int i = first; i <= last; ++i)
        setCaption(i, QString());
}

QString CodeWalk::captionLines(int first, int last) const
{
    QString lines;
    for (int i = first; i <= last; ++i) {
        if (!caption(i).isEmpty())
            lines += QStringLiteral("\r\n") + caption(i);
    }
    return lines;
}

bool CodeWalk::isListed(const QString &name) const
{
    // A code's description is a child key of its own, not a code below it.
    return !isNamed(name, DescriptionKey);
}

bool CodeWalk::isNamed(const QString &name, QStringView key)
{
    return ConfigPath::foldsTo(name, key);
}

bool CodeWalk::listedBefore(const QString &, const QString &) const
{
    return false;
}
