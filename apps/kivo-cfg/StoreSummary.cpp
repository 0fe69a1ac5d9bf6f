#include "StoreSummary.h"

#include "config/StoreSeed.h"
#include "pickers/codetree/CodeKeyPath.h"
#include "platform/config/ConfigNode.h"
#include "platform/config/FreeConfigTree.h"
#include "platform/config/StoreUri.h"

#include <QRegularExpression>

namespace {

const QString AppearancePath =
    QLatin1String(StoreSeed::TeachingFilePath) + QStringLiteral("\\appearance");
const QString UsersPath = QStringLiteral("Corvalis\\system\\users");

// Code keys below a node: everything but descriptions and the pathology
// branches, which count separately.
void countCodes(const ConfigNode &node, bool inPathology, int *anatomy, int *pathology)
{
    for (const auto &child : node.children) {
        if (child->name == QLatin1String("description"))
            continue;
        const bool isBranch = child->name == QLatin1String(CodeKeyPath::PathologyKey);
        if (!isBranch)
            ++*(inPathology ? pathology : anatomy);
        countCodes(*child, inPathology || isBranch, anatomy, pathology);
    }
}

QString layouts(const ConfigDatabase &database)
{
    static const QRegularExpression setKey(QStringLiteral("^set[0-9]+$"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString text = QStringLiteral("Layouts:\n");
    for (const QString &name : {QStringLiteral("default_layout"), QStringLiteral("form_layout")}) {
        const QString path = AppearancePath + QLatin1Char('\\') + name;
        if (!database.KeyExists(path)) {
            text += QStringLiteral("  %1: none\n").arg(name);
            continue;
        }
        const QStringList keys = database.ChildNames(path).names();
        text += QStringLiteral("  %1: %2 field sets\n").arg(name).arg(keys.filter(setKey).size());
    }
    return text;
}

QString tables(const ConfigDatabase &database)
{
    const QString root = AppearancePath + QStringLiteral("\\tables");
    const QStringList tableKeys = database.ChildNames(root).names();
    QString text = QStringLiteral("Value tables: %1\n").arg(tableKeys.size());
    for (const QString &tableKey : tableKeys) {
        const QString table = root + QLatin1Char('\\') + tableKey;
        // As the tables editor reads them: every child with a non-empty name is a value.
        int values = 0;
        const KeyNameList valueKeys = database.ChildNames(table);
        for (const QString &valueKey : valueKeys.names()) {
            if (!database
                     .ReadString(table + QLatin1Char('\\') + valueKey + QStringLiteral("\\name"))
                     .isEmpty())
                ++values;
        }
        text += QStringLiteral("  %1: %2 values\n")
                    .arg(database.ReadString(table + QStringLiteral("\\name")))
                    .arg(values);
    }
    return text;
}

QString codeTree(const ConfigDatabase &database, const QString &title, const QString &path,
                 bool withPathology)
{
    const std::shared_ptr<FreeConfigTree> tree = database.LoadTree(path);
    if (!tree)
        return QStringLiteral("%1: none\n").arg(title);
    int anatomy = 0;
    int pathology = 0;
    countCodes(tree->rootNode(), false, &anatomy, &pathology);
    if (!withPathology)
        return QStringLiteral("%1: %2 codes\n").arg(title).arg(anatomy);
    return QStringLiteral("%1: %2 anatomy codes, %3 pathology codes\n")
        .arg(title)
        .arg(anatomy)
        .arg(pathology);
}

QString users(const ConfigDatabase &database)
{
    const QStringList logins = database.ChildNames(UsersPath).names();
    QString text = QStringLiteral("Users: %1\n").arg(logins.size());
    for (const QString &login : logins) {
        const auto user = database.OpenSubTree(UsersPath + QLatin1Char('\\') + login);
        const QString name = (user->ReadString(QStringLiteral("first_name")) + QLatin1Char(' ') +
                              user->ReadString(QStringLiteral("last_name")))
                                 .trimmed();
        text += QStringLiteral("  %1 (%2, group %3, %4)\n")
                    .arg(login, name.isEmpty() ? QStringLiteral("no name") : name,
                         user->ReadString(QStringLiteral("group")),
                         user->ReadLongOr(QStringLiteral("edit_allowed"), 0) == 1
                             ? QStringLiteral("may edit layouts")
                             : QStringLiteral("no edit rights"));
    }
    return text;
}

} // namespace

QString StoreSummary::describe(const ConfigDatabase &database)
{
    const QString backend = StoreUri::isPostgres(database.file()) ? QStringLiteral("PostgreSQL")
                                                                  : QStringLiteral("SQLite file");
    return QStringLiteral("Store: %1 (%2)\n").arg(database.displayName(), backend) +
           layouts(database) + tables(database) +
           codeTree(database, QStringLiteral("ACR code tree"),
                    QLatin1String(CodeKeyPath::AcrTreePath), true) +
           codeTree(database, QStringLiteral("Angio code tree"),
                    QLatin1String(CodeKeyPath::AngioTreePath), false) +
           users(database);
}
