// Building the field sets from the stored layout, scaling and the read-only
// mode, on real forms over a seeded store.
#include "FakeTFData.h"
#include "FormDataTest.h"

#include "common/QV_Resource.h"
#include "form/FormLayoutIO.h"
#include "form/LayoutGeometry.h"
#include "platform/ui/TwipsGeometry.h"

#include <QAccessible>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <limits>

namespace {

constexpr int ModalitySet = 5; // a drop-down fed by "Modality" in the default layout
const QStringList Modalities{"CR", "DX", "CT", "MR", "US", "MG", "NM", "PT", "XA", "RF"};

class FieldsTest : public FormDataTest
{
protected:
    QLabel *label(int index) const { return member<QLabel>("m_aLabels", index); }

    static QStringList items(const QComboBox *combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }

    // Every control the layout or the scaling may move, by name and index.
    QMap<QString, QRect> geometries() const
    {
        QMap<QString, QRect> rects;
        for (const char *name : {"lblInfo", "lblACR", "lblACRCode", "cmdACR", "txtCodeDesc",
                                 "lblAngio", "lblAngioCode", "cmdAngio", "txtCodeAngio", "chkAFIP",
                                 "lblSubmitted", "lblSubmittedBy", "lblDateSubmitted", "lblDate",
                                 "dummy", "Line3D1", "Line3D2", "Line3D3", "Line3D4"})
            rects.insert(QLatin1String(name), TwipsGeometry::geometry(control<QWidget>(name)));
        for (int i = 0; i < Kivo_UIManager::FieldSetCount; ++i) {
            rects.insert(QStringLiteral("label%1").arg(i), TwipsGeometry::geometry(label(i)));
            rects.insert(QStringLiteral("text%1").arg(i), TwipsGeometry::geometry(box(i)));
            rects.insert(QStringLiteral("combo%1").arg(i), TwipsGeometry::geometry(combo(i)));
        }
        return rects;
    }
};

// Guards against fields off the field-area origin, shifted at factor 1, or
// of the wrong kind, tag, list or font size (the dialog font size, also
// before a picker was ever opened); a drop-down showing its first value
// unasked; boxes a screen reader cannot name by caption, buttons and tools
// without a name or a tooltip.
TEST_F(FieldsTest, DefaultLayoutBuildsEverySet)
{
    m_form->InitAndUpdateUIFields(nullptr);

    const int origin = TwipsGeometry::geometry(control<QLabel>("lblAngio")).height() +
                       TwipsGeometry::geometry(control<FieldTextBox>("txtCodeAngio")).height();
    EXPECT_EQ(TwipsGeometry::geometry(label(0)), QRect(240, 2160 + origin, 2400, 255));
    EXPECT_EQ(TwipsGeometry::geometry(box(0)), QRect(240, 2430 + origin, 10500, 1095));
    EXPECT_EQ(label(0)->text(), QStringLiteral("History:"));
    EXPECT_EQ(m_form->fieldSets()[0].tag, QStringLiteral("KESTO_TF_HISTORY"));
    EXPECT_FALSE(box(0)->isHidden());
    EXPECT_TRUE(combo(0)->isHidden());
    EXPECT_EQ(box(10)->maxLength(), 255);
    EXPECT_EQ(box(0)->font().pointSize(), QV_Resource::BaseDlgFontSize());

    EXPECT_TRUE(box(ModalitySet)->isHidden());
    EXPECT_FALSE(combo(ModalitySet)->isHidden());
    EXPECT_EQ(items(combo(ModalitySet)), Modalities);
    EXPECT_EQ(m_form->fieldSets()[ModalitySet].table, QStringLiteral("Modality"));
    EXPECT_EQ(combo(ModalitySet)->currentText(), QString());

    // What a screen reader announces: each box by its caption, each button
    // and tool by a name, with a tooltip for the pointer.
    const auto accessible = [](QObject *object) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
        EXPECT_NE(face, nullptr);
        return face;
    };
    const auto labelledBy = [&](QWidget *input) {
        const auto relations = accessible(input)->relations(QAccessible::Label);
        return relations.isEmpty() ? QString() : relations.first().first->text(QAccessible::Name);
    };
    EXPECT_EQ(accessible(box(0))->text(QAccessible::Name), QStringLiteral("History:"));
    EXPECT_EQ(accessible(box(0))->role(), QAccessible::EditableText);
    EXPECT_EQ(labelledBy(box(0)), QStringLiteral("History:"));
    EXPECT_EQ(labelledBy(combo(ModalitySet)), label(ModalitySet)->text());
    EXPECT_EQ(labelledBy(control<FieldTextBox>("txtCodeAngio")),
              control<QLabel>("lblAngio")->text());
    QList<QWidget *> described{control<QPushButton>("cmdACR"), control<QPushButton>("cmdAngio")};
    for (QToolButton *tool : control<QWidget>("m_TopToolBar")->findChildren<QToolButton *>())
        if (tool->defaultAction())
            described << tool;
    ASSERT_GT(described.size(), 2);
    for (QWidget *button : described) {
        EXPECT_FALSE(accessible(button)->text(QAccessible::Name).isEmpty())
            << qPrintable(button->objectName());
        EXPECT_EQ(accessible(button)->role(), QAccessible::Button);
        EXPECT_FALSE(button->toolTip().isEmpty()) << qPrintable(button->objectName());
    }
}

