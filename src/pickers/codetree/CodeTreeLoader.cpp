#include "CodeTreeLoader.h"

#include "CodeKeyPath.h"
#include "CsvReader.h"
#include "platform/Err.h"
#include "platform/config/ConfigNode.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString DescriptionKey = QStringLiteral("description");

[[noreturn]] void fail(int line, const QString &message)
{
    throw Err(Err::ImportFailure, QStringLiteral("line %1: %2").arg(line).arg(message));
}

// Refuses a code nested deeper than the levels left below the tree's root,
// judged on its text: its key path holds every prefix of the code, so
// building it first would take memory growing with the square of the code's
// length.
void checkDepth(int depth, int maxDepth, int line)
{
    if (depth > maxDepth)
        fail(line, QStringLiteral("the code would be %1 keys deep in its tree; at most %2 fit "
                                  "in the store")
                       .arg(depth)
                       .arg(maxDepth));
}

// The key path of an ACR code, "" when the text is not one.
QString acrKeyPath(const QString &code, int maxDepth, int line)
{
    static const QRegularExpression anatomy(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression pathology(QStringLiteral("^([0-9]+)\\s*-\\s*([0-9]+)$"));
    if (anatomy.match(code).hasMatch()) {
        checkDepth(int(code.size()), maxDepth, line);
        return CodeKeyPath::acrAnatomy(code);
    }
    const QRegularExpressionMatch match = pathology.match(code);
    if (!match.hasMatch())
        return {};
    // The region's key, its pathology key, then one key per digit.
    checkDepth(2 + int(match.capturedLength(2)), maxDepth, line);
    return CodeKeyPath::acrPathology(match.captured(1).left(1), match.captured(2));
}

// The key path of an angiography code, "" when the text is not one. Parts
// with leading zeros are refused: 4.01 and 4.1 would be two keys for what the
// picker shows as one code.
QString angioKeyPath(const QString &code, int maxDepth, int line)
{
    static const QRegularExpression format(
        QStringLiteral("^(0|[1-9][0-9]*)(\\.(0|[1-9][0-9]*))*$"));
    // The depth is judged before the pattern: on thousands of parts the
    // pattern gives up, and the code would read as no code at all.
    checkDepth(int(code.count(QLatin1Char('.'))) + 1, maxDepth, line);
    return format.match(code).hasMatch() ? CodeKeyPath::angio(code) : QString();
}

QString formatHint(CodeTreeKind kind)
{
    return kind == CodeTreeKind::Acr
               ? QStringLiteral("an ACR code is an anatomy code of digits (123) or a pathology "
                                "code written as anatomy - pathology (1 - 45)")
               : QStringLiteral("an angiography code is whole numbers joined by dots, without "
                                "leading zeros (4.12.3)");
}

bool isHeader(const CsvReader::Record &record)
{
    return record.fields.size() == 2 &&
           record.fields.at(0).trimmed().compare(QLatin1String("code"), Qt::CaseInsensitive) == 0 &&
           record.fields.at(1).trimmed().compare(QLatin1String("description"),
                                                 Qt::CaseInsensitive) == 0;
}

// Refuses a code whose keys would not fit the store, before anything is written.
void checkStorable(const QString &absolutePath, const QString &description, int line)
{
    try {
        ConfigPath::parse(absolutePath);
    } catch (const Err &e) {
        fail(line, e.description());
    }
    if (description.size() > MaxValueLength)
        fail(line,
             QStringLiteral("the description is longer than %1 characters").arg(MaxValueLength));
}

// The code a key path stands for: 6\path_code\4 is "6 - 4", 6\64 is "64".
QString codeOfKeyPath(const QString &keyPath)
{
    const QStringList names = keyPath.split(QLatin1Char('\\'));
    if (names.size() > 2 && names.at(1) == QLatin1String(CodeKeyPath::PathologyKey))
        return names.first() + QStringLiteral(" - ") + names.last();
    return names.last();
}

// Refuses a code whose parent codes are not all in the file: the store would
// get a parent key without a description, which the picker can only show as
// an unnamed row. A pathology code's parents are its region's anatomy code
// and its own shorter pathology codes.
void checkParentsListed(const QHash<QString, int> &lineOfCode)
{
    QList<std::pair<int, QString>> codes; // line, key path: the first missing one is reported
    for (auto it = lineOfCode.cbegin(); it != lineOfCode.cend(); ++it)
        codes.append({it.value(), it.key()});
    std::sort(codes.begin(), codes.end());
    for (const auto &[line, keyPath] : codes) {
        QString parent = keyPath.section(QLatin1Char('\\'), 0, -2);
        for (; !parent.isEmpty(); parent = parent.section(QLatin1Char('\\'), 0, -2)) {
            if (parent.endsWith(QLatin1String(CodeKeyPath::PathologyKey)))
                continue;
            if (!lineOfCode.contains(parent))
                fail(line, QStringLiteral("code %1 has no parent code %2 in the file")
                               .arg(codeOfKeyPath(keyPath), codeOfKeyPath(parent)));
        }
    }
}

} // namespace

