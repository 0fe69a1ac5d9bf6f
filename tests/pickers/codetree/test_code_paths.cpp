#include "pickers/codetree/CodeKeyPath.h"
#include "pickers/codetree/CodeTreeLoader.h"
#include "platform/Err.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Guards against building paths character by character (4.10 is one part)
// and against losing the pathology branch of a region.
TEST(CodeKeyPath, PathsFollowThePrefixHierarchy)
{
    EXPECT_EQ(CodeKeyPath::acrAnatomy("123"), "1\\12\\123");
    EXPECT_EQ(CodeKeyPath::acrAnatomy(QString()), QString());
    EXPECT_EQ(CodeKeyPath::acrPathology("1", "45"), "1\\path_code\\4\\45");
    EXPECT_EQ(CodeKeyPath::acrPathology("7", QString()), "7\\path_code");
    EXPECT_EQ(CodeKeyPath::angio("4.12.3"), "4\\4.12\\4.12.3");
    EXPECT_EQ(CodeKeyPath::angio("4.10"), "4\\4.10");
    EXPECT_EQ(CodeKeyPath::angio(QString()), QString());
}

// Guards against a naive split on commas and line breaks: quoted commas,
// doubled quotes and quoted line breaks belong to the description.
TEST(CodeTreeLoader, AcrCsvWithQuotesHeaderAndBlankLines)
{
    const QByteArray csv = "\xEF\xBB\xBF"
                           "Code,Description\r\n"
                           "1,Skull and contents\r\n"
                           "\r\n"
                           "12, \"Meninges, dura \"\"and\"\" more\" \r\n"
                           "123,\"Subdural\r\nspace\"\r\n"
                           "1 - 4,Neoplasm\r\n"
                           "1 - 45,Méningiome\r\n"
                           "13\r\n";
    int count = 0;
    const auto tree = CodeTreeLoader::fromCsv(CodeTreeKind::Acr, csv, &count);

    EXPECT_EQ(count, 6);
    EXPECT_EQ(tree->ReadString("1\\description"), "Skull and contents");
    EXPECT_EQ(tree->ReadString("1\\12\\description"), "Meninges, dura \"and\" more");
    EXPECT_EQ(tree->ReadString("1\\12\\123\\description"), "Subdural\nspace");
    EXPECT_EQ(tree->ReadString("1\\path_code\\4\\45\\description"), QStringLiteral("Méningiome"));
    // The described-less 13 exists without a description.
    EXPECT_TRUE(tree->KeyExists("1\\13"));
    EXPECT_FALSE(tree->KeyExists("1\\13\\description"));
    EXPECT_FALSE(tree->KeyExists("code"));
}

// Siblings 1, 2 and 10 keep file order; a sorted-as-text store would put 10
// before 2.
TEST(CodeTreeLoader, AngioSiblingsKeepFileOrder)
{
    const auto tree = CodeTreeLoader::fromCsv(
        CodeTreeKind::Angio,
        "4,Abdominal aorta\n4.1,Suprarenal\n4.2,Infrarenal\n4.10,Gonadal\n4.12.3,Right hepatic\n"
        "4.12,Hepatic\n");
    EXPECT_EQ(tree->ChildNames("4").names(),
              (QStringList{"description", "4.1", "4.2", "4.10", "4.12"}));
    EXPECT_EQ(tree->ReadString("4\\4.12\\4.12.3\\description"), "Right hepatic");
}