// Guards against ignorable stored values (-1 length, sizes of 0 or less)
// overwriting the designed ones, a drop-down without a table that cannot be
// typed into, and a set without a tag that takes the previous set's tag or is
// filled from or written into the record (which fails the submit).
TEST_F(FieldsTest, StoredValuesApplyOnlyWhenSet)
{
    storeTwoSetLayout();
    box(0)->setMaxLength(17);
    const QRect designedBox = TwipsGeometry::geometry(box(0));
    const QRect designedCombo = TwipsGeometry::geometry(combo(0));

    m_form->InitAndUpdateUIFields(nullptr);

    EXPECT_EQ(label(0)->text(), QStringLiteral("One:"));
    EXPECT_EQ(m_form->fieldSets()[0].tag, QStringLiteral("KESTO_TF_ONE"));
    EXPECT_EQ(box(0)->maxLength(), 17);
    const QRect placed = TwipsGeometry::geometry(box(0));
    EXPECT_EQ(placed.size(), designedBox.size());
    EXPECT_EQ(TwipsGeometry::geometry(combo(0)).width(), designedCombo.width());
    EXPECT_EQ(placed.top() - TwipsGeometry::geometry(label(0)).top(), 300);

    EXPECT_EQ(box(1)->maxLength(), 0);
    EXPECT_TRUE(box(1)->isHidden());
    EXPECT_FALSE(combo(1)->isHidden());
    EXPECT_TRUE(combo(1)->isEditable());
    EXPECT_EQ(combo(1)->count(), 0);
    EXPECT_EQ(m_form->fieldSets()[1].tag, QString());

    FakeTFData *record = FakeTFData::create();
    record->set(u"KESTO_TF_ONE", u"one");
    m_form->UpdateUIFields(record);
    EXPECT_EQ(box(0)->toPlainText(), QStringLiteral("one"));
    EXPECT_EQ(combo(1)->currentText(), QString());
    combo(1)->setEditText(QStringLiteral("untagged"));
    EXPECT_NO_THROW(m_form->FillTFData());
    for (const auto &[tag, value] : record->values())
        EXPECT_NE(value, u"untagged") << QString::fromStdU16String(tag).toStdString();
    m_form->UpdateUIFields(nullptr);
    record->Release();
}

