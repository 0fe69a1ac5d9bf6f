// The kivo-cfg commands that answer as the component would.
#include "test_cfg_manager_env.h"

#include "config/Kivo_CFGManager.h"

#include <ManagerCommands.h>
#include <platform/Err.h>

#include <QFileInfo>

namespace {

class ManagerCommandsTest : public ManagerTest
{
protected:
    QString rights(const QString &login = QString())
    {
        QString text;
        QTextStream out(&text);
        ManagerCommands::rights(m_file, login, out);
        out.flush();
        return text;
    }

    QString layout()
    {
        QString text;
        QTextStream out(&text);
        ManagerCommands::layout(m_file, out);
        out.flush();
        return text;
    }

    void addUser(const QString &login, const QString &first, const QString &last, int edit)
    {
        const QString path = QStringLiteral("Corvalis\\system\\users\\") + login;
        ConfigDatabase db = store();
        db.WriteString(path + QStringLiteral("\\first_name"), first);
        db.WriteString(path + QStringLiteral("\\last_name"), last);
        db.WriteString(path + QStringLiteral("\\group"), QStringLiteral("attendings"));
        db.WriteLong(path + QStringLiteral("\\edit_allowed"), edit);
    }
};

} // namespace

TEST_F(ManagerCommandsTest, RightsShowTheCurrentOrNamedUser)
{
    // A query on a store that does not exist must say so, not create one.
    EXPECT_THROW(rights(QStringLiteral("x")), Err);
    EXPECT_FALSE(QFileInfo::exists(m_file));

    addUser(QStringLiteral("ividal"), QStringLiteral("Ines"), QStringLiteral("Vidal"), 1);
    addUser(QStringLiteral("tmoss"), QStringLiteral("Tom"), QStringLiteral("Moss"), 0);
    setPlatformValue(QStringLiteral("CurrUser"), QStringLiteral("ividal"));
    EXPECT_EQ(rights(), QStringLiteral("login:        ividal\nname:         Ines Vidal\n"
                                       "group:        attendings\nedit layout:  yes\n"));
    const QString tom = rights(QStringLiteral("tmoss"));
    EXPECT_TRUE(tom.contains(QStringLiteral("name:         Tom Moss\n")));
    EXPECT_TRUE(tom.contains(QStringLiteral("edit layout:  no\n")));

    EXPECT_THROW(rights(QStringLiteral("ghost")), Err);
    setPlatformValue(QStringLiteral("CurrUser"), QString());
    EXPECT_THROW(rights(), Err);
}

TEST_F(ManagerCommandsTest, LayoutShowsWhatTheFormWouldRead)
{
    const QString path = QLatin1String(Kivo_CFGManager::DEFAULT_LAYOUT_PATH);
    ConfigDatabase db = store();
    db.WriteLong(path + QStringLiteral("\\width"), 9000);
    db.WriteString(path + QStringLiteral("\\set1\\tag"), QStringLiteral("kesto_tf_history"));
    db.WriteString(path + QStringLiteral("\\set1\\label\\caption"), QStringLiteral("History:"));
    db.WriteLong(path + QStringLiteral("\\set1\\text\\max_length"), 0);
    db.WriteString(path + QStringLiteral("\\set2\\label\\caption"), QStringLiteral("Modality:"));
    db.WriteString(path + QStringLiteral("\\set2\\text\\type"), QStringLiteral("drop down"));
    db.WriteString(path + QStringLiteral("\\set2\\text\\table"), QStringLiteral("Modalities"));

    EXPECT_EQ(layout(),
              QStringLiteral("layout:     default_layout\n"
                             "form size:  9000 x not set twips\n\n"
                             "set  caption    kind       tag               table       max_length\n"
                             "1    History:   TEXT       KESTO_TF_HISTORY  -           0\n"
                             "2    Modality:  DROP DOWN  -                 Modalities  -\n"));

    db.DeleteKey(path);
    EXPECT_THROW(layout(), Err);
}
