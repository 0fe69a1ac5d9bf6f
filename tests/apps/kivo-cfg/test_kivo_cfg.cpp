#include "platform/config/ConfigDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Appearance =
    QStringLiteral("Corvalis\\system\\applications\\quovira\\teachingfile\\appearance");

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

class KivoCfg : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString store() const { return m_dir.filePath(QStringLiteral("store.db")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    Result run(const QStringList &arguments) const
    {
        QProcess process;
        // The default store must never be touched by a test.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.path());
        environment.remove(QStringLiteral("KIVO_STORE"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KIVO_CFG_BINARY),
                      QStringList{QStringLiteral("--store"), store()} + arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString writeFile(const QString &name, const QByteArray &content) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }

    static QByteArray readFile(const QString &fileName)
    {
        QFile file(fileName);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir m_dir;
};

} // namespace

// Guards against a second init (or a host start) overwriting what the site
// changed, and against seeding values with the wrong type.
TEST_F(KivoCfg, InitSeedsOnceAndForceSeedRestores)
{
    const Result first = run({QStringLiteral("init")});
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("Created the store")));
    EXPECT_TRUE(first.out.contains(Appearance + QStringLiteral("\\default_layout")));

    const QString fontSize =
        QStringLiteral("Corvalis\\system\\applications\\quovira\\appearance\\font\\font_size");
    {
        ConfigDatabase database(store());
        EXPECT_EQ(database.ReadValue(fontSize), ConfigValue(qint32(10)));
        EXPECT_EQ(database.ReadValue(QStringLiteral("Corvalis\\system\\ui\\font_charset")),
                  ConfigValue(QStringLiteral("1")));
        EXPECT_EQ(database.ReadValue(
                      QStringLiteral("Corvalis\\system\\users\\radiologist\\edit_allowed")),
                  ConfigValue(qint32(1)));
    }

    ASSERT_EQ(run({QStringLiteral("set"), QStringLiteral("--int"), fontSize, QStringLiteral("14")})
                  .exitCode,
              0);
    const Result second = run({QStringLiteral("init")});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.out.contains(QStringLiteral("nothing was seeded")));
    EXPECT_EQ(run({QStringLiteral("get"), fontSize}).out, QStringLiteral("14\n"));

    EXPECT_EQ(run({QStringLiteral("seed")}).out.contains(QStringLiteral("nothing was seeded")),
              true);
    EXPECT_EQ(run({QStringLiteral("seed"), QStringLiteral("--force")}).exitCode, 0);
    EXPECT_EQ(run({QStringLiteral("get"), fontSize}).out, QStringLiteral("10\n"));
}

TEST_F(KivoCfg, SummaryDescribesTheSeededStore)
{
    ASSERT_EQ(run({QStringLiteral("init")}).exitCode, 0);
    const Result summary = run({QStringLiteral("summary")});
    EXPECT_EQ(summary.exitCode, 0);
    for (const QString &expected :
         {store(), QStringLiteral("default_layout: 11 field sets"),
          QStringLiteral("form_layout: none"), QStringLiteral("Value tables: 5"),
          QStringLiteral("Sex: 2 values"),
          QStringLiteral("radiologist (Dana Whitfield, group Radiologists, may edit layouts)")})
        EXPECT_TRUE(summary.out.contains(expected)) << expected.toStdString() << " missing in\n"
                                                    << summary.out.toStdString();
    EXPECT_TRUE(summary.out.contains(QRegularExpression(
        QStringLiteral("ACR code tree: [1-9][0-9]+ anatomy codes, [1-9][0-9]+ pathology"))));
    EXPECT_TRUE(summary.out.contains(
        QRegularExpression(QStringLiteral("Angio code tree: [1-9][0-9]+ codes"))));
}