// Every refusal names the line an administrator has to fix, counting the
// lines inside quoted fields. Guards too against a code whose parent is not
// listed: its parent key would have no description, an unnamed picker row.
TEST(CodeTreeLoader, ErrorsNameTheLine)
{
    struct Case
    {
        CodeTreeKind kind;
        QByteArray csv;
        QString expected;
    };
    const QList<Case> cases = {
        {CodeTreeKind::Acr, "1,a\n12x,b\n", "line 2: \"12x\" is not a code"},
        {CodeTreeKind::Acr, "1,a\n\n1,b\n", "line 3: code 1 is repeated (first on line 1)"},
        {CodeTreeKind::Acr, "1 - 45,a\n123 - 45,b\n",
         "line 2: code 123 - 45 is repeated (first on line 1)"},
        {CodeTreeKind::Acr, "1,\"two\nlines\"\n4.1,x\n", "line 3: \"4.1\" is not a code"},
        {CodeTreeKind::Acr, "1,Skull, and contents\n",
         "line 1: expected code,description but found 3 fields"},
        {CodeTreeKind::Acr, "1,a\n2,\"never closed\n3,c\n",
         "line 2: a quoted field is never closed"},
        {CodeTreeKind::Acr, "1,\"a\"b\n", "line 1: text after the closing quote"},
        {CodeTreeKind::Acr, "1,a\n2,b\"c\n", "line 2: a quote inside an unquoted field"},
        {CodeTreeKind::Acr, "1,ok\n2,\xff\xfe\n", "line 2: the text is not UTF-8"},
        // Refused on the code's text: its key path, every prefix of the
        // code, would take gigabytes.
        {CodeTreeKind::Acr, "1,a\n" + QByteArray(40000, '1') + ",too deep\n",
         "line 2: the code would be 40000 keys deep in its tree; at most 57 fit"},
        {CodeTreeKind::Acr, "1 - " + QByteArray(56, '1') + ",too deep\n",
         "line 1: the code would be 58 keys deep"},
        {CodeTreeKind::Angio, "1" + QByteArray(".1").repeated(20000) + ",a\n",
         "line 1: the code would be 20001 keys deep"},
        {CodeTreeKind::Angio, "4,a\n4.01,b\n", "line 2: \"4.01\" is not a code"},
        {CodeTreeKind::Angio, "4..1,a\n", "line 1: \"4..1\" is not a code"},
        {CodeTreeKind::Angio, "1 - 45,a\n", "line 1: \"1 - 45\" is not a code"},
        {CodeTreeKind::Acr, "6,a\n645,b\n", "line 2: code 645 has no parent code 64"},
        {CodeTreeKind::Acr, "1,a\n1 - 4,b\n6 - 4,c\n", "line 3: code 6 - 4 has no parent code 6"},
        {CodeTreeKind::Acr, "1,a\n1 - 45,b\n", "line 2: code 1 - 45 has no parent code 1 - 4"},
        {CodeTreeKind::Angio, "4,a\n4.12.3,b\n", "line 2: code 4.12.3 has no parent code 4.12"},
    };
    for (const Case &c : cases) {
        try {
            CodeTreeLoader::fromCsv(c.kind, c.csv);
            ADD_FAILURE() << "accepted: " << c.csv.constData();
        } catch (const Err &e) {
            EXPECT_EQ(e.number(), Err::ImportFailure);
            EXPECT_TRUE(e.description().startsWith(c.expected))
                << c.csv.constData() << "\n  gave: " << e.description().toStdString();
        }
    }
}

// A load replaces the whole tree, and a failing or empty load leaves the
// tree in the store exactly as it was: never half a code tree.
TEST(CodeTreeLoader, StoreIsReplacedWholeOrNotAtAll)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ConfigDatabase database(dir.filePath("store.db"));
    const QString root = CodeTreeLoader::storePath(CodeTreeKind::Acr);
    const QString beside = "Corvalis\\system\\applications\\quovira\\teachingfile\\keep";
    database.WriteString(root + "\\9\\description", "old code");
    database.WriteString(beside, "beside");

    EXPECT_EQ(CodeTreeLoader::load(database, CodeTreeKind::Acr, "1,Skull\n12,Meninges\n"), 2);
    EXPECT_EQ(database.ChildNames(root).names(), QStringList{"1"});
    EXPECT_EQ(database.ReadString(root + "\\1\\12\\description"), "Meninges");

    for (const QByteArray &bad :
         {QByteArray("2,Face\n3,Spine\nx,broken\n"), QByteArray("code,description\n\n"),
          QByteArray("6,Chest\n645,Orphan\n")})
        EXPECT_THROW(CodeTreeLoader::load(database, CodeTreeKind::Acr, bad), Err);
    EXPECT_EQ(database.ChildNames(root).names(), QStringList{"1"});
    EXPECT_EQ(database.ReadString(root + "\\1\\description"), "Skull");
    EXPECT_EQ(database.ReadString(beside), "beside");
}
