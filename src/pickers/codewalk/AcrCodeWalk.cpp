#include "AcrCodeWalk.h"

#include "CodeQuery.h"
#include "pickers/codetree/CodeKeyPath.h"

#include <QRegularExpression>

namespace {

const QString LogSource = QStringLiteral("Kivo_ACRCodeFrm");
const QString CodeSeparator = QStringLiteral(" - ");
const QString PathologyKey = QLatin1String(CodeKeyPath::PathologyKey);

} // namespace

AcrCodeWalk::AcrCodeWalk()
    : CodeWalk(LogSource, QStringLiteral("No ACR code tree is exists!"), 2 * LevelsPerMode)
{
}

void AcrCodeWalk::showAnatomy()
{
    clearCaptions(0, 2 * LevelsPerMode - 1);
    m_anatomyChoice.clear();
    m_pathologyChoice.clear();
    m_info.clear();
    m_anatomyCode.clear();
    m_pathologyCode.clear();
    m_level = 0;
    m_pathologyAvailable = false;
    m_mode = Mode::Anatomy;
    showLevel(QString(), WhenEmpty::ClearList);
}

void AcrCodeWalk::showPathology()
{
    clearCaptions(LevelsPerMode, 2 * LevelsPerMode - 1);
    m_pathologyCode.clear();
    m_mode = Mode::Pathology;
    // A region without pathology codes shows an empty list: its anatomy
    // entries must not be taken for pathology codes.
    showLevel(CodeKeyPath::acrPathology(region(), QString()), WhenEmpty::ClearList);
}

void AcrCodeWalk::select(int index)
{
    if (index < 0 || index >= entries().size())
        return;
    const CodeEntry entry = entries().at(index);
    if (m_mode == Mode::Anatomy) {
        m_anatomyChoice = m_anatomyCode = entry.code;
        m_pathologyAvailable = true;
        m_level = int(entry.code.size()) - 1;
        noteChoice(captionIndex(m_level), entry);
        showLevel(CodeKeyPath::acrAnatomy(entry.code));
    } else {
        m_pathologyChoice = m_pathologyCode = entry.code;
        m_level = int(entry.code.size()) + LevelsPerMode - 1;
        noteChoice(captionIndex(m_level), entry);
        showLevel(CodeKeyPath::acrPathology(region(), entry.code));
    }
}

CodeHits AcrCodeWalk::searchIndexes(const QString &text) const
{
    const CodeQuery query(text);
    if (query.isCode()) {
        // The anatomy code, then optionally a separator and the pathology digits.
        static const QRegularExpression form(QStringLiteral("^([0-9]+)(?:([-.])([0-9]*))?$"));
        const QRegularExpressionMatch parts = form.match(query.code());
        if (!parts.hasMatch())
            return {};
        if (parts.hasCaptured(2))
            return searchBelowAnatomy(parts.captured(1), parts.captured(3));
    }
    const CodeSearchIndex *index =
        m_mode == Mode::Anatomy ? &m_anatomyIndex : pathologyIndex(region());
    if (!index || query.isEmpty())
        return {};
    return {index, query.isCode() ? index->rowsWithCodePrefix(query.code())
                                  : index->rowsWithWords(query.words())};
}

CodeHits AcrCodeWalk::searchBelowAnatomy(const QString &anatomy, const QString &pathology) const
{
    const CodeSearchIndex *index = pathologyIndex(anatomy.left(1));
    if (!index || m_anatomyIndex.rowOf(anatomy) < 0)
        return {};
    return {index, index->rowsWithCodePrefix(pathology), anatomy + CodeSeparator};
}

void AcrCodeWalk::choose(const CodeHits &hits, int hit)
{
    if (hit < 0 || hit >= hits.size())
        return;
    if (hits.index() == &m_anatomyIndex) {
        showAnatomy();
        walkDown(hits.chain(hit));
        return;
    }
    if (!hits.codePrefix().isEmpty()) {
        const QString anatomy = hits.codePrefix().chopped(CodeSeparator.size());
        showAnatomy();
        walkDown(m_anatomyIndex.chain(m_anatomyIndex.rowOf(anatomy)));
    }
    showPathology();
    walkDown(hits.chain(hit));
}

