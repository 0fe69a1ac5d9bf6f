// The form layout in the store: which layout is read, what a save leaves
// behind, and that a save is all or nothing.
#include "test_cfg_manager_env.h"

#include "config/Kivo_CFGManager.h"

#include <platform/Err.h>
#include <platform/config/ConfigJson.h>

#include <QRect>
#include <QVector>

#include <sqlite3.h>

namespace {

const QString LayoutPath = QLatin1String(Kivo_CFGManager::LAYOUT_PATH);
const QString DefaultPath = QLatin1String(Kivo_CFGManager::DEFAULT_LAYOUT_PATH);

// A key below the user's saved layout.
QString layoutKey(const char *key)
{
    return LayoutPath + '\\' + QLatin1String(key);
}

// Makes the store refuse to write a key of that name, as a failing disk
// refuses some write in the middle of a save. The refusal is a trigger on the
// store's table of keys.
void refuseKeysNamed(const QString &file, const QByteArray &name)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    const QByteArray trigger = "CREATE TRIGGER refuse BEFORE INSERT ON keys WHEN NEW.fname = '" +
                               name + "' BEGIN SELECT RAISE(ABORT, 'refused'); END";
    EXPECT_EQ(sqlite3_exec(db, trigger.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// One field set as the form hands it over: its label and its input control.
struct FieldSet
{
    LayoutRecord label;
    LayoutRecord text;
};

LayoutRecord record(qint32 top, qint32 left, qint32 width, qint32 height,
                    const QString &caption = QString(), const QString &tag = QString())
{
    return {top, left, width, height, -1, caption, tag, QString(), QString()};
}

// Every field of a record, so that a difference shows which one.
QString fields(const LayoutRecord &r)
{
    return QStringLiteral("%1|%2|%3|%4|%5|")
               .arg(r.top)
               .arg(r.left)
               .arg(r.width)
               .arg(r.height)
               .arg(r.maxLength) +
           QStringList{r.caption, r.tag, r.type, r.table}.join('|');
}

// The form's save cycle.
void saveLayout(Kivo_CFGManager &manager, const QVector<FieldSet> &sets, qint32 width,
                qint32 height)
{
    ASSERT_TRUE(manager.InitSaveTree());
    LayoutRecord form;
    form.width = width;
    form.height = height;
    manager.WriteFormSize(form);
    for (int i = 0; i < sets.size(); ++i) {
        manager.WriteFieldLayout(sets[i].label, i + 1, QStringLiteral("label"));
        manager.WriteFieldLayout(sets[i].text, i + 1, QStringLiteral("text"));
    }
    manager.DumpDataToCFG();
}

// The form's read cycle: one record, cleared before every entry, as the
// form keeps it.
QVector<FieldSet> readSets(const Kivo_CFGManager &manager, int count)
{
    QVector<FieldSet> sets(count);
    LayoutRecord current;
    for (int n = 1; n <= count; ++n) {
        current.clear();
        manager.ReadFieldLayout(current, n, QStringLiteral("label"));
        sets[n - 1].label = current;
        current.clear();
        manager.ReadFieldLayout(current, n, QStringLiteral("text"));
        sets[n - 1].text = current;
    }
    return sets;
}

class LayoutStoreTest : public ManagerTest
{
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        m_manager.Init();
    }

    void writeDefaultLayout()
    {
        const QString path = DefaultPath + '\\';
        ConfigDatabase db = store();
        db.WriteLong(path + QStringLiteral("width"), 9000);
        db.WriteLong(path + QStringLiteral("height"), 7000);
        db.WriteString(path + QStringLiteral("set1\\tag"), QStringLiteral("history"));
        db.WriteString(path + QStringLiteral("set1\\label\\caption"), QStringLiteral("History:"));
        db.WriteLong(path + QStringLiteral("set1\\label\\top"), 120);
        db.WriteLong(path + QStringLiteral("set1\\text\\max_length"), 0);
        db.WriteString(path + QStringLiteral("set2\\text\\type"), QStringLiteral("drop down"));
        db.WriteString(path + QStringLiteral("set2\\text\\table"), QStringLiteral("Diagnoses"));
    }

    QByteArray defaultLayout() const
    {
        return ConfigJson::toJson(*store().OpenSubTree(DefaultPath));
    }

    Kivo_CFGManager m_manager;
};

} // namespace

// The shipped layout is read until the user saves one, and again after a
// reset; saving then replaces the user's layout whole (a set only the old one
// had must go). Neither a save nor a field type ever writes into the shipped
// layout; a type goes only into a set the user's layout has.
TEST_F(LayoutStoreTest, DefaultIsReadUntilTheUserSavesAndIsNeverWritten)
{
    // Nothing stored at all: nothing to build.
    LayoutRecord form;
    EXPECT_FALSE(m_manager.InitBeforeReadLayout(false));
    EXPECT_THROW(m_manager.ReadFormLayout(form), Err);
    EXPECT_FALSE(m_manager.InitBeforeReadLayout(true));

    writeDefaultLayout();
    const QByteArray shipped = defaultLayout();
    m_manager.UpdateFieldType(QStringLiteral("TEXT"), 2, QStringLiteral("text"));
    EXPECT_FALSE(store().KeyExists(LayoutPath));
    ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));
    EXPECT_EQ(m_manager.readLayoutName(), QStringLiteral("default_layout"));
    EXPECT_EQ(m_manager.readSetNumbers(), (QList<int>{1, 2}));
    m_manager.ReadFormLayout(form);
    EXPECT_EQ(QRect(form.left, form.top, form.width, form.height), QRect(-1, -1, 9000, 7000));
    const auto sets = readSets(m_manager, 2);
    EXPECT_EQ(sets[0].label.tag, QStringLiteral("HISTORY"));
    EXPECT_EQ(sets[0].label.maxLength, -1) << "absent max_length is not set";
    EXPECT_EQ(sets[0].text.maxLength, 0) << "a stored 0 is a value";
    EXPECT_EQ(sets[1].text.type, QStringLiteral("DROP DOWN"));

    saveLayout(m_manager, sets, 9100, 7100);
    store().WriteLong(layoutKey("set7\\label\\top"), 1);
    ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));
    EXPECT_EQ(m_manager.readLayoutName(), QStringLiteral("form_layout"));
    ASSERT_TRUE(m_manager.InitBeforeReadLayout(true));
    EXPECT_EQ(m_manager.readLayoutName(), QStringLiteral("default_layout"));
    saveLayout(m_manager, readSets(m_manager, 2), 9000, 7000);

    EXPECT_FALSE(store().KeyExists(layoutKey("set7")));
    EXPECT_EQ(store().ReadString(layoutKey("set2\\text\\table")), QStringLiteral("Diagnoses"));
    m_manager.UpdateFieldType(QStringLiteral("EDIT"), 2, QStringLiteral("text"));
    m_manager.UpdateFieldType(QStringLiteral("EDIT"), 3, QStringLiteral("text"));
    EXPECT_EQ(store().ReadString(layoutKey("set2\\text\\type")), QStringLiteral("EDIT"));
    EXPECT_FALSE(store().KeyExists(layoutKey("set3")));
    EXPECT_EQ(defaultLayout(), shipped);
}

