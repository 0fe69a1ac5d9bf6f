// Writes the store files the upgrade tests start from, with the store code of
// the commit named in README: store_v1.db and, beside it, store_v1.json, the
// same content as that code exported it (names, values, types, order).
// Built by hand against that commit's kivo_config; not part of the build.
#include "platform/config/ConfigDatabase.h"
#include "platform/config/ConfigJson.h"
#include "platform/config/FreeConfigTree.h"

#include <QFile>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const QString base = QString::fromLocal8Bit(argv[1]);
    ConfigDatabase db(base + QStringLiteral(".db"));
    // Siblings out of alphabetical order, names in mixed case.
    db.WriteString(QStringLiteral("Zeta\\First"), QStringLiteral("z1"));
    db.WriteLong(QStringLiteral("Zeta\\second"), 2);
    db.WriteString(QStringLiteral("Alpha\\Mixed\\CamelKey"), QString::fromUtf8("Größe €😀"));
    db.WriteString(QStringLiteral("Alpha\\Mixed-Other\\v"), QStringLiteral("beside Mixed"));
    db.WriteString(QStringLiteral("Alpha\\Empty"), QString());
    db.WriteLong(QStringLiteral("Alpha\\NoValue\\Child"), -7);
    db.WriteLong(QStringLiteral("Alpha\\Max"), 2147483647);
    db.WriteLong(QStringLiteral("Alpha\\Min"), -2147483647 - 1);
    db.WriteString(QStringLiteral("Alpha\\Digits"), QStringLiteral("0042"));
    db.WriteString(QString::fromUtf8("Ünïcödé\\Ключ"), QString::fromUtf8("значение"));
    db.WriteString(QStringLiteral("Deep\\L1\\L2\\L3\\L4\\L5\\Leaf"), QStringLiteral("deep"));
    // Gaps in the stored order: c, b, then a written again at the end.
    for (const char *name : {"c", "a", "b"})
        db.WriteLong(QStringLiteral("Order\\") + QLatin1String(name), 1);
    db.DeleteKey(QStringLiteral("Order\\a"));
    db.WriteLong(QStringLiteral("Order\\a"), 3);
    // A key renamed after its children were written.
    db.WriteString(QStringLiteral("Old\\Name\\x"), QStringLiteral("1"));
    db.WriteLong(QStringLiteral("Old\\Name\\y\\z"), 2);
    db.WriteString(QStringLiteral("Old\\After"), QStringLiteral("after"));
    db.OpenSubTree(QStringLiteral("Old\\Name"))
        ->RenameRoot(QStringLiteral("Name"), QStringLiteral("Renamed Key"));

    QFile json(base + QStringLiteral(".json"));
    if (!json.open(QIODevice::WriteOnly))
        return 1;
    json.write(ConfigJson::toJson(*db.LoadTree(QString())));
    return 0;
}
