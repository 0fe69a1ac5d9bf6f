// The form layout in the store: which layout is read, what a save leaves
// behind, and that a save is all or nothing.
#include "test_cfg_manager_env.h"

#include "config/Kivo_CFGManager.h"

#include <platform/Err.h>

#include <QVector>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString LayoutPath = QLatin1String(Kivo_CFGManager::LAYOUT_PATH);
const QString DefaultPath = QLatin1String(Kivo_CFGManager::DEFAULT_LAYOUT_PATH);

// One field set as the form hands it over: its label and its input control.
struct FieldSet
{
    LayoutRecord label;
    LayoutRecord text;
};

LayoutRecord record(qint32 top, qint32 left, qint32 width, qint32 height,
                    const QString &caption = QString(), const QString &tag = QString())
{
    LayoutRecord r;
    r.top = top;
    r.left = left;
    r.width = width;
    r.height = height;
    r.caption = caption;
    r.tag = tag;
    return r;
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
    QVector<FieldSet> sets;
    LayoutRecord current;
    for (int n = 1; n <= count; ++n) {
        FieldSet set;
        current.clear();
        manager.ReadFieldLayout(current, n, QStringLiteral("label"));
        set.label = current;
        current.clear();
        manager.ReadFieldLayout(current, n, QStringLiteral("text"));
        set.text = current;
        sets << set;
    }
    return sets;
}

void expectSameRecord(const LayoutRecord &actual, const LayoutRecord &expected)
{
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.maxLength, expected.maxLength);
    EXPECT_EQ(actual.caption, expected.caption);
    EXPECT_EQ(actual.tag, expected.tag);
    EXPECT_EQ(actual.type, expected.type);
    EXPECT_EQ(actual.table, expected.table);
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
        ConfigDatabase db = store();
        db.WriteLong(DefaultPath + QStringLiteral("\\width"), 9000);
        db.WriteLong(DefaultPath + QStringLiteral("\\height"), 7000);
        db.WriteString(DefaultPath + QStringLiteral("\\set1\\tag"), QStringLiteral("history"));
        db.WriteString(DefaultPath + QStringLiteral("\\set1\\label\\caption"),
                       QStringLiteral("History:"));
        db.WriteLong(DefaultPath + QStringLiteral("\\set1\\label\\top"), 120);
        db.WriteLong(DefaultPath + QStringLiteral("\\set1\\text\\top"), 360);
        db.WriteLong(DefaultPath + QStringLiteral("\\set1\\text\\max_length"), 0);
        db.WriteString(DefaultPath + QStringLiteral("\\set2\\tag"), QStringLiteral("DIAGNOSIS"));
        db.WriteString(DefaultPath + QStringLiteral("\\set2\\text\\type"),
                       QStringLiteral("drop down"));
        db.WriteString(DefaultPath + QStringLiteral("\\set2\\text\\table"),
                       QStringLiteral("Diagnoses"));
    }

    Kivo_CFGManager m_manager;
};

} // namespace

TEST_F(LayoutStoreTest, FirstStartReadsTheDefaultAndFirstSaveCreatesTheUsersLayout)
{
    writeDefaultLayout();
    const auto defaultBefore = flatten(*store().OpenSubTree(DefaultPath));

    ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));
    EXPECT_EQ(m_manager.readLayoutName(), QStringLiteral("default_layout"));
    EXPECT_EQ(m_manager.readSetCount(), 2);
    EXPECT_EQ(managerLog(), (QStringList{QStringLiteral("No curr User"),
                                         QStringLiteral("Start InitBeforeReadLayout"),
                                         QStringLiteral("No Form Layout tree exists. Read default"),
                                         QStringLiteral("Finish InitBeforeReadLayout")}));
    LayoutRecord form;
    m_manager.ReadFormLayout(form);
    EXPECT_EQ(form.width, 9000);
    EXPECT_EQ(form.height, 7000);
    EXPECT_EQ(form.top, -1);
    EXPECT_EQ(form.left, -1);

    const auto sets = readSets(m_manager, 2);
    EXPECT_EQ(sets[0].label.caption, QStringLiteral("History:"));
    EXPECT_EQ(sets[0].label.top, 120);
    EXPECT_EQ(sets[0].label.tag, QStringLiteral("HISTORY"));
    EXPECT_EQ(sets[0].label.maxLength, -1) << "absent max_length is not set";
    EXPECT_EQ(sets[0].text.maxLength, 0) << "a stored 0 is a value";
    EXPECT_LT(sets[0].label.left, 0) << "absent coordinates come as they are";
    EXPECT_EQ(sets[1].text.type, QStringLiteral("DROP DOWN"));
    EXPECT_EQ(sets[1].text.table, QStringLiteral("Diagnoses"));
    EXPECT_TRUE(managerLog().contains(QStringLiteral("Set number 1 Top=120")));
    EXPECT_TRUE(managerLog().contains(QStringLiteral("Set number 2 Height=-1")));

    saveLayout(m_manager, sets, 9100, 7100);
    EXPECT_EQ(store().ReadLong(LayoutPath + QStringLiteral("\\width")), 9100);
    EXPECT_EQ(store().ReadString(LayoutPath + QStringLiteral("\\set2\\text\\table")),
              QStringLiteral("Diagnoses"));
    EXPECT_EQ(flatten(*store().OpenSubTree(DefaultPath)), defaultBefore);
}

