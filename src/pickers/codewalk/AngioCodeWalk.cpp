#include "AngioCodeWalk.h"

#include "AngioCodeOrder.h"
#include "CodeQuery.h"
#include "pickers/codetree/CodeKeyPath.h"

namespace {

const QChar PartSeparator = QLatin1Char('.');

// The code without its last part; "" for a one-part code.
QString parentCode(const QString &code)
{
    const qsizetype dot = code.lastIndexOf(PartSeparator);
    return dot < 0 ? QString() : code.left(dot);
}

int levelOf(const QString &code)
{
    return int(code.count(PartSeparator));
}

} // namespace

AngioCodeWalk::AngioCodeWalk()
    : CodeWalk(QStringLiteral("Kivo_AngioCodeFrm"), QStringLiteral("No Angio code tree is exists!"),
               Levels)
{
}

void AngioCodeWalk::showTop()
{
    clearCaptions(0, Levels - 1);
    m_info.clear();
    m_code.clear();
    m_level = 0;
    showLevel(QString(), WhenEmpty::ClearList);
}

void AngioCodeWalk::select(int index)
{
    if (index < 0 || index >= entries().size())
        return;
    const CodeEntry entry = entries().at(index);
    m_code = entry.code;
    m_level = levelOf(entry.code);
    noteChoice(m_level, entry);
    showLevel(CodeKeyPath::angio(entry.code));
}

CodeHits AngioCodeWalk::searchIndexes(const QString &text) const
{
    const CodeQuery query(text);
    if (query.isEmpty())
        return {};
    return {&m_index, query.isCode() ? m_index.rowsWithCodePrefix(query.code())
                                     : m_index.rowsWithWords(query.words())};
}

void AngioCodeWalk::choose(const CodeHits &hits, int hit)
{
    if (hit < 0 || hit >= hits.size())
        return;
    showTop();
    walkDown(hits.chain(hit));
}

void AngioCodeWalk::up()
{
    if (entries().isEmpty())
        return;
    setCaption(m_level, QString());
    m_info.clear();
    if (m_code.isEmpty())
        return;
    m_code = parentCode(m_code);
    m_level = levelOf(m_code);
    showLevel(CodeKeyPath::angio(parentCode(m_code)));
}

void AngioCodeWalk::navigateTo(const QString &code)
{
    if (code.isEmpty())
        return;
    QString prefix;
    for (const QString &part : code.split(PartSeparator)) {
        prefix += part;
        select(indexOf(prefix));
        prefix += PartSeparator;
    }
    m_code = code;
}

QString AngioCodeWalk::angioDesc() const
{
    return caption(0) + captionLines(1, Levels - 1);
}

void AngioCodeWalk::indexTree()
{
    m_index.clear();
    indexLevel(m_index, QString());
}

bool AngioCodeWalk::listedBefore(const QString &code, const QString &other) const
{
    return AngioCodeOrder::lessThan(code, other);
}
