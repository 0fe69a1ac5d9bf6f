#include "ManagerCommands.h"

#include <config/Kivo_CFGManager.h>
#include <platform/Err.h>
#include <platform/config/ConfigDatabase.h>
#include <platform/config/StoreUri.h>
#include <platform/user/UserDirectory.h>
#include <platform/user/UserRecords.h>

#include <kivo/runtime.h>

#include <QFileInfo>

#include <algorithm>

namespace {

// Points everything that opens the default store - the configuration
// manager and the user services - at the store this command reads. A query
// must not leave an empty store behind where there was none.
void useExistingStore(const QString &storeFile)
{
    const QString file = storeFile.isEmpty() ? ConfigDatabase::defaultFile() : storeFile;
    const bool exists =
        StoreUri::isPostgres(file) ? ConfigDatabase(file).hasStore() : QFileInfo(file).isFile();
    if (!exists)
        throw Err(Err::StoreOpen,
                  QStringLiteral("There is no store at %1").arg(StoreUri::masked(file)));
    const QString name = QStringLiteral("ConfigStoreFile");
    SetPlatformValue(reinterpret_cast<const OLECHAR *>(name.utf16()),
                     reinterpret_cast<const OLECHAR *>(file.utf16()));
}

QString orDash(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString dimension(qint32 value)
{
    return value == -1 ? QStringLiteral("not set") : QString::number(value);
}

// Columns as wide as their widest cell, so the sets can be compared by eye.
void printTable(const QList<QStringList> &rows, QTextStream &out)
{
    QList<int> widths;
    for (const QStringList &row : rows) {
        for (int column = 0; column < row.size(); ++column) {
            if (column == widths.size())
                widths << 0;
            widths[column] = std::max(widths[column], int(row[column].size()));
        }
    }
    for (const QStringList &row : rows) {
        QString line;
        for (int column = 0; column < row.size(); ++column)
            line += row[column].leftJustified(widths[column] + 2);
        out << line.trimmed() << '\n';
    }
}

} // namespace

namespace ManagerCommands {

void rights(const QString &storeFile, const QString &namedLogin, QTextStream &out)
{
    const QString login =
        namedLogin.isEmpty() ? ConfigDatabase::GlobalValue(QStringLiteral("CurrUser")) : namedLogin;
    if (login.isEmpty())
        throw Err(Err::InvalidArgument,
                  QStringLiteral("Nobody is logged in (CurrUser is not set); name a user with "
                                 "--user LOGIN"));
    useExistingStore(storeFile);
    const UserRecords records;
    const auto user = records.find(login);
    if (!user)
        throw Err(Err::InvalidArgument,
                  QStringLiteral("No user record for login \"%1\"").arg(login));
    out << "login:        " << login << '\n'
        << "name:         " << orDash(UserDirectory().DisplayNameOf(login)) << '\n'
        << "group:        " << orDash(user->GroupName) << '\n'
        << "edit layout:  " << (records.rightsOf(login).EditAllowed ? "yes" : "no") << '\n';
}

void layout(const QString &storeFile, QTextStream &out)
{
    useExistingStore(storeFile);
    Kivo_CFGManager manager;
    manager.Init();
    if (!manager.InitBeforeReadLayout(false))
        throw Err(Err::InvalidArgument,
                  QStringLiteral("The store holds neither form_layout nor default_layout"));

    LayoutRecord record;
    manager.ReadFormLayout(record);
    out << "layout:     " << manager.readLayoutName() << '\n'
        << "form size:  " << dimension(record.width) << " x " << dimension(record.height)
        << " twips\n\n";

    QList<QStringList> rows{{QStringLiteral("set"), QStringLiteral("caption"),
                             QStringLiteral("kind"), QStringLiteral("tag"), QStringLiteral("table"),
                             QStringLiteral("max_length")}};
    for (const int n : manager.readSetNumbers()) {
        // Read as the form reads: label first, then the input control, the
        // tag carried over from the label.
        record.clear();
        manager.ReadFieldLayout(record, n, QStringLiteral("label"));
        const QString caption = record.caption;
        record.clear();
        manager.ReadFieldLayout(record, n, QStringLiteral("text"));
        const bool dropDown = record.type == QLatin1String("DROP DOWN");
        rows << QStringList{QString::number(n),
                            orDash(caption),
                            dropDown ? QStringLiteral("DROP DOWN") : QStringLiteral("TEXT"),
                            orDash(record.tag),
                            orDash(record.table),
                            record.maxLength < 0 ? QStringLiteral("-")
                                                 : QString::number(record.maxLength)};
    }
    printTable(rows, out);
}

} // namespace ManagerCommands