// Guards against commands that silently create a store from a mistyped
// path, and against wrong exit codes that scripts rely on.
TEST_F(KivoCfg, KeysAreReadWrittenAndDeleted)
{
    EXPECT_EQ(run({QStringLiteral("get"), QStringLiteral("a")}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(store()));
    ASSERT_EQ(run({QStringLiteral("init")}).exitCode, 0);

    const QString key = QStringLiteral("Corvalis\\test\\zeta");
    EXPECT_EQ(run({QStringLiteral("set"), key, QStringLiteral("text with spaces")}).exitCode, 0);
    EXPECT_EQ(run({QStringLiteral("set"), QStringLiteral("--int"),
                   QStringLiteral("Corvalis\\test\\alpha"), QStringLiteral("-5")})
                  .exitCode,
              0);
    EXPECT_EQ(run({QStringLiteral("get"), key}).out, QStringLiteral("text with spaces\n"));
    EXPECT_EQ(run({QStringLiteral("get"), QStringLiteral("Corvalis\\test\\alpha")}).out,
              QStringLiteral("-5\n"));
    EXPECT_EQ(run({QStringLiteral("list"), QStringLiteral("Corvalis\\test")}).out,
              QStringLiteral("zeta\nalpha\n"));

    EXPECT_EQ(
        run({QStringLiteral("set"), QStringLiteral("--int"), key, QStringLiteral("3000000000")})
            .exitCode,
        2);
    EXPECT_EQ(run({QStringLiteral("set"), key}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("frobnicate")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("load-codes"), QStringLiteral("icd"), QStringLiteral("x.csv")})
                  .exitCode,
              2);

    EXPECT_EQ(run({QStringLiteral("delete"), key}).exitCode, 0);
    const Result gone = run({QStringLiteral("get"), key});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_TRUE(gone.err.contains(QStringLiteral("No key")));
    EXPECT_EQ(run({QStringLiteral("delete"), key}).exitCode, 1);

    const Result help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char *command : {"init", "seed", "list", "get", "set", "delete", "export", "import",
                                "load-codes", "summary"})
        EXPECT_TRUE(help.out.contains(
            QRegularExpression(QStringLiteral("^  %1\\b").arg(QLatin1String(command)),
                               QRegularExpression::MultilineOption)))
            << command;
}

// Export then import must give back the same tree: order, integers and
// numeric-looking strings; an import replaces the subtree rather than merging.
TEST_F(KivoCfg, ExportImportRoundTrip)
{
    ASSERT_EQ(run({QStringLiteral("init")}).exitCode, 0);
    const QString layout = Appearance + QStringLiteral("\\default_layout");
    const QString copy = QStringLiteral("Corvalis\\copies\\layout");
    ASSERT_EQ(run({QStringLiteral("set"), copy + QStringLiteral("\\stale"), QStringLiteral("x")})
                  .exitCode,
              0);
    ASSERT_EQ(run({QStringLiteral("set"), layout + QStringLiteral("\\set1\\label\\caption"),
                   QStringLiteral("007")})
                  .exitCode,
              0);

    const QString exported = path(QStringLiteral("layout.json"));
    ASSERT_EQ(run({QStringLiteral("export"), layout, exported}).exitCode, 0);
    const Result imported = run({QStringLiteral("import"), copy, exported});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();

    const Result again = run({QStringLiteral("export"), copy});
    ASSERT_EQ(again.exitCode, 0);
    QJsonObject original = QJsonDocument::fromJson(readFile(exported)).object();
    original.insert(QStringLiteral("name"), QStringLiteral("layout"));
    EXPECT_EQ(QJsonDocument::fromJson(again.out.toUtf8()).object(), original);

    ConfigDatabase database(store());
    EXPECT_FALSE(database.KeyExists(copy + QStringLiteral("\\stale")));
    EXPECT_EQ(database.ChildNames(copy).names(), database.ChildNames(layout).names());
    EXPECT_EQ(database.ReadValue(copy + QStringLiteral("\\set1\\label\\top")),
              ConfigValue(qint32(2160)));
    EXPECT_EQ(database.ReadValue(copy + QStringLiteral("\\set1\\label\\caption")),
              ConfigValue(QStringLiteral("007")));
}

// A broken file must name the line to fix and leave the subtree exactly as
// it was, not half replaced.
TEST_F(KivoCfg, BrokenImportNamesTheLineAndChangesNothing)
{
    ASSERT_EQ(run({QStringLiteral("init")}).exitCode, 0);
    const QString tables = Appearance + QStringLiteral("\\tables");
    const QByteArray before = run({QStringLiteral("export"), tables}).out.toUtf8();

    const QString syntax = writeFile(
        QStringLiteral("syntax.json"),
        "{\n  \"name\": \"tables\",\n  \"keys\": [\n    {\"name\": \"table1\",}\n  ]\n}\n");
    const QString format =
        writeFile(QStringLiteral("format.json"), "{\"name\": \"tables\", \"keys\": [\n"
                                                 "  {\"name\": \"table1\"},\n"
                                                 "  {\"name\": \"TABLE1\"}\n]}\n");
    for (const auto &[file, line] : {std::pair{syntax, 4}, std::pair{format, 3}}) {
        const Result result = run({QStringLiteral("import"), tables, file});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.err.contains(QStringLiteral("line %1").arg(line)))
            << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(file)) << result.err.toStdString();
    }
    EXPECT_EQ(run({QStringLiteral("export"), tables}).out.toUtf8(), before);

    const QString csv =
        writeFile(QStringLiteral("codes.csv"), "code,description\n4,Abdominal\n4.x,bad\n");
    const Result codes = run({QStringLiteral("load-codes"), QStringLiteral("angio"), csv});
    EXPECT_EQ(codes.exitCode, 1);
    EXPECT_TRUE(codes.err.contains(QStringLiteral("line 3"))) << codes.err.toStdString();
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