TEST_F(LayoutStoreTest, SavedLayoutReadsBackAsWritten)
{
    FieldSet findings{record(100, 200, 3000, 250, QStringLiteral("Findings:"),
                             QStringLiteral("kesto_tf_findings")),
                      record(400, 200, 6000, 900)};
    findings.text.maxLength = 0;
    findings.text.type = QStringLiteral("text");
    FieldSet modality{record(1400, 200, 3000, 250, QStringLiteral("Modality:"),
                             QStringLiteral("KESTO_TF_MODALITY")),
                      record(1700, 200, 2500, 300)};
    modality.text.type = QStringLiteral("Drop Down");
    modality.text.table = QStringLiteral("Modalities");
    modality.text.tag = modality.label.tag;
    findings.text.tag = findings.label.tag;
    saveLayout(m_manager, {findings, modality}, 8000, 6500);

    ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));
    EXPECT_EQ(m_manager.readLayoutName(), QStringLiteral("form_layout"));
    LayoutRecord form;
    m_manager.ReadFormLayout(form);
    EXPECT_EQ(form.width, 8000);
    EXPECT_EQ(form.height, 6500);

    const auto sets = readSets(m_manager, 2);
    findings.label.tag = findings.text.tag = QStringLiteral("KESTO_TF_FINDINGS");
    findings.text.type = QStringLiteral("TEXT");
    modality.text.type = QStringLiteral("DROP DOWN");
    expectSameRecord(sets[0].label, findings.label);
    expectSameRecord(sets[0].text, findings.text);
    expectSameRecord(sets[1].label, modality.label);
    expectSameRecord(sets[1].text, modality.text);
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
        EXPECT_EQ(db.ReadLong(LayoutPath + QStringLiteral("\\set1\\label\\width")), 2000);
        EXPECT_FALSE(db.KeyExists(LayoutPath + QStringLiteral("\\set1\\label\\caption")));
    }
}

// Resetting to the shipped layout and saving must replace the user's saved
// layout, and never touch the shipped one.
TEST_F(LayoutStoreTest, SaveAfterResetReplacesTheUsersLayout)
{
    writeDefaultLayout();
    store().WriteLong(LayoutPath + QStringLiteral("\\set7\\label\\top"), 1);
    const auto defaultBefore = flatten(*store().OpenSubTree(DefaultPath));

    ASSERT_TRUE(m_manager.InitBeforeReadLayout(true));
    EXPECT_EQ(m_manager.readLayoutName(), QStringLiteral("default_layout"));
    saveLayout(m_manager, readSets(m_manager, 2), 9000, 7000);

    EXPECT_FALSE(store().KeyExists(LayoutPath + QStringLiteral("\\set7")));
    EXPECT_EQ(store().ReadString(LayoutPath + QStringLiteral("\\set1\\label\\caption")),
              QStringLiteral("History:"));
    EXPECT_EQ(flatten(*store().OpenSubTree(DefaultPath)), defaultBefore);
}

TEST_F(LayoutStoreTest, NoLayoutAtAllBuildsNothing)
{
    EXPECT_FALSE(m_manager.InitBeforeReadLayout(false));
    EXPECT_TRUE(managerLog().contains(QStringLiteral("No Form Layout tree exists. Read default")));
    LayoutRecord form;
    EXPECT_THROW(m_manager.ReadFormLayout(form), Err);
    EXPECT_FALSE(m_manager.InitBeforeReadLayout(true));
}

// A set without a stored tag must not travel under the tag of the set read
// before it: two fields under one tag overwrite each other in the record.
TEST_F(LayoutStoreTest, SetWithoutTagGetsNoTag)
{
    ConfigDatabase db = store();
    db.WriteString(LayoutPath + QStringLiteral("\\set1\\tag"), QStringLiteral("KESTO_TF_HISTORY"));
    db.WriteLong(LayoutPath + QStringLiteral("\\set1\\label\\top"), 10);
    db.WriteLong(LayoutPath + QStringLiteral("\\set2\\label\\top"), 20);
    ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));
    const auto sets = readSets(m_manager, 2);
    EXPECT_EQ(sets[0].text.tag, QStringLiteral("KESTO_TF_HISTORY"));
    EXPECT_EQ(sets[1].label.tag, QString());
    EXPECT_EQ(sets[1].text.tag, QString());
}