// Guards against stored coordinates near the integer limits overflowing the
// geometry arithmetic (an abort under UBSan) instead of being clamped, logged
// and built into a form.
TEST_F(FieldsTest, OutOfRangeLayoutIsClampedAndLogged)
{
    ConfigDatabase database;
    const QString root = QLatin1String(Kivo_CFGManager::LAYOUT_PATH) + QLatin1Char('\\');
    const auto store = [&](const char *key, qint32 value) {
        database.WriteLong(root + QLatin1String(key), value);
    };
    store("width", std::numeric_limits<qint32>::max());
    store("height", std::numeric_limits<qint32>::min());
    store("set1\\label\\top", std::numeric_limits<qint32>::max());
    store("set1\\label\\left", std::numeric_limits<qint32>::min());
    store("set1\\text\\top", std::numeric_limits<qint32>::max() - 1);
    store("set1\\text\\width", std::numeric_limits<qint32>::max());
    store("set1\\text\\height", std::numeric_limits<qint32>::max());
    const QString message = QStringLiteral("Layout of set 1 (text) out of range, clamped: top, "
                                           "width, height");
    const int logged = TestLog::count(QStringLiteral("Kivo_UIManager"), message);

    // At factor 2 the scaling doubles what was read, and must not overflow either.
    database.WriteLong(
        QStringLiteral("Corvalis\\system\\applications\\quovira\\appearance\\font\\ui_factor"), 2);
    m_form->InitAndUpdateUIFields(nullptr);
    ASSERT_EQ(QV_Resource::UIFactor(), 2.0);

    const int limit = 2 * LayoutGeometry::StoredTwipsLimit + 10000; // scaled, plus the origin
    for (const QRect &rect : {TwipsGeometry::geometry(label(0)), TwipsGeometry::geometry(box(0))})
        for (int edge : {rect.left(), rect.top(), rect.width(), rect.height()})
            EXPECT_LE(std::abs(edge), limit);
    EXPECT_GT(TwipsGeometry::geometry(box(0)).width(), LayoutGeometry::StoredTwipsLimit);
    EXPECT_EQ(TestLog::count(QStringLiteral("Kivo_UIManager"), message), logged + 1);
}

// Guards against scaling that misses controls or forgets the shift; against
// a Reset Layout that scales the fixed area (buttons, code labels, the end
// marker) a second time, so it creeps on every reset, that appends the
// table's values to the list once more, or drops what the field shows.
TEST_F(FieldsTest, FactorTwoDoublesShiftsAndResetKeepsScaleListAndText)
{
    m_form->InitAndUpdateUIFields(nullptr);
    const QMap<QString, QRect> atOne = geometries();
    m_form->Uninitialize();

    ConfigDatabase().WriteLong(
        QStringLiteral("Corvalis\\system\\applications\\quovira\\appearance\\font\\ui_factor"), 2);
    m_form = std::make_unique<Kivo_UIManager>();
    m_form->InitAndUpdateUIFields(nullptr);
    ASSERT_EQ(QV_Resource::UIFactor(), 2.0);

    const QMap<QString, QRect> atTwo = geometries();
    // Half of the status line's top once scaled, before it moved up itself.
    const int shift = 2 * atOne.value(QStringLiteral("lblInfo")).top() / 2;
    ASSERT_GT(shift, 0);
    for (auto it = atOne.begin(); it != atOne.end(); ++it) {
        const QRect one = it.value();
        QRect expected(one.left() * 2, one.top() * 2 - shift, one.width() * 2, one.height() * 2);
        // A drop-down is as high as its font makes it.
        if (it.key().startsWith(QLatin1String("combo")))
            expected.setHeight(atTwo.value(it.key()).height());
        EXPECT_EQ(atTwo.value(it.key()), expected) << qPrintable(it.key());
    }

    combo(ModalitySet)->setEditText(QStringLiteral("CT"));
    m_form->ReadLayout(true);
    m_form->ReadLayout(true);
    EXPECT_EQ(geometries(), atTwo);
    EXPECT_EQ(items(combo(ModalitySet)), Modalities);
    EXPECT_EQ(combo(ModalitySet)->currentText(), QStringLiteral("CT"));
}

