// The record shown in the form and written back, submit, completion of the
// drop-downs and the modified flag, on real forms driven with the keyboard.
#include "Bstr.h"
#include "FakeTFData.h"
#include "FormDataTest.h"
#include "tables/ModalDialogs.h"

#include "common/QV_Resource.h"
#include "common/ResourceIds.h"
#include "form/IdentifierCheck.h"
#include "form/ToolIds.h"
#include "platform/ui/ToolBarControl.h"

#include <QCheckBox>
#include <QDate>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

namespace {

constexpr int HistorySet = 0;
constexpr int ModalitySet = 5;   // drop-down of "CR", "DX", "CT", ...
constexpr int BodyRegionSet = 6; // drop-down of "Head", "Neck", "Chest", ...

// A host record that refuses to give one tag's value.
class RefusingTFData final : public ComObject<TFData, &IID_TFData>
{
public:
    explicit RefusingTFData(QString refusedTag) : m_refusedTag(std::move(refusedTag)) {}
    ~RefusingTFData() override { m_values->Release(); }

    HRESULT GetValue(BSTR tag, BSTR *value) override
    {
        if (QString::fromStdU16String(Bstr::toU16(tag)) == m_refusedTag)
            return E_FAIL;
        return m_values->GetValue(tag, value);
    }
    HRESULT SetValue(BSTR tag, BSTR value) override { return m_values->SetValue(tag, value); }

    FakeTFData *values() const { return m_values; }

private:
    FakeTFData *m_values = FakeTFData::create();
    QString m_refusedTag;
};

class BindingTest : public FormDataTest
{
protected:
    void SetUp() override
    {
        FormDataTest::SetUp();
        m_record = FakeTFData::create();
        m_form->InitAndUpdateUIFields(nullptr);
    }

    void TearDown() override
    {
        FormDataTest::TearDown();
        m_record->Release();
    }

    QLabel *acrCode() const { return control<QLabel>("lblACRCode"); }

    QString stored(const char16_t *tag) const
    {
        return QString::fromStdU16String(m_record->value(tag));
    }