QString CodeTreeLoader::storePath(CodeTreeKind kind)
{
    return QLatin1String(kind == CodeTreeKind::Acr ? CodeKeyPath::AcrTreePath
                                                   : CodeKeyPath::AngioTreePath);
}

std::shared_ptr<FreeConfigTree> CodeTreeLoader::fromCsv(CodeTreeKind kind, const QByteArray &csv,
                                                        int *codeCount)
{
    const QList<CsvReader::Record> records = CsvReader::read(csv);
    const QString treePath = storePath(kind);
    const ConfigPath treeKey = ConfigPath::parse(treePath);
    auto tree = std::make_shared<FreeConfigTree>();
    tree->RenameRoot(QString(), treeKey.name());

    // Below each code's key lies its description key.
    const int maxCodeDepth = ConfigPath::MaxDepth - int(treeKey.names().size()) - 1;
    QHash<QString, int> lineOfCode; // by key path
    for (const CsvReader::Record &record : records) {
        if (record.line == records.first().line && isHeader(record))
            continue;
        if (record.fields.size() > 2)
            fail(record.line, QStringLiteral("expected code,description but found %1 fields; "
                                             "quote a description that contains commas")
                                  .arg(record.fields.size()));
        const QString code = record.fields.at(0).trimmed();
        const QString description = record.fields.value(1).trimmed();
        const QString keyPath = kind == CodeTreeKind::Acr
                                    ? acrKeyPath(code, maxCodeDepth, record.line)
                                    : angioKeyPath(code, maxCodeDepth, record.line);
        if (keyPath.isEmpty())
            fail(record.line,
                 QStringLiteral("\"%1\" is not a code: %2").arg(code, formatHint(kind)));
        if (const int first = lineOfCode.value(keyPath))
            fail(record.line,
                 QStringLiteral("code %1 is repeated (first on line %2)").arg(code).arg(first));
        lineOfCode.insert(keyPath, record.line);
        checkStorable(treePath + QLatin1Char('\\') + keyPath + QLatin1Char('\\') + DescriptionKey,
                      description, record.line);

        ConfigNode *node = &tree->rootNode();
        for (const QString &name : keyPath.split(QLatin1Char('\\')))
            node = &node->childOrAdd(name);
        if (!description.isEmpty())
            node->childOrAdd(DescriptionKey).value = description;
    }
    checkParentsListed(lineOfCode);
    if (codeCount)
        *codeCount = int(lineOfCode.size());
    return tree;
}

int CodeTreeLoader::load(ConfigDatabase &database, CodeTreeKind kind, const QByteArray &csv)
{
    int count = 0;
    const std::shared_ptr<FreeConfigTree> tree = fromCsv(kind, csv, &count);
    // An empty file is far more likely a mistake than a wish to drop every code.
    if (count == 0)
        throw Err(Err::ImportFailure,
                  QStringLiteral("the file holds no codes; the code tree was left as it was"));
    auto transaction = database.transaction();
    database.AttachTree(ConfigPath::parse(storePath(kind)).parent().toString(), *tree);
    transaction.commit();
    return count;
}