TEST_F(LayoutStoreTest, SavedLayoutReadsBackAsWritten)
{
    FieldSet findings{record(100, 200, 3000, 250, QStringLiteral("Findings:"),
                             QStringLiteral("kesto_tf_findings")),
                      record(400, 200, 6000, 900, QString(), QStringLiteral("kesto_tf_findings"))};
    findings.text.maxLength = 0;
    findings.text.type = QStringLiteral("text");
    FieldSet modality{record(1400, 200, 3000, 250, QStringLiteral("Modality:"),
                             QStringLiteral("KESTO_TF_MODALITY")),
                      record(1700, 200, 2500, 300, QString(), QStringLiteral("KESTO_TF_MODALITY"))};
    modality.text.type = QStringLiteral("Drop Down");
    modality.text.table = QStringLiteral("Modalities");
    saveLayout(m_manager, {findings, modality}, 8000, 6500);

    ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));
    EXPECT_EQ(m_manager.readLayoutName(), QStringLiteral("form_layout"));
    LayoutRecord form;
    m_manager.ReadFormLayout(form);
    EXPECT_EQ(QSize(form.width, form.height), QSize(8000, 6500));

    // Tags and types come back upper-cased, everything else as written.
    const auto sets = readSets(m_manager, 2);
    findings.label.tag = findings.text.tag = QStringLiteral("KESTO_TF_FINDINGS");
    findings.text.type = QStringLiteral("TEXT");
    modality.text.type = QStringLiteral("DROP DOWN");
    EXPECT_EQ(fields(sets[0].label), fields(findings.label));
    EXPECT_EQ(fields(sets[0].text), fields(findings.text));
    EXPECT_EQ(fields(sets[1].label), fields(modality.label));
    EXPECT_EQ(fields(sets[1].text), fields(modality.text));
}