    FakeTFData *m_record = nullptr;
};

// Guards against showing the record wrongly (AFIP case, joined ACR code,
// the submitter's login instead of the name, a drop-down value that is not
// the list's current entry), against filling or clearing by program
// counting as the user's change, and against building the code pickers or
// the tables dialog before the user opens one.
TEST_F(BindingTest, RecordIsShownWithoutMarkingModified)
{
    m_record->set(u"KESTO_TF_HISTORY", u"First seen in 2019");
    m_record->set(u"KESTO_TF_MODALITY", u"CT");
    m_record->set(u"KESTO_TF_AFIP", u"y");
    m_record->set(u"KESTO_TF_ANATOMY", u"123");
    m_record->set(u"KESTO_TF_PATHOLOGY", u"45");
    m_record->set(u"KESTO_TF_ANGIOGRAPHY", u"1.2");
    m_record->set(u"KESTO_TF_SUBMITTED_BY", u"RADIOLOGIST");
    m_record->set(u"KESTO_TF_DATE_SUBMITTED", u"20240102");

    m_form->UpdateUIFields(m_record);

    EXPECT_EQ(box(HistorySet)->toPlainText(), QStringLiteral("First seen in 2019"));
    EXPECT_EQ(combo(ModalitySet)->currentText(), QStringLiteral("CT"));
    EXPECT_FALSE(control<QCheckBox>("chkAFIP")->isChecked());
    EXPECT_EQ(acrCode()->text(), QStringLiteral("123 - 45"));
    EXPECT_EQ(control<QLabel>("lblAngioCode")->text(), QStringLiteral("1.2"));
    EXPECT_EQ(control<QLabel>("lblSubmittedBy")->text(),
              m_manager->GetUserDisplayedName(QStringLiteral("RADIOLOGIST")));
    EXPECT_NE(control<QLabel>("lblSubmittedBy")->text(), QStringLiteral("RADIOLOGIST"));
    EXPECT_EQ(control<QLabel>("lblDate")->text(), QStringLiteral("20240102"));
    // The shown entry is the list's current one: Down moves on from it.
    QComboBox *modality = combo(ModalitySet);
    const int ct = modality->findText(QStringLiteral("CT"));
    EXPECT_EQ(modality->currentIndex(), ct);
    EXPECT_FALSE(m_form->IsModified());
    QTest::keyClick(modality, Qt::Key_Down);
    EXPECT_EQ(modality->currentText(), modality->itemText(ct + 1));
    m_form->setIsModified(false);

    // A pathology without its anatomy leaves the code as it was.
    m_record->set(u"KESTO_TF_ANATOMY", u"");
    m_record->set(u"KESTO_TF_PATHOLOGY", u"9");
    m_record->set(u"KESTO_TF_AFIP", u"Y");
    m_form->UpdateUIFields(m_record);
    EXPECT_EQ(acrCode()->text(), QStringLiteral("123 - 45"));
    EXPECT_TRUE(control<QCheckBox>("chkAFIP")->isChecked());

    // Another entry without codes must not keep this one's: a submit would
    // write them into the wrong teaching file.
    FakeTFData *other = FakeTFData::create();
    m_form->UpdateUIFields(other);
    EXPECT_EQ(acrCode()->text(), QString());
    EXPECT_EQ(control<QLabel>("lblAngioCode")->text(), QString());
    m_form->UpdateUIFields(m_record);
    other->Release();

    m_form->ClearAll();
    EXPECT_EQ(box(HistorySet)->toPlainText(), QString());
    EXPECT_EQ(combo(ModalitySet)->currentText(), QString());
    EXPECT_FALSE(m_form->IsModified());

    m_form->UpdateUIFields(nullptr);
    EXPECT_EQ(m_form->tfData(), nullptr);
    EXPECT_EQ(control<QLabel>("lblDate")->text(), QString());
    // Each would weigh on every first paint of the window.
    EXPECT_TRUE(m_form->findChildren<QDialog *>().isEmpty());
}

// Guards against a wrong split of the ACR code, a submitter or date in the
// wrong form, AFIP written other than "Y"/"N", a field left unwritten, and a
// drop-down value longer than its line can hold coming back from the record
// cut short, or overriding what the user typed instead.
TEST_F(BindingTest, FillWritesFieldsFixedTagsAndLongDropDownValuesWhole)
{
    const QString whole(40000, QLatin1Char('x'));
    m_record->set(u"KESTO_TF_MODALITY", whole.toStdU16String());
    m_form->UpdateUIFields(m_record);
    ASSERT_LT(combo(ModalitySet)->currentText().size(), whole.size());
    QTest::keyClicks(box(HistorySet), QStringLiteral("Cough"));
    acrCode()->setText(QStringLiteral("1 - 2 - 3"));
    m_form->FillTFData();
    EXPECT_EQ(stored(u"KESTO_TF_MODALITY"), whole);

    combo(ModalitySet)->setEditText(QStringLiteral("MR"));
    m_form->FillTFData();
    EXPECT_EQ(stored(u"KESTO_TF_HISTORY"), QStringLiteral("Cough"));
    EXPECT_EQ(stored(u"KESTO_TF_MODALITY"), QStringLiteral("MR"));
    EXPECT_EQ(stored(u"KESTO_TF_ANATOMY"), QStringLiteral("1"));
    EXPECT_EQ(stored(u"KESTO_TF_PATHOLOGY"), QStringLiteral("2"));
    EXPECT_EQ(stored(u"KESTO_TF_AFIP"), QStringLiteral("N"));
    EXPECT_EQ(stored(u"KESTO_TF_SUBMITTED_BY"), QStringLiteral("RADIOLOGIST"));
    EXPECT_EQ(stored(u"KESTO_TF_DATE_SUBMITTED"),
              QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    EXPECT_EQ(stored(u"KESTO_TF_TEACHING_INDICATION"), QStringLiteral("Y"));
    QStringList written{"KESTO_TF_ACR_CODE_DESCRIPTION", "KESTO_TF_ANGIOGRAPHY",
                        "KESTO_TF_ANGIO_DESCRIPTION"};
    for (int set = 0; set < Kivo_UIManager::FieldSetCount; ++set)
        written << m_form->fieldSets()[set].tag;
    for (const QString &tag : written)
        EXPECT_EQ(m_record->values().count(tag.toStdU16String()), 1u) << qPrintable(tag);

    control<QCheckBox>("chkAFIP")->setChecked(true);
    m_form->FillTFData();
    EXPECT_EQ(stored(u"KESTO_TF_AFIP"), QStringLiteral("Y"));
}

// Guards against asking about or filling a record that is not there, and
// against a declined submit that still sends or forgets the changes.
TEST_F(BindingTest, SubmitAsksAndHonoursTheAnswer)
{
    QSignalSpy submitted(m_form.get(), &Kivo_UIManager::SubmitPressed);
    {
        MessageBoxAnswerer answerer;
        m_form->setIsModified(true);
        m_form->SubmitData();
        EXPECT_TRUE(answerer.takeTexts().isEmpty());
    }
    ASSERT_EQ(submitted.count(), 1);
    EXPECT_EQ(submitted.takeFirst().at(0).value<TFData *>(), nullptr);
    EXPECT_FALSE(m_form->IsModified());

    m_form->UpdateUIFields(m_record);
    m_form->setIsModified(true);
    {
        MessageBoxAnswerer answerer(QV_Resource::GetResString(ResourceIds::NO_CAPTION));
        m_form->SubmitData();
        EXPECT_EQ(answerer.takeTexts().size(), 1);
    }
    EXPECT_EQ(submitted.count(), 0);
    EXPECT_TRUE(m_form->IsModified());
    EXPECT_TRUE(m_record->values().empty());

    {
        MessageBoxAnswerer answerer(QV_Resource::GetResString(ResourceIds::YES_CAPTION));
        m_form->SubmitData();
    }
    ASSERT_EQ(submitted.count(), 1);
    EXPECT_EQ(submitted.takeFirst().at(0).value<TFData *>(), m_record);
    EXPECT_FALSE(m_form->IsModified());
    EXPECT_EQ(stored(u"KESTO_TF_TEACHING_INDICATION"), QStringLiteral("Y"));
}

// Guards against a check that is on without the store turning it on, that
// misses what names the patient in a text box or a drop-down, submits after
// a No or leaves the user without the first finding selected, stops a clean
// submit with a message, or fails on a broken stored pattern instead of
// reporting it.
TEST_F(BindingTest, IdentifierCheckWarnsBeforeTheSubmitQuestion)
{
    QSignalSpy submitted(m_form.get(), &Kivo_UIManager::SubmitPressed);
    QAction *submit = control<ToolBarControl>("m_TopToolBar")->tool(ToolIds::Submit);
    const QString question = QV_Resource::GetResString(ResourceIds::SUBMIT_QUESTION);
    const auto submitAnswering = [submit](qint32 caption) {
        MessageBoxAnswerer answerer(QV_Resource::GetResString(caption));
        submit->trigger();
        return answerer.takeTexts();
    };
    const auto show = [this](const char16_t *history, const char16_t *modality) {
        m_record->set(u"KESTO_TF_HISTORY", history);
        m_record->set(u"KESTO_TF_MODALITY", modality);
        m_form->UpdateUIFields(m_record);
    };
    m_record->set(u"KESTO_TF_PATIENT_NAME", u"DOE^JANE");
    show(u"Seen 11/03/2024 by Dr Doe", u"jane@example.org");

    QStringList texts = submitAnswering(ResourceIds::NO_CAPTION);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts.first().startsWith(question)) << "checked while off";

    const QString branch = QLatin1String(IdentifierCheck::StorePath) + QLatin1Char('\\');
    ConfigDatabase().WriteLong(branch + QStringLiteral("enabled"), 1);
    texts = submitAnswering(ResourceIds::NO_CAPTION);
    ASSERT_EQ(texts.size(), 1);
    for (const char16_t *finding :
         {u"History: “11/03/2024”", u"History: “Doe”", u"Modality: “jane@example.org”"})
        EXPECT_TRUE(texts.first().contains(QString::fromUtf16(finding)))
            << texts.first().toStdString();
    EXPECT_EQ(submitted.count(), 0);
    EXPECT_EQ(box(HistorySet)->textCursor().selectedText(), QStringLiteral("11/03/2024"));

    texts = submitAnswering(ResourceIds::YES_CAPTION);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts.last().startsWith(question));
    EXPECT_EQ(submitted.count(), 1);

