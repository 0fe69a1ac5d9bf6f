#include "CfgTool.h"

#include "ManagerCommands.h"
#include "StoreSummary.h"
#include "config/StoreSeed.h"
#include "pickers/codetree/CodeTreeLoader.h"
#include "platform/Err.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/config/ConfigJson.h"
#include "platform/config/ConfigNode.h"
#include "platform/config/StoreUri.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

enum ExitCode { Done = 0, Failed = 1, UsageWrong = 2 };

// A command line that does not fit the command; exits with 2.
struct UsageError
{
    QString message;
};

QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString()));
    return file.readAll();
}

// Input errors name the file they come from.
template <typename Function> auto fromFile(const QString &fileName, Function function)
{
    try {
        return function(readFile(fileName));
    } catch (const Err &e) {
        if (e.number() != Err::ImportFailure)
            throw;
        throw Err(e.number(), fileName + QStringLiteral(", ") + e.description());
    }
}

// Paths that write: "" would be the whole store.
ConfigPath keyPath(const QString &text)
{
    const ConfigPath path = ConfigPath::parse(text);
    if (path.isRoot())
        throw UsageError{QStringLiteral("a key path is needed; the store root itself cannot be "
                                        "changed this way")};
    return path;
}

Err noKey(const QString &path)
{
    return Err(Err::InvalidArgument, QStringLiteral("No key \"%1\" in the store").arg(path));
}

void requireKey(const ConfigDatabase &database, const QString &path)
{
    if (!database.KeyExists(path))
        throw noKey(path);
}

} // namespace

struct CfgTool::Command
{
    QString name;
    QString synopsis;
    QString summary;
    int minArgs;
    int maxArgs;
    void (CfgTool::*handler)(const QStringList &);
    QString option; // the one option of its own, if any
};

CfgTool::CfgTool() : m_out(stdout), m_err(stderr) {}

const QList<CfgTool::Command> &CfgTool::commands()
{
    static const QList<Command> list = {
        {QStringLiteral("init"), QString(),
         QStringLiteral("Create the store when missing and seed it when fresh."), 0, 0,
         &CfgTool::init, QString()},
        {QStringLiteral("seed"), QStringLiteral("[--force]"),
         QStringLiteral("Seed a fresh store; with --force put every shipped branch back as "
                        "shipped (default layout, value tables, the sample code trees in place "
                        "of loaded ones, UI settings, users)."),
         0, 0, &CfgTool::seed, QStringLiteral("force")},
        {QStringLiteral("list"), QStringLiteral("PATH"),
         QStringLiteral("Child names of a key, one per line, in store order."), 1, 1,
         &CfgTool::list, QString()},
        {QStringLiteral("get"), QStringLiteral("PATH"), QStringLiteral("The value of a key."), 1, 1,
         &CfgTool::get, QString()},
        {QStringLiteral("set"), QStringLiteral("[--int] PATH VALUE"),
         QStringLiteral("Write a text value, or with --int a 32-bit integer."), 2, 2, &CfgTool::set,
         QStringLiteral("int")},
        {QStringLiteral("delete"), QStringLiteral("PATH"),
         QStringLiteral("Remove a key and everything below it."), 1, 1, &CfgTool::remove,
         QString()},
        {QStringLiteral("export"), QStringLiteral("PATH [FILE]"),
         QStringLiteral("Write a subtree as JSON to FILE, or to standard output."), 1, 2,
         &CfgTool::exportTree, QString()},
        {QStringLiteral("import"), QStringLiteral("PATH FILE"),
         QStringLiteral("Replace the subtree at PATH by the JSON tree in FILE, all or nothing."), 2,
         2, &CfgTool::importTree, QString()},
        {QStringLiteral("load-codes"), QStringLiteral("acr|angio FILE.csv"),
         QStringLiteral("Replace the ACR or angiography code tree by the codes of a CSV file "
                        "of lines code,description."),
         2, 2, &CfgTool::loadCodes, QString()},
        {QStringLiteral("copy"), QStringLiteral("--from STORE --to STORE"),
         QStringLiteral("Replace everything in the store --to (a file or postgresql:// URI) by "
                        "a copy of the store --from, in one transaction, checked before it is "
                        "committed."),
         0, 0, &CfgTool::copy, QString()},
        {QStringLiteral("summary"), QString(), QStringLiteral("What the store holds, in short."), 0,
         0, &CfgTool::summary, QString()},
        {QStringLiteral("rights"), QStringLiteral("[--user LOGIN]"),
         QStringLiteral("The current user (CurrUser), or LOGIN: displayed name, group and "
                        "whether they may edit the layout."),
         0, 1, &CfgTool::rights, QStringLiteral("user")},
        {QStringLiteral("layout"), QString(),
         QStringLiteral("The form layout the teaching-file window would read: which one, its "
                        "size and its field sets."),
         0, 0, &CfgTool::layout, QString()},
    };
    return list;
}

