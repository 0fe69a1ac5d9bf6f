#include "CodeWalk.h"

#include "CodeSearchIndex.h"

#include "common/QV_VBLogger.h"
#include "platform/Err.h"
#include "platform/config/ConfigTree.h"

namespace {

const QString DescriptionKey = QStringLiteral("description");

// Typed codes end up in key paths; one that no key could carry (an empty
// part, a "\", too deep) names nothing rather than failing the dialog.
ConfigTreePtr openLevel(const ConfigTree &tree, const QString &keyPath)
{
    try {
        return tree.OpenSubTree(keyPath);
    } catch (const Err &e) {
        if (e.number() == Err::InvalidPath || e.number() == Err::NameTooLong)
            return nullptr;
        throw;
    }
}

} // namespace

CodeWalk::CodeWalk(QString logSource, QString missingTreeMessage, int captionCount)
    : m_logSource(std::move(logSource)), m_missingTreeMessage(std::move(missingTreeMessage))
{
    for (int i = 0; i < captionCount; ++i)
        m_captions << QString();
}

CodeWalk::~CodeWalk() = default;

void CodeWalk::setTree(std::shared_ptr<const ConfigTree> tree)
{
    m_tree = std::move(tree);
    indexTree();
}

void CodeWalk::release()
{
    m_tree.reset();
    indexTree();
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
    if (const ConfigTreePtr node = openLevel(*m_tree, keyPath))
        entries = listedChildren(*node);
    if (entries.isEmpty() && whenEmpty == WhenEmpty::KeepList)
        return;
    replaceEntries(std::move(entries));
}

QList<CodeEntry> CodeWalk::listedChildren(const ConfigTree &node) const
{
    QList<CodeEntry> entries;
    const KeyNameList names = node.ChildNames(QString());
    entries.reserve(names.Count());
    for (const QString &name : names.names()) {
        if (isListed(name))
            entries.append({name, node.ReadString(name + QLatin1Char('\\') + DescriptionKey)});
    }
    arrange(entries);
    return entries;
}

void CodeWalk::indexLevel(CodeSearchIndex &index, const QString &keyPath) const
{
    if (!m_tree)
        return;
    if (const ConfigTreePtr node = openLevel(*m_tree, keyPath))
        indexChildren(index, *node, -1);
}

void CodeWalk::indexChildren(CodeSearchIndex &index, const ConfigTree &node, int parentRow) const
{
    for (const CodeEntry &entry : listedChildren(node)) {
        const int row = index.add(entry, parentRow);
        if (const ConfigTreePtr child = node.OpenSubTree(entry.code))
            indexChildren(index, *child, row);
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
    return name.compare(DescriptionKey, Qt::CaseInsensitive) != 0;
}

void CodeWalk::arrange(QList<CodeEntry> &) const {}