    ConfigDatabase().WriteString(branch + QStringLiteral("patterns\\broken"), QStringLiteral("(x"));
    show(u"Clean text", u"CT");
    texts = submitAnswering(ResourceIds::YES_CAPTION);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts.first().contains(QStringLiteral("broken"))) << texts.first().toStdString();
    EXPECT_TRUE(texts.last().startsWith(question)) << "a clean text was questioned";
    EXPECT_EQ(submitted.count(), 2);
}

// Guards against a record that fails on one tag leaving the previous
// entry's values in the fields after that tag, where the next submit would
// write them into this record.
TEST_F(BindingTest, RecordThatFailsHalfwayLeavesTheFormEmptyAndRecordless)
{
    m_record->set(u"KESTO_TF_HISTORY", u"Previous patient");
    m_record->set(u"KESTO_TF_MODALITY", u"CT");
    m_record->set(u"KESTO_TF_ANGIO_DESCRIPTION", u"Previous angio");
    m_record->set(u"KESTO_TF_SUBMITTED_BY", u"RADIOLOGIST");
    m_form->UpdateUIFields(m_record);

    ComRef<RefusingTFData> next(new RefusingTFData(m_form->fieldSets()[2].tag));
    next->values()->set(u"KESTO_TF_HISTORY", u"Next patient");
    EXPECT_ANY_THROW(m_form->UpdateUIFields(next.get()));
    EXPECT_EQ(m_form->tfData(), nullptr);
    EXPECT_EQ(next->refCount(), 1u);
    EXPECT_EQ(box(HistorySet)->toPlainText(), QString());
    EXPECT_EQ(combo(ModalitySet)->currentText(), QString());
    EXPECT_EQ(control<FieldTextBox>("txtCodeAngio")->toPlainText(), QString());
    EXPECT_EQ(control<QLabel>("lblSubmittedBy")->text(), QString());
    EXPECT_ANY_THROW(m_form->FillTFData());
}