// Guards against a view-only form that still takes typing, a drop-down
// choice or a code description edit (all dropped unseen at close), and
// against an edit mode that stays locked.
TEST_F(FieldsTest, ViewOnlyLocksEveryInput)
{
    FakeTFData *record = FakeTFData::create();
    m_form->InitAndUpdateUIFields(record);
    record->Release();
    m_form->ViewOnly(1);

    QTest::keyClicks(box(0), QStringLiteral("abc"));
    EXPECT_EQ(box(0)->toPlainText(), QString());
    EXPECT_TRUE(box(0)->isReadOnly());
    EXPECT_FALSE(m_form->IsModified());
    for (QWidget *input : {control<QWidget>("cmdACR"), control<QWidget>("cmdAngio"),
                           control<QWidget>("chkAFIP"), static_cast<QWidget *>(combo(ModalitySet))})
        EXPECT_FALSE(input->isEnabled()) << qPrintable(input->objectName());
    EXPECT_EQ(m_form->windowTitle(), QV_Resource::GetResString(15399));
    for (const char *name : {"txtCodeDesc", "txtCodeAngio"})
        EXPECT_TRUE(control<FieldTextBox>(name)->isReadOnly()) << name;

    // Only 1 is read-only.
    m_form->ViewOnly(2);
    QTest::keyClicks(box(0), QStringLiteral("abc"));
    EXPECT_EQ(box(0)->toPlainText(), QStringLiteral("abc"));
    EXPECT_TRUE(control<QPushButton>("cmdACR")->isEnabled());
    EXPECT_TRUE(combo(ModalitySet)->isEnabled());
    EXPECT_FALSE(control<FieldTextBox>("txtCodeDesc")->isReadOnly());
}

// Guards against a layout written by the form that does not read back as
// written: set numbers off by one, the input written under another element,
// the tag or the form size lost, or a set without a tag taking another's.
TEST_F(FormDataTest, LayoutWrittenByTheFormReadsBackAsWritten)
{
    FormLayoutIO io(*m_manager);
    ASSERT_TRUE(io.open(false));
    FieldLayout first;
    first.label = {100, 240, 2400, 255, -1, QStringLiteral("One:"), QStringLiteral("KESTO_TF_ONE"),
                   {},  {}};
    first.input = {400, 240, 10500, 555, 80, {}, {}, QStringLiteral("TEXT"), {}};
    FieldLayout second;
    second.label = {1200, 300, 2000, 255, -1, QStringLiteral("Two:"), {}, {}, {}};
    second.input = {
        1500, 300, 5000, 315, -1, {}, {}, QStringLiteral("DROP DOWN"), QStringLiteral("Modality")};

    ASSERT_TRUE(io.begin(9000, 7000));
    io.writeFieldSet(0, first);
    io.writeFieldSet(1, second);
    io.commit();

    ASSERT_TRUE(io.open(false));
    const LayoutRecord form = io.formLayout();
    EXPECT_EQ(std::make_pair(form.width, form.height), std::make_pair(9000, 7000));
    const FieldLayout one = io.fieldSet(0);
    const FieldLayout two = io.fieldSet(1);
    auto fields = [](const LayoutRecord &r) {
        return std::make_tuple(r.top, r.left, r.width, r.height, r.maxLength, r.caption, r.tag,
                               r.type, r.table);
    };
    first.input.tag = first.label.tag; // the tag is the set's, read for both
    EXPECT_EQ(fields(one.label), fields(first.label));
    EXPECT_EQ(fields(one.input), fields(first.input));
    EXPECT_EQ(fields(two.label), fields(second.label));
    EXPECT_EQ(fields(two.input), fields(second.input));
}

} // namespace