void AcrCodeWalk::indexTree()
{
    m_anatomyIndex.clear();
    m_pathologyIndexes.clear();
    indexLevel(m_anatomyIndex, QString());
    // A region's pathology codes lie below its first-level anatomy code.
    for (int row = 0; row < m_anatomyIndex.size(); ++row) {
        if (m_anatomyIndex.parentRow(row) >= 0)
            continue;
        const QString region = m_anatomyIndex.entry(row).code.left(1);
        if (m_pathologyIndexes.count(region))
            continue;
        CodeSearchIndex pathology;
        indexLevel(pathology, CodeKeyPath::acrPathology(region, QString()));
        if (pathology.size() > 0)
            m_pathologyIndexes.emplace(region, std::move(pathology));
    }
}

const CodeSearchIndex *AcrCodeWalk::pathologyIndex(const QString &region) const
{
    const auto found = m_pathologyIndexes.find(region);
    return found == m_pathologyIndexes.end() ? nullptr : &found->second;
}

void AcrCodeWalk::up()
{
    if (entries().isEmpty())
        return;
    setCaption(captionIndex(m_level), QString());
    m_info.clear();
    const bool anatomy = m_mode == Mode::Anatomy;
    QString &code = anatomy ? m_anatomyCode : m_pathologyCode;
    if (code.isEmpty())
        return;
    code.chop(1);
    // The choice shown under the code box goes up with the code, so the two
    // never name different levels.
    (anatomy ? m_anatomyChoice : m_pathologyChoice) = code;
    // The list shows the children of the first entry's parent; the level
    // above is that parent's own level.
    const QString shown = entries().first().code.chopped(1);
    const QString above = shown.isEmpty() ? QString() : shown.chopped(1);
    if (anatomy) {
        m_level = std::max(0, int(code.size()) - 1);
        // Back at the top no region is chosen, so there is no pathology.
        if (shown.isEmpty() || code.isEmpty())
            m_pathologyAvailable = false;
        showLevel(CodeKeyPath::acrAnatomy(above));
    } else {
        m_level = int(code.size()) + LevelsPerMode - 1;
        showLevel(CodeKeyPath::acrPathology(region(), above));
    }
}

void AcrCodeWalk::navigateTo(const QString &code)
{
    const QStringList parts = code.split(CodeSeparator);
    const QString anatomy = parts.value(0);
    const QString pathology = parts.value(1);
    for (qsizetype length = 1; length <= anatomy.size(); ++length)
        select(indexOf(anatomy.left(length)));
    if (!pathology.isEmpty() && !m_anatomyChoice.isEmpty()) {
        showPathology();
        for (qsizetype length = 1; length <= pathology.size(); ++length)
            select(indexOf(pathology.left(length)));
    }
    m_anatomyCode = anatomy;
    m_pathologyCode = pathology;
}

QString AcrCodeWalk::result() const
{
    return m_pathologyCode.isEmpty() ? m_anatomyCode
                                     : m_anatomyCode + CodeSeparator + m_pathologyCode;
}

QString AcrCodeWalk::anatomyDesc() const
{
    return captionLines(0, LevelsPerMode - 1);
}

QString AcrCodeWalk::pathologicDesc() const
{
    return captionLines(LevelsPerMode, 2 * LevelsPerMode - 1);
}

bool AcrCodeWalk::isListed(const QString &name) const
{
    return CodeWalk::isListed(name) && !isNamed(name, PathologyKey);
}

int AcrCodeWalk::captionIndex(int level) const
{
    const int first = m_mode == Mode::Anatomy ? 0 : LevelsPerMode;
    return level >= first && level < first + LevelsPerMode ? level : -1;
}

QString AcrCodeWalk::region() const
{
    return m_anatomyChoice.left(1);
}