// Guards against a form without a record that takes typing, code picks or
// the record tools, a next record that does not give them back or gives them
// to a read-only entry, and a Clear All that leaves the entry unmodified (the
// host would discard it without asking).
TEST_F(BindingTest, InputsWorkOnlyWhileARecordIsHeld)
{
    ToolBarControl *bar = control<ToolBarControl>("m_TopToolBar");
    FieldTextBox *history = box(HistorySet);
    const auto expectUsable = [&](bool usable, const char *when) {
        EXPECT_EQ(combo(ModalitySet)->isEnabled(), usable) << when;
        EXPECT_EQ(control<QPushButton>("cmdACR")->isEnabled(), usable) << when;
        EXPECT_EQ(control<QCheckBox>("chkAFIP")->isEnabled(), usable) << when;
        EXPECT_EQ(control<FieldTextBox>("txtCodeAngio")->isReadOnly(), !usable) << when;
        for (qint32 id : {ToolIds::Submit, ToolIds::ClearAll, ToolIds::Revert})
            EXPECT_EQ(bar->tool(id)->isEnabled(), usable) << when << " tool " << id;
    };
    QTest::keyClicks(history, QStringLiteral("lost"));
    EXPECT_EQ(history->toPlainText(), QString());
    EXPECT_FALSE(history->isEnabled());
    expectUsable(false, "before the first record");

    m_form->UpdateUIFields(m_record);
    expectUsable(true, "with a record");
    QTest::keyClicks(history, QStringLiteral("kept"));
    EXPECT_EQ(history->toPlainText(), QStringLiteral("kept"));
    m_form->setIsModified(false);
    bar->tool(ToolIds::ClearAll)->trigger();
    EXPECT_TRUE(m_form->IsModified());

    m_form->ViewOnly(1);
    m_form->UpdateUIFields(nullptr);
    expectUsable(false, "after the entry ended");
    m_form->UpdateUIFields(m_record);
    EXPECT_TRUE(history->isEnabled());
    EXPECT_TRUE(history->isReadOnly());
    expectUsable(false, "with a read-only record");
}