QString CfgTool::commandList()
{
    QString text =
        QStringLiteral("Administers the teaching-file configuration store.\n\nCommands:\n");
    for (const Command &command : commands()) {
        text += QStringLiteral("  %1\n      %2\n")
                    .arg((command.name + QLatin1Char(' ') + command.synopsis).trimmed(),
                         command.summary);
    }
    text += QStringLiteral("\nPaths are key names joined by \"\\\", for example "
                           "Corvalis\\system\\ui\\font_name.");
    return text;
}

int CfgTool::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(commandList());
    const QCommandLineOption storeOption(
        QStringLiteral("store"),
        QStringLiteral("The store file or postgresql:// URI (default: %1).")
            .arg(StoreUri::masked(ConfigDatabase::defaultFile())),
        QStringLiteral("FILE"));
    parser.addOption(storeOption);
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("One of the commands above."),
                                 QStringLiteral("<command> [arguments]"));
    // Options after the command belong to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);

    try {
        if (!parser.parse(arguments))
            throw UsageError{parser.errorText()};
        if (parser.isSet(QStringLiteral("help"))) {
            m_out << parser.helpText();
            return Done;
        }
        m_storeFile = parser.value(storeOption);
        const QStringList rest = parser.positionalArguments();
        if (rest.isEmpty())
            throw UsageError{QStringLiteral("no command given")};
        for (const Command &command : commands()) {
            if (command.name == rest.first())
                return runCommand(command, rest);
        }
        throw UsageError{QStringLiteral("unknown command \"%1\"").arg(rest.first())};
    } catch (const UsageError &e) {
        m_err << "kivo-cfg: " << e.message << "\nTry 'kivo-cfg --help'.\n";
        return UsageWrong;
    } catch (const Err &e) {
        m_err << "kivo-cfg: " << e.description() << '\n';
        return Failed;
    } catch (const std::exception &e) {
        m_err << "kivo-cfg: " << e.what() << '\n';
        return Failed;
    }
}

int CfgTool::runCommand(const Command &command, const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption storeOption(QStringLiteral("store"), QString(),
                                         QStringLiteral("FILE"));
    const QCommandLineOption fromOption(QStringLiteral("from"), QString(), QStringLiteral("STORE"));
    const QCommandLineOption toOption(QStringLiteral("to"), QString(), QStringLiteral("STORE"));
    parser.addOption(storeOption);
    if (command.handler == &CfgTool::copy)
        parser.addOptions({fromOption, toOption});
    if (!command.option.isEmpty())
        parser.addOption(QCommandLineOption(command.option));
    // A negative integer after PATH is a value, not an option.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    QStringList commandLine = arguments;
    commandLine.first() = QStringLiteral("kivo-cfg ") + command.name;
    if (!parser.parse(commandLine))
        throw UsageError{command.name + QStringLiteral(": ") + parser.errorText()};
    if (parser.isSet(storeOption))
        m_storeFile = parser.value(storeOption);
    if (command.handler == &CfgTool::copy) {
        m_copyFrom = parser.value(fromOption);
        m_copyTo = parser.value(toOption);
    }
    m_force = command.option == QLatin1String("force") && parser.isSet(command.option);
    m_intValue = command.option == QLatin1String("int") && parser.isSet(command.option);
    m_namedUser = command.option == QLatin1String("user") && parser.isSet(command.option);

    const QStringList args = parser.positionalArguments();
    if (args.size() < command.minArgs || args.size() > command.maxArgs)
        throw UsageError{
            QStringLiteral("usage: kivo-cfg %1 %2").arg(command.name, command.synopsis)};
    (this->*command.handler)(args);
    m_out.flush();
    return Done;
}

std::unique_ptr<ConfigDatabase> CfgTool::openStore(bool mayCreate) const
{
    const QString file = m_storeFile.isEmpty() ? ConfigDatabase::defaultFile() : m_storeFile;
    // Only init creates a store: a mistyped --store must not leave new files
    // behind. Opening one creates nothing.
    auto database = std::make_unique<ConfigDatabase>(file);
    if (!mayCreate && !database->hasStore() && !QFileInfo::exists(file))
        throw Err(Err::StoreOpen, QStringLiteral("No store at %1; create one with kivo-cfg init")
                                      .arg(database->displayName()));
    return database;
}

void CfgTool::reportSeeding(const ConfigDatabase &database, bool created, bool seeded)
{
    m_out << (created ? "Created the store " : "Store ") << database.displayName() << '\n';
    if (!seeded) {
        m_out << "The store already holds teaching-file settings; nothing was seeded.\n"
                 "kivo-cfg seed --force puts the shipped settings back.\n";
        return;
    }
    m_out << "Seeded:\n";
    for (const StoreSeed::Tree &seed : StoreSeed::trees())
        m_out << "  " << seed.path() << '\n';
}

void CfgTool::init(const QStringList &)
{
    const auto database = openStore(true);
    const bool created = !database->hasStore();
    reportSeeding(*database, created, seedStore(*database, false));
}

void CfgTool::seed(const QStringList &)
{
    const auto database = openStore(false);
    reportSeeding(*database, false, seedStore(*database, m_force));
}

void CfgTool::list(const QStringList &args)
{
    const auto database = openStore(false);
    requireKey(*database, args.at(0));
    const KeyNameList names = database->ChildNames(args.at(0));
    for (const QString &name : names.names())
        m_out << name << '\n';
}

