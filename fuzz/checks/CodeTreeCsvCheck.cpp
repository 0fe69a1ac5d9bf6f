#include "FuzzChecks.h"
#include "PropertyViolation.h"
#include "TreeCompare.h"

#include "pickers/codetree/CodeKeyPath.h"
#include "pickers/codetree/CodeTreeLoader.h"
#include "platform/Err.h"
#include "platform/config/ConfigNode.h"

#include <QRegularExpression>

namespace FuzzChecks {

namespace {

const QString DescriptionKey = QStringLiteral("description");

std::shared_ptr<FreeConfigTree> loaded(CodeTreeKind kind, const QByteArray &csv, int *codeCount)
{
    try {
        return CodeTreeLoader::fromCsv(kind, csv, codeCount);
    } catch (const Err &e) {
        static const QRegularExpression lineNumber(QStringLiteral("^line ([0-9]+): "));
        const QRegularExpressionMatch match = lineNumber.match(e.description());
        require(e.number() == Err::ImportFailure, "a refused file is an import failure");
        require(match.hasMatch(), "a refused file names the line");
        const qsizetype line = match.captured(1).toLongLong();
        // CR LF, a CR alone and an LF alone each end a line.
        const qsizetype lines = csv.count('\n') + csv.count('\r') - csv.count("\r\n") + 1;
        if (line < 1 || line > lines)
            throw PropertyViolation(QStringLiteral("the line named is not in the file: ") +
                                    e.description());
        return nullptr;
    }
}

QString quoted(const QString &field)
{
    return QLatin1Char('"') + QString(field).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// Walks a loaded tree: checks that every key is a code below its parent code
// or a code's description, and writes each code back as a CSV line.
class CodeWalk
{
public:
    explicit CodeWalk(CodeTreeKind kind) : m_kind(kind) {}

    void walkRoot(const ConfigNode &root)
    {
        for (const auto &child : root.children)
            walkCode(*child, QString(), QString());
    }

    int codeCount() const { return m_codes; }
    const QByteArray &csv() const { return m_csv; }

private:
    // region: the anatomy region of a pathology code, "" for other codes.
    // A code's line goes where its description lies among its keys, so that
    // reading the lines back puts every key in the same place; a code without
    // one goes before the codes below it.
    void walkCode(const ConfigNode &node, const QString &parent, const QString &region)
    {
        require(isChildCode(node.name, parent, region), "a code sits below its parent code");
        require(!node.value, "a code's key holds no value of its own");
        ++m_codes;
        const QString code =
            region.isEmpty() ? node.name : region + QStringLiteral(" - ") + node.name;
        const bool described = node.child(DescriptionKey) != nullptr;
        if (!described)
            writeLine(code, QString());
        for (const auto &child : node.children) {
            if (child->name == DescriptionKey) {
                require(child->children.empty() && child->value &&
                            std::holds_alternative<QString>(*child->value),
                        "a description is a text without keys below it");
                const QString description = std::get<QString>(*child->value);
                require(!description.isEmpty(), "an empty description is not stored");
                writeLine(code, description);
            } else if (child->name == QLatin1String(CodeKeyPath::PathologyKey)) {
                require(m_kind == CodeTreeKind::Acr && parent.isEmpty() && region.isEmpty(),
                        "pathology codes sit below a region's anatomy code only");
                require(!child->value, "the pathology key holds no value");
                for (const auto &pathology : child->children)
                    walkCode(*pathology, QString(), node.name);
            } else {
                walkCode(*child, node.name, region);
            }
        }
    }

    void writeLine(const QString &code, const QString &description)
    {
        m_csv +=
            (quoted(code) + QLatin1Char(',') + quoted(description) + QLatin1Char('\n')).toUtf8();
    }

    bool isChildCode(const QString &name, const QString &parent, const QString &region) const
    {
        if (m_kind == CodeTreeKind::Angio) {
            static const QRegularExpression part(QStringLiteral("^(0|[1-9][0-9]*)$"));
            const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
            const QString before = dot < 0 ? QString() : name.left(dot);
            return part.match(name.mid(dot + 1)).hasMatch() && before == parent;
        }
        static const QRegularExpression digit(QStringLiteral("^[0-9]$"));
        const bool firstLevel = parent.isEmpty();
        if (firstLevel && !region.isEmpty())
            return digit.match(name).hasMatch(); // a pathology code's first digit
        return name.size() == parent.size() + 1 && name.startsWith(parent) &&
               digit.match(name.right(1)).hasMatch();
    }

    CodeTreeKind m_kind;
    int m_codes = 0;
    QByteArray m_csv;
};

void checkKind(CodeTreeKind kind, const QByteArray &csv)
{
    int count = 0;
    const std::shared_ptr<FreeConfigTree> tree = loaded(kind, csv, &count);
    if (!tree)
        return;
    CodeWalk walk(kind);
    walk.walkRoot(tree->rootNode());
    require(walk.codeCount() == count, "every code in the tree was listed in the file");

    int againCount = 0;
    std::shared_ptr<FreeConfigTree> again;
    try {
        again = CodeTreeLoader::fromCsv(kind, walk.csv(), &againCount);
    } catch (const Err &e) {
        throw PropertyViolation(QStringLiteral("a loaded tree written out as CSV is refused: ") +
                                e.description());
    }
    require(againCount == count, "a loaded tree written out as CSV holds as many codes");
    require(TreeCompare::sameTree(tree->rootNode(), again->rootNode()),
            "a loaded tree written out as CSV loads as the same tree");
}

} // namespace

void checkCodeTreeCsv(const uint8_t *data, size_t size)
{
    const QByteArray csv(reinterpret_cast<const char *>(data), qsizetype(size));
    checkKind(CodeTreeKind::Acr, csv);
    checkKind(CodeTreeKind::Angio, csv);
}

} // namespace FuzzChecks