// Guards against a Clear All that cannot be taken back, that gives back
// something other than what the form held, or that comes back after the
// user's next edit or into another record.
TEST_F(BindingTest, CtrlZUndoesClearAllUntilTheNextEdit)
{
    m_record->set(u"KESTO_TF_HISTORY", u"Cough");
    m_record->set(u"KESTO_TF_MODALITY", u"CT");
    m_record->set(u"KESTO_TF_AFIP", u"Y");
    m_record->set(u"KESTO_TF_ANATOMY", u"123");
    m_form->UpdateUIFields(m_record);
    m_form->AppShow();
    ToolBarControl *bar = control<ToolBarControl>("m_TopToolBar");
    FieldTextBox *history = box(HistorySet);
    const auto clearAll = [&] { bar->tool(ToolIds::ClearAll)->trigger(); };
    const auto ctrlZ = [](QWidget *target) {
        QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
    };

    ctrlZ(history); // nothing cleared: the box's own undo, which has nothing
    EXPECT_EQ(history->toPlainText(), QStringLiteral("Cough"));
    m_form->setIsModified(false);
    clearAll();
    EXPECT_EQ(history->toPlainText(), QString());
    const QString status = control<QLabel>("lblInfo")->text();
    EXPECT_TRUE(status.contains(QStringLiteral("History"))) << qPrintable(status);
    EXPECT_TRUE(status.contains(control<QCheckBox>("chkAFIP")->text())) << qPrintable(status);
    ctrlZ(history);
    EXPECT_EQ(history->toPlainText(), QStringLiteral("Cough"));
    EXPECT_EQ(combo(ModalitySet)->currentText(), QStringLiteral("CT"));
    EXPECT_TRUE(control<QCheckBox>("chkAFIP")->isChecked());
    EXPECT_EQ(acrCode()->text(), QStringLiteral("123"));
    EXPECT_FALSE(m_form->IsModified()) << "the flag comes back with the content";

    // Outside the text boxes the window's shortcut undoes it.
    clearAll();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    ctrlZ(control<QCheckBox>("chkAFIP"));
    EXPECT_EQ(history->toPlainText(), QStringLiteral("Cough"));

    clearAll();
    QTest::keyClick(history, Qt::Key_A);
    ctrlZ(history);
    EXPECT_NE(history->toPlainText(), QStringLiteral("Cough")) << "an edit ends the undo";

    clearAll();
    FakeTFData *other = FakeTFData::create();
    m_form->UpdateUIFields(other);
    other->Release();
    ctrlZ(history);
    EXPECT_EQ(history->toPlainText(), QString()) << "another record takes nothing back";
}

// Guards against a code description box that shows its headings and blank
// lines but not the chosen code, and against a description that cannot be
// read whole.
TEST_F(BindingTest, DescriptionBoxShowsTheChosenCodeAndTellsTheWhole)
{
    m_record->set(u"KESTO_TF_ACR_CODE_DESCRIPTION",
                  u"Anatomy:\r\n\r\nSkull\r\nBase\r\nSella\r\n\r\nPathology:\r\n\r\n"
                  u"Tumour\r\nAdenoma");
    m_form->UpdateUIFields(m_record);
    m_form->AppShow();
    auto *description = control<FieldTextBox>("txtCodeDesc");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    ASSERT_LT(description->viewport()->height(), 5 * description->fontMetrics().height());

    QTextCursor last(description->document());
    last.movePosition(QTextCursor::End);
    ASSERT_EQ(last.block().text(), QStringLiteral("Adenoma"));
    EXPECT_TRUE(description->viewport()->rect().contains(description->cursorRect(last)));
    EXPECT_EQ(description->toolTip(), QStringLiteral("Anatomy:\n\nSkull\nBase\nSella\n\n"
                                                     "Pathology:\n\nTumour\nAdenoma"));
}

