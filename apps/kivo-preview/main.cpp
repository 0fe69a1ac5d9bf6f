// Opens one of the component's dialogs on a store, so a person can try it
// without the workstation: the code pickers, the value tables editor and the
// message boxes.

#include "common/QV_MsgBox.h"
#include "config/Kivo_CFGManager.h"
#include "config/StoreSeed.h"
#include "pickers/PickerPreview.h"
#include "platform/Err.h"
#include "platform/config/ConfigDatabase.h"
#include "tables/Kivo_TablesFrm.h"

#include <kivo/runtime.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

namespace {

void setPlatformValue(const char16_t *name, const QString &value)
{
    SetPlatformValue(name, reinterpret_cast<const OLECHAR *>(value.utf16()));
}

// The message boxes the component shows, one after the other.
void showMessageBoxes(QTextStream &out)
{
    QV_MsgBox::ShowInfoMsgCode(QStringLiteral("The teaching file was saved."), 17);
    QV_MsgBox::ShowErrorMsgCode(QStringLiteral("The table name is already in use."), 16);
    const qint32 answer =
        QV_MsgBox::AskQuestionCode(QStringLiteral("Submit the teaching file?"), 1154);
    out << "answer " << (answer == QV_MsgBox::AnswerYes ? "Yes" : "No") << '\n';
}

// The chosen code, or that the picker was cancelled.
void printPick(QTextStream &out, const QString &code)
{
    if (code.isEmpty())
        out << "cancelled\n";
    else
        out << "code " << code << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kivo-preview"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Opens a dialog of the teaching-file component on a configuration store.\n"
                       "Dialogs: acr [CODE], angio [CODE], tables, messages."));
    parser.addHelpOption();
    const QCommandLineOption storeOption(QStringLiteral("store"),
                                         QStringLiteral("The configuration store file."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption loginOption(QStringLiteral("login"),
                                         QStringLiteral("The user (default: radiologist)."),
                                         QStringLiteral("NAME"), QStringLiteral("radiologist"));
    parser.addOption(storeOption);
    parser.addOption(loginOption);
    parser.addPositionalArgument(QStringLiteral("dialog"),
                                 QStringLiteral("acr, angio, tables or messages"));
    parser.addPositionalArgument(QStringLiteral("code"), QStringLiteral("incoming code"),
                                 QStringLiteral("[code]"));
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        err << parser.helpText();
        return 2;
    }
    const QString dialog = args.first();
    const QString code = args.value(1);

    try {
        if (parser.isSet(storeOption))
            setPlatformValue(u"ConfigStoreFile", parser.value(storeOption));
        setPlatformValue(u"CurrUser", parser.value(loginOption));
        ConfigDatabase database;
        if (seedStore(database, false))
            out << "Seeded a new store at " << database.displayName() << '\n';

        // The dialogs take their fonts, scale, colours and texts from the
        // settings the configuration manager reads at start.
        Kivo_CFGManager manager;
        Kivo_CFGManager::setInstance(&manager);
        manager.Init();

        if (dialog == QLatin1String("acr"))
            printPick(out, PickerPreview::openAcrCodePicker(code));
        else if (dialog == QLatin1String("angio"))
            printPick(out, PickerPreview::openAngioCodePicker(code));
        else if (dialog == QLatin1String("tables"))
            out << (Kivo_TablesFrm::editStoredTables() ? "saved" : "unchanged") << '\n';
        else if (dialog == QLatin1String("messages"))
            showMessageBoxes(out);
        else {
            err << "Unknown dialog \"" << dialog << "\"\n" << parser.helpText();
            return 2;
        }
        manager.Uninitialize();
    } catch (const Err &e) {
        err << e.description() << '\n';
        return 1;
    }
    return 0;
}