// Each save replaces the whole user layout: what the first save wrote and
// the second did not must be gone, whether the layout existed at the last
// read or was created by the save before.
TEST_F(LayoutStoreTest, SecondSaveReplacesTheFirst)
{
    const FieldSet wide{record(0, 0, 5000, 250, QStringLiteral("Wide:")),
                        record(300, 0, 5000, 600)};
    const FieldSet narrow{record(0, 0, 2000, 250), record(300, 0, 2000, 600)};
    for (bool readFirst : {false, true}) {
        SCOPED_TRACE(readFirst ? "layout stored at the last read" : "no layout at the last read");
        store().DeleteKey(LayoutPath);
        ASSERT_FALSE(m_manager.InitBeforeReadLayout(false));
        if (readFirst) {
            saveLayout(m_manager, {wide}, 1, 1);
            ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));
        }
        saveLayout(m_manager, {wide, wide, wide}, 9000, 9000);
        saveLayout(m_manager, {narrow}, 4000, 3000);
        ConfigDatabase db = store();
        EXPECT_EQ(db.ChildNames(LayoutPath).names(),
                  (QStringList{QStringLiteral("width"), QStringLiteral("height"),
                               QStringLiteral("set1")}));
        EXPECT_EQ(db.ReadLong(layoutKey("set1\\label\\width")), 2000);
        EXPECT_FALSE(db.KeyExists(layoutKey("set1\\label\\caption")));
    }
}

// Values typed into the store by hand. A set without a stored tag must not
// travel under the tag of the set read before it: two fields under one tag
// overwrite each other in the record. A form position or size that is no
// whole number must not stop the form from being built: it is not set.
TEST_F(LayoutStoreTest, HandTypedValuesNeitherLeakNorStopTheForm)
{
    ConfigDatabase db = store();
    db.WriteString(layoutKey("set1\\tag"), QStringLiteral("KESTO_TF_HISTORY"));
    db.WriteLong(layoutKey("set1\\label\\top"), 10);
    db.WriteLong(layoutKey("set2\\label\\top"), 20);
    db.WriteString(layoutKey("top"), QStringLiteral("12.5"));
    db.WriteString(layoutKey("width"), QStringLiteral("wide"));
    db.WriteString(layoutKey("height"), QStringLiteral("6000"));
    ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));

    const auto sets = readSets(m_manager, 2);
    EXPECT_EQ(sets[0].text.tag, QStringLiteral("KESTO_TF_HISTORY"));
    EXPECT_EQ(sets[1].label.tag, QString());
    EXPECT_EQ(sets[1].text.tag, QString());

    LayoutRecord form;
    ASSERT_NO_THROW(m_manager.ReadFormLayout(form));
    EXPECT_EQ(form.top, -1);
    EXPECT_EQ(form.width, -1);
    EXPECT_EQ(form.height, 6000);
    EXPECT_EQ(managerLog().filter(QStringLiteral("is not a whole number")).size(), 2);
}

// Guards against a save that reaches the store piece by piece: a save cut
// short half-way (the store refuses the second set) leaves the stored layout
// as it was, its size and every set.
TEST_F(LayoutStoreTest, SaveCutShortLeavesTheStoredLayoutWhole)
{
    const auto sets = [](qint32 generation) {
        const QString caption = QStringLiteral("generation %1").arg(generation);
        return QVector<FieldSet>(
            3, {record(generation, 0, 100, 100, caption), record(generation, 0, 100, 100)});
    };
    const auto storedLayout = [&] {
        const ConfigTreePtr layout = store().OpenSubTree(LayoutPath);
        return layout ? ConfigJson::toJson(*layout).toStdString() : std::string();
    };
    saveLayout(m_manager, sets(1), 1, 1);
    const std::string stored = storedLayout();

    refuseKeysNamed(m_file, "set2");
    ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));
    EXPECT_THROW(saveLayout(m_manager, sets(2), 2, 2), Err);
    EXPECT_EQ(storedLayout(), stored);
}