// Form-level values typed into the store by hand must not stop the form
// from being built.
TEST_F(LayoutStoreTest, FormSizeThatIsNoWholeNumberIsNotSet)
{
    ConfigDatabase db = store();
    db.WriteString(LayoutPath + QStringLiteral("\\top"), QStringLiteral("12.5"));
    db.WriteString(LayoutPath + QStringLiteral("\\width"), QStringLiteral("wide"));
    db.WriteString(LayoutPath + QStringLiteral("\\height"), QStringLiteral("6000"));
    ASSERT_TRUE(m_manager.InitBeforeReadLayout(false));
    LayoutRecord form;
    ASSERT_NO_THROW(m_manager.ReadFormLayout(form));
    EXPECT_EQ(form.top, -1);
    EXPECT_EQ(form.width, -1);
    EXPECT_EQ(form.height, 6000);
    EXPECT_EQ(managerLog().filter(QStringLiteral("is not a whole number")).size(), 2);

    db.WriteString(LayoutPath + QStringLiteral("\\width"), QStringLiteral("7500"));
    m_manager.ReadFormLayout(form);
    EXPECT_EQ(form.width, 7500);
}

TEST_F(LayoutStoreTest, UpdateFieldTypeChangesOnlyASavedSet)
{
    writeDefaultLayout();
    const auto defaultBefore = flatten(*store().OpenSubTree(DefaultPath));
    m_manager.UpdateFieldType(QStringLiteral("TEXT"), 2, QStringLiteral("text"));
    EXPECT_FALSE(store().KeyExists(LayoutPath)) << "no user layout: nothing written";
    EXPECT_EQ(flatten(*store().OpenSubTree(DefaultPath)), defaultBefore);

    store().WriteLong(LayoutPath + QStringLiteral("\\set2\\text\\top"), 5);
    m_manager.UpdateFieldType(QStringLiteral("TEXT"), 3, QStringLiteral("text"));
    EXPECT_FALSE(store().KeyExists(LayoutPath + QStringLiteral("\\set3")));
    m_manager.UpdateFieldType(QString(), 2, QStringLiteral("text"));
    EXPECT_FALSE(store().KeyExists(LayoutPath + QStringLiteral("\\set2\\text\\type")));
    m_manager.UpdateFieldType(QStringLiteral("TEXT"), 2, QStringLiteral("text"));
    EXPECT_EQ(store().ReadString(LayoutPath + QStringLiteral("\\set2\\text\\type")),
              QStringLiteral("TEXT"));
}

TEST_F(LayoutStoreTest, AETagCaptionGoesBelowItsOwnType)
{
    const QString types = QLatin1String(Kivo_CFGManager::AE_FIELD_TYPES_PATH);
    m_manager.UpdateAETagCaption(QStringLiteral("Findings"), QStringLiteral("Befund"));
    EXPECT_EQ(store().ReadString(types + QStringLiteral("\\Findings\\name")),
              QStringLiteral("Befund"));
    // A type name is one key: it must not reach into another type's keys.
    EXPECT_THROW(
        m_manager.UpdateAETagCaption(QStringLiteral("Findings\\name"), QStringLiteral("x")), Err);
    EXPECT_EQ(store().ReadString(types + QStringLiteral("\\Findings\\name")),
              QStringLiteral("Befund"));
}

// The parent must not hold a store connection across the fork: the child
// opens its own.
using LayoutSaveCrashTest = ManagerTest;

// A process killed in the middle of a save must leave the old layout or the
// new one, never a mix of both or none. The child saves generation after
// generation of a large layout and is killed while it does.
TEST_F(LayoutSaveCrashTest, SaveCutShortLeavesOneWholeLayout)
{
    constexpr int Sets = 300;
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        Kivo_CFGManager manager;
        manager.Init();
        for (int generation = 0;; ++generation) {
            manager.InitBeforeReadLayout(false);
            QVector<FieldSet> sets(Sets);
            for (FieldSet &set : sets) {
                set.label = record(generation, 0, 100, 100,
                                   QStringLiteral("generation %1").arg(generation));
                set.text = record(generation, 0, 100, 100);
            }
            saveLayout(manager, sets, generation, generation);
            const char saved = 1;
            if (::write(pipeFds[1], &saved, 1) != 1)
                ::_exit(1);
        }
    }
    ::close(pipeFds[1]);
    // Let a few saves complete, so that the one cut short replaces a stored
    // layout; the next one is under way when the child is killed.
    char saved;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(::read(pipeFds[0], &saved, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipeFds[0]);
    ASSERT_TRUE(WIFSIGNALED(status));

    ConfigDatabase db = store();
    const auto layout = db.OpenSubTree(LayoutPath);
    ASSERT_TRUE(layout);
    const qint32 generation = layout->ReadLong(QStringLiteral("width"));
    ASSERT_GE(generation, 2);
    EXPECT_EQ(layout->ReadLong(QStringLiteral("height")), generation);
    EXPECT_EQ(layout->ChildCount(QString()), Sets + 2);
    int mixed = 0;
    for (int n = 1; n <= Sets; ++n) {
        const QString set = QStringLiteral("set%1\\").arg(n);
        if (layout->ReadLong(set + QStringLiteral("label\\top")) != generation ||
            layout->ReadLong(set + QStringLiteral("text\\top")) != generation ||
            layout->ReadString(set + QStringLiteral("label\\caption")) !=
                QStringLiteral("generation %1").arg(generation))
            ++mixed;
    }
    EXPECT_EQ(mixed, 0);
}
