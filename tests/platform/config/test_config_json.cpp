#include "platform/Err.h"
#include "platform/config/ConfigJson.h"

#include <gtest/gtest.h>

namespace {

// The text of the Err the import throws, or "" when it did not throw. A
// member names the key inside a wrapping document.
QString importError(const QByteArray &json, const QString &member = QString())
{
    try {
        QJsonObject document;
        if (member.isEmpty())
            ConfigJson::fromJson(json);
        else
            ConfigJson::fromJson(json, member, &document);
    } catch (const Err &e) {
        EXPECT_EQ(e.number(), Err::ImportFailure);
        return e.description();
    }
    return {};
}

} // namespace

// Guards against losing store order (QJsonObject sorts) and against integers
// coming back as strings or numeric strings as integers.
TEST(ConfigJson, RoundTripKeepsOrderValuesAndTypes)
{
    FreeConfigTree tree;
    tree.RenameRoot(QString(), QStringLiteral("layout"));
    tree.WriteString(QStringLiteral("zeta"), QStringLiteral("last letter, first key"));
    tree.WriteLong(QStringLiteral("alpha\\width"), -2147483647 - 1);
    tree.WriteString(QStringLiteral("alpha\\code"), QStringLiteral("0042"));
    tree.WriteString(QStringLiteral("Mixed Case\\caption"),
                     QStringLiteral("Différential \"dx\"\n"));
    tree.WriteLong(QString(), 7);

    const auto copy = ConfigJson::fromJson(ConfigJson::toJson(tree));

    EXPECT_EQ(copy->RootName(), QStringLiteral("layout"));
    EXPECT_EQ(copy->ChildNames(QString()).names(), (QStringList{"zeta", "alpha", "Mixed Case"}));
    EXPECT_EQ(copy->ChildNames(QStringLiteral("alpha")).names(), (QStringList{"width", "code"}));
    EXPECT_EQ(copy->ReadValue(QStringLiteral("alpha\\width")),
              ConfigValue(qint32(-2147483647 - 1)));
    EXPECT_EQ(copy->ReadValue(QStringLiteral("alpha\\code")), ConfigValue(QStringLiteral("0042")));
    EXPECT_EQ(copy->ReadString(QStringLiteral("mixed case\\caption")),
              QStringLiteral("Différential \"dx\"\n"));
    EXPECT_EQ(copy->ReadValue(QString()), ConfigValue(qint32(7)));
    EXPECT_FALSE(copy->ReadValue(QStringLiteral("alpha")).has_value());

    // Escapes a file may use read as the characters they stand for.
    const auto escaped =
        ConfigJson::fromJson("{\"name\": \"t\", \"value\": \"\\ud83d\\ude00\\n\\u0001\\\\u\"}");
    EXPECT_EQ(escaped->ReadString(QString()), QStringLiteral("\U0001F600\n\x01\\u"));
}

// Every way a document can break the key format is refused with the key's
// path and line, instead of importing a tree the store would misread; a
// syntax error points at the line to fix, not at a byte offset.
TEST(ConfigJson, FormatErrorsNameKeyPathAndLine)
{
    struct Case
    {
        QByteArray json;
        QString expected;
    };
    const QList<Case> cases = {
        {"{\n  \"name\": \"a\",\n  \"keys\": [\n    {\"name\": \"b\" \"value\": 1}\n  ]\n}\n",
         QStringLiteral("line 4: ")},
        {"[1, 2]", QStringLiteral("line 1: ")},
        {"{\"keys\": []}", QStringLiteral("line 1: the top key: \"name\" is missing")},
        {"{\"name\": \"t\",\n \"keys\": [\n {\"value\": 1}]}",
         QStringLiteral("line 3: key \"t\": a key below it has no \"name\"")},
        {"{\"name\": \"t\",\n \"keys\": [\n {\"name\": \"Sex\"},\n {\"name\": \"sEX\"}]}",
         QStringLiteral(
             "line 4: key \"t\\sEX\": a key of that name (ignoring case) appears twice")},
        {"{\"name\": \"t\", \"keys\": [{\"name\": \"a\\\\b\"}]}",
         QStringLiteral("line 1: key \"t\\a\\b\": ")},
        {"{\"name\": \"t\",\n\"keys\": [{\"name\": \"a\",\n \"keys\": [{\"name\": \"n\", "
         "\"value\": 2147483648}]}]}",
         QStringLiteral(
             "line 3: key \"t\\a\\n\": the value 2147483648 is not a whole number in 32-bit")},
        {"{\"name\": \"t\", \"value\": 1.5}", QStringLiteral("line 1: key \"t\": the value 1.5")},
        {"{\"name\": \"t\", \"value\": true}",
         QStringLiteral("line 1: key \"t\": \"value\" must be text or a whole number")},
        {"{\"name\": \"t\", \"children\": []}",
         QStringLiteral("line 1: key \"t\": unknown member")},
        // Braces inside strings must not throw the line count of later keys off.
        {"{\"name\": \"t\", \"keys\": [\n{\"name\": \"a\", \"value\": \"{ \\\"{\"},\n"
         "{\"name\": \"b\", \"value\": false}]}",
         QStringLiteral("line 3: key \"t\\b\"")},
        // QJsonDocument takes these, but would store another string than the
        // file holds: a lone surrogate swallows the character after it.
        {"{\"name\": \"t\",\n\"value\": \"x\\ud800y\"}",
         QStringLiteral("line 2: a string holds \\ud800, half of a UTF-16 surrogate pair")},
        {"{\"name\": \"t\", \"value\": \"\\ud800\\u0041\"}",
         QStringLiteral("line 1: a string holds \\ud800")},
        {"{\"name\": \"t\", \"value\": \"\\uDC00\"}",
         QStringLiteral("line 1: a string holds \\udc00")},
        {"{\"name\": \"t\",\n\"value\": \"a\tb\"}",
         QStringLiteral("line 2: a string holds the control character U+0009")},
        {"{\"name\": \"t\",\n\"value\": \"a\nb\"}",
         QStringLiteral("line 2: a string holds the control character U+000A")},
    };
    for (const Case &c : cases)
        EXPECT_TRUE(importError(c.json).startsWith(c.expected))
            << c.json.constData() << "\n  gave: " << importError(c.json).toStdString();
}

// Seed files wrap the key in {"parent", "tree"}: the parent must come back
// and lines inside the tree must still be right.
TEST(ConfigJson, WrappedDocumentHandsBackItsOtherMembers)
{
    QJsonObject document;
    const auto tree = ConfigJson::fromJson(
        "{\"parent\": \"Corvalis\\\\system\",\n \"tree\": {\"name\": \"ui\", \"keys\": [\n"
        "{\"name\": \"font_name\", \"value\": \"MS Sans Serif\"}]}}",
        QStringLiteral("tree"), &document);
    EXPECT_EQ(document.value(QStringLiteral("parent")).toString(),
              QStringLiteral("Corvalis\\system"));
    EXPECT_EQ(tree->RootName(), QStringLiteral("ui"));
    EXPECT_EQ(tree->ReadString(QStringLiteral("font_name")), QStringLiteral("MS Sans Serif"));

    EXPECT_TRUE(importError("{\"parent\": \"p\",\n \"tree\": {\"name\": \"ui\", \"keys\": [\n"
                            "{\"name\": \"font_size\", \"value\": 3.5}]}}",
                            QStringLiteral("tree"))
                    .startsWith(QStringLiteral("line 3: key \"ui\\font_size\"")));
}