void CfgTool::get(const QStringList &args)
{
    const auto database = openStore(false);
    const std::optional<ConfigValue> value = database->ReadValue(args.at(0));
    if (!value) {
        requireKey(*database, args.at(0));
        throw Err(Err::InvalidArgument, QStringLiteral("\"%1\" holds no value").arg(args.at(0)));
    }
    m_out << database->ReadString(args.at(0)) << '\n';
}

void CfgTool::set(const QStringList &args)
{
    const QString path = keyPath(args.at(0)).toString();
    bool isNumber = true;
    const qint32 number = m_intValue ? args.at(1).toInt(&isNumber) : 0;
    if (!isNumber)
        throw UsageError{
            QStringLiteral("\"%1\" is not a whole number in 32-bit range").arg(args.at(1))};
    const auto database = openStore(false);
    if (m_intValue)
        database->WriteLong(path, number);
    else
        database->WriteString(path, args.at(1));
}

void CfgTool::remove(const QStringList &args)
{
    const QString path = keyPath(args.at(0)).toString();
    const auto database = openStore(false);
    requireKey(*database, path);
    database->DeleteKey(path);
}

void CfgTool::exportTree(const QStringList &args)
{
    const auto database = openStore(false);
    const std::shared_ptr<FreeConfigTree> tree = database->LoadTree(args.at(0));
    if (!tree)
        throw noKey(args.at(0));
    const QByteArray json = ConfigJson::toJson(*tree);
    if (args.size() == 1) {
        m_out << QString::fromUtf8(json);
        return;
    }
    QSaveFile file(args.at(1));
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Cannot write %1: %2").arg(args.at(1), file.errorString()));
}

void CfgTool::importTree(const QStringList &args)
{
    const ConfigPath path = keyPath(args.at(0));
    const auto tree =
        fromFile(args.at(1), [](const QByteArray &json) { return ConfigJson::fromJson(json); });
    tree->RenameRoot(tree->RootName(), path.name());
    const auto database = openStore(false);
    auto transaction = database->transaction();
    database->AttachTree(path.parent().toString(), *tree);
    transaction.commit();
    m_out << "Imported " << tree->rootNode().countNodes() << " keys into " << path.toString()
          << '\n';
}

void CfgTool::loadCodes(const QStringList &args)
{
    const QString which = args.at(0).toLower();
    if (which != QLatin1String("acr") && which != QLatin1String("angio"))
        throw UsageError{
            QStringLiteral("load-codes takes acr or angio, not \"%1\"").arg(args.at(0))};
    const CodeTreeKind kind =
        which == QLatin1String("acr") ? CodeTreeKind::Acr : CodeTreeKind::Angio;
    const auto database = openStore(false);
    const int count = fromFile(args.at(1), [&](const QByteArray &csv) {
        return CodeTreeLoader::load(*database, kind, csv);
    });
    m_out << "Loaded " << count << (kind == CodeTreeKind::Acr ? " ACR" : " angiography")
          << " codes into " << CodeTreeLoader::storePath(kind) << '\n';
}

void CfgTool::copy(const QStringList &)
{
    if (m_copyFrom.isEmpty() || m_copyTo.isEmpty())
        throw UsageError{QStringLiteral("usage: kivo-cfg copy --from STORE --to STORE")};
    ConfigDatabase source(m_copyFrom);
    if (!source.hasStore())
        throw Err(Err::StoreOpen,
                  QStringLiteral("No store at %1 to copy").arg(source.displayName()));
    const std::shared_ptr<FreeConfigTree> whole = source.LoadTree(QString());
    const QByteArray expected = ConfigJson::toJson(*whole);
    ConfigDatabase target(m_copyTo);
    auto transaction = target.transaction();
    target.DeleteKey(QString());
    const KeyNameList names = whole->ChildNames(QString());
    for (const QString &name : names.names())
        target.AttachTree(QString(),
                          *std::static_pointer_cast<FreeConfigTree>(whole->OpenSubTree(name)));
    // Read back inside the transaction: a copy that differs is never committed.
    if (ConfigJson::toJson(*target.LoadTree(QString())) != expected)
        throw Err(Err::StoreFailure,
                  QStringLiteral("The copy in %1 differs from %2; nothing was changed")
                      .arg(target.displayName(), source.displayName()));
    transaction.commit();
    m_out << "Copied " << whole->rootNode().countNodes() - 1 << " keys from "
          << source.displayName() << " to " << target.displayName() << " (checked)\n";
}

void CfgTool::summary(const QStringList &)
{
    m_out << StoreSummary::describe(*openStore(false));
}

void CfgTool::rights(const QStringList &args)
{
    // --user is a switch of the table above; its LOGIN is the one argument.
    if (m_namedUser != (args.size() == 1))
        throw UsageError{QStringLiteral("usage: kivo-cfg rights [--user LOGIN]")};
    ManagerCommands::rights(m_storeFile, args.value(0), m_out);
}

void CfgTool::layout(const QStringList &)
{
    ManagerCommands::layout(m_storeFile, m_out);
}
