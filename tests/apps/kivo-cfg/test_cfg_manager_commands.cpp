// The kivo-cfg commands that answer as the component would, called in
// process on a store of each test's own.
#include "ManagerCommands.h"

#include "config/Kivo_CFGManager.h"

#include <platform/Err.h>
#include <support/PlatformStoreTest.h>

#include <QFile>
#include <QFileInfo>

namespace {

// What a command printed.
template <typename Command> QString outputOf(Command command)
{
    QString text;
    QTextStream out(&text);
    command(out);
    out.flush();
    return text;
}

using ManagerCommandsTest = PlatformStoreTest;

} // namespace

TEST_F(ManagerCommandsTest, RightsShowTheCurrentOrNamedUser)
{
    const auto rights = [&](const QString &login = QString()) {
        return outputOf([&](QTextStream &out) { ManagerCommands::rights(m_file, login, out); });
    };
    // A query on a store that does not exist must say so, not create one.
    EXPECT_THROW(rights("x"), Err);
    EXPECT_FALSE(QFileInfo::exists(m_file));

    addUser("ividal", "Ines", "Vidal", 1);
    addUser("tmoss", "Tom", "Moss", 0);
    setPlatformValue("CurrUser", "ividal");
    EXPECT_EQ(rights(), QStringLiteral("login:        ividal\nname:         Ines Vidal\n"
                                       "group:        attendings\nedit layout:  yes\n"));
    EXPECT_TRUE(rights("tmoss").contains("edit layout:  no\n"));

    EXPECT_THROW(rights("ghost"), Err);
    setPlatformValue("CurrUser", QString());
    EXPECT_THROW(rights(), Err);
}

// Guards against reading (and logging) every set number up to the highest
// stored one: a hand-edited "set999999999" made the command read for minutes
// and write tens of megabytes of log.
TEST_F(ManagerCommandsTest, LayoutShowsWhatTheFormWouldRead)
{
    const auto layout = [&] {
        return outputOf([&](QTextStream &out) { ManagerCommands::layout(m_file, out); });
    };
    const QString path = QLatin1String(Kivo_CFGManager::DEFAULT_LAYOUT_PATH) + '\\';
    ConfigDatabase db = store();
    db.WriteLong(path + "width", 9000);
    db.WriteString(path + "set1\\tag", "kesto_tf_history");
    db.WriteString(path + "set1\\label\\caption", "History:");
    db.WriteLong(path + "set1\\text\\max_length", 0);
    db.WriteString(path + "set2\\label\\caption", "Modality:");
    db.WriteString(path + "set2\\text\\type", "drop down");
    db.WriteString(path + "set2\\text\\table", "Modalities");
    db.WriteString(path + "set5000\\label\\caption", "Far:");

    EXPECT_EQ(layout(), QStringLiteral(
                            "layout:     default_layout\n"
                            "form size:  9000 x not set twips\n\n"
                            "set   caption    kind       tag               table       max_length\n"
                            "1     History:   TEXT       KESTO_TF_HISTORY  -           0\n"
                            "2     Modality:  DROP DOWN  -                 Modalities  -\n"
                            "5000  Far:       TEXT       -                 -           -\n"));
    QFile log(m_dir.filePath(QStringLiteral("log/quovira.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    EXPECT_TRUE(logged.contains("Set number 5000 "));
    EXPECT_FALSE(logged.contains("Set number 3 ")) << "a missing set was read";

    db.DeleteKey(QLatin1String(Kivo_CFGManager::DEFAULT_LAYOUT_PATH));
    EXPECT_THROW(layout(), Err);
}