// Guards against completion that changes the typed letters' case, leaves
// the rest unselected, or brings back what Backspace just removed.
TEST_F(BindingTest, DropDownCompletesTypedPrefix)
{
    m_form->UpdateUIFields(m_record);
    QComboBox *region = combo(BodyRegionSet);
    QTest::keyClicks(region, QStringLiteral("ch"));
    EXPECT_EQ(region->currentText(), QStringLiteral("chest"));
    EXPECT_EQ(region->lineEdit()->selectedText(), QStringLiteral("est"));

    QTest::keyClick(region, Qt::Key_Backspace);
    EXPECT_EQ(region->currentText(), QStringLiteral("ch"));
    EXPECT_FALSE(region->lineEdit()->hasSelectedText());

    QTest::keyClick(region, Qt::Key_I);
    EXPECT_EQ(region->currentText(), QStringLiteral("chi"));
    QTest::keyClick(region, Qt::Key_Return);
    EXPECT_EQ(region->count(), 12);
}

// Guards against user edits that leave the form unmodified, so the host's
// before-done check finds nothing to save and the change is lost.
TEST_F(BindingTest, EveryUserEditMarksModified)
{
    m_record->set(u"KESTO_TF_HISTORY", u"abc");
    m_form->UpdateUIFields(m_record);
    ASSERT_FALSE(m_form->IsModified());
    FieldTextBox *history = box(HistorySet);

    const auto marks = [&](const char *what, const std::function<void()> &edit) {
        m_form->setIsModified(false);
        edit();
        EXPECT_TRUE(m_form->IsModified()) << what;
    };
    marks("typing", [&] { QTest::keyClick(history, Qt::Key_X); });
    marks("Delete", [&] {
        history->moveCursor(QTextCursor::Start);
        QTest::keyClick(history, Qt::Key_Delete);
    });
    marks("cut", [&] {
        history->selectAll();
        history->cut();
    });
    marks("paste", [&] { history->paste(); });
    EXPECT_EQ(history->toPlainText(), QStringLiteral("abc"));
    marks("AFIP", [&] { QTest::mouseClick(control<QCheckBox>("chkAFIP"), Qt::LeftButton); });
    marks("typing in a drop-down", [&] { QTest::keyClicks(combo(ModalitySet), "M"); });
    marks("choosing in a drop-down", [&] { QTest::keyClick(combo(ModalitySet), Qt::Key_Down); });

    m_form->setIsModified(false);
    m_form->UpdateUIFields(m_record);
    m_form->RevertToOriginal();
    m_form->ClearAll();
    EXPECT_FALSE(m_form->IsModified());
}

// Guards against a failure inside a click handler escaping into the event
// loop: here the code tree cannot be read because the store is broken.
TEST_F(BindingTest, FailingHandlerShowsErrorAndFormSurvives)
{
    const QString broken = m_dir.filePath(QStringLiteral("broken.db"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a store, only some text that fills the header of a file");
    file.close();
    m_form->UpdateUIFields(m_record);
    ASSERT_TRUE(useStoreFile(broken));

    QStringList shown;
    {
        MessageBoxAnswerer answerer;
        QTest::mouseClick(control<QPushButton>("cmdAngio"), Qt::LeftButton);
        shown = answerer.takeTexts();
    }
    useStoreFile(m_file);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(control<QLabel>("lblAngioCode")->text(), QString());
    EXPECT_FALSE(m_form->IsModified());

    QTest::keyClick(box(HistorySet), Qt::Key_A);
    EXPECT_TRUE(m_form->IsModified());
}

} // namespace
