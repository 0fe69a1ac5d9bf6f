// The form's arithmetic and text rules, free of widgets.
#include "form/AcrCode.h"
#include "form/ComboCompletion.h"
#include "form/IdentifierCheck.h"
#include "form/Kivo_API.h"
#include "platform/config/FreeConfigTree.h"

#include <gtest/gtest.h>

namespace {

QStringList foundTexts(const IdentifierCheck &check, const QString &text,
                       const QString &patientName = QString(), const QString &patientId = QString())
{
    QStringList texts;
    for (const IdentifierCheck::Finding &finding :
         check.scan({{QStringLiteral("History"), text}}, patientName, patientId))
        texts << finding.text;
    return texts;
}

// Guards against identifiers the check misses in their common written forms,
// clinical text it flags (sizes, doses, short numbers), a patient's name
// found inside other words, overlapping matches listed twice, a check that
// is on without the store turning it on, and a broken stored pattern that
// stops the check instead of being reported and left out.
TEST(IdentifierCheckTest, FindsEachKindAndReportsBadPatterns)
{
    FreeConfigTree store;
    EXPECT_FALSE(IdentifierCheck::load(store).enabled());

    const QString branch = QLatin1String(IdentifierCheck::StorePath) + QLatin1Char('\\');
    store.WriteLong(branch + QStringLiteral("enabled"), 1);
    store.WriteString(branch + QStringLiteral("patterns\\ward"), QStringLiteral("\\bward \\d+"));
    store.WriteString(branch + QStringLiteral("patterns\\broken"), QStringLiteral("(unclosed"));
    store.WriteString(branch + QStringLiteral("patterns\\email"), QString());
    const IdentifierCheck check = IdentifierCheck::load(store);
    EXPECT_TRUE(check.enabled());
    ASSERT_EQ(check.problems().size(), 1);
    EXPECT_TRUE(check.problems().first().contains(QStringLiteral("broken")));

    const IdentifierCheck defaults;
    for (const char *date :
         {"11/03/2024", "3.11.24", "2024-03-11", "11 March 2024", "Mar 11, 2024"})
        EXPECT_EQ(foundTexts(defaults, QStringLiteral("seen on %1 again").arg(QLatin1String(date))),
                  QStringList{QLatin1String(date)});
    EXPECT_EQ(foundTexts(defaults, QStringLiteral("MRN 12345678, call 555-123-4567.")),
              (QStringList{QStringLiteral("12345678"), QStringLiteral("555-123-4567")}));
    EXPECT_EQ(foundTexts(defaults, QStringLiteral("mail jane.doe@example.org")),
              QStringList{QStringLiteral("jane.doe@example.org")});
    EXPECT_EQ(
        foundTexts(defaults, QStringLiteral("Mrs doe, id K000123; Doerr"), "DOE^JANE", "K000123"),
        (QStringList{QStringLiteral("doe"), QStringLiteral("K000123")}));
    EXPECT_TRUE(foundTexts(defaults,
                           QStringLiteral("Nodule 12 mm, 2.5 mg/kg over 3 days; T2 "
                                          "hyperintense, 120/80 mmHg"),
                           "DOE^JANE", "K000123")
                    .isEmpty());

    // The store's own pattern counts; the dropped built-in one does not.
    EXPECT_EQ(foundTexts(check, QStringLiteral("Ward 12, jane@example.org")),
              QStringList{QStringLiteral("Ward 12")});
}

// Guards against a code without separator losing its anatomy, and a
// description that shows a pathology heading with nothing below it. The
// form tests cover splitting and joining a full code.
TEST(AcrCodeTest, SplitJoinAndDescribe)
{
    EXPECT_EQ(AcrCode::split(QStringLiteral("12-3")).anatomy, QStringLiteral("12-3"));
    EXPECT_EQ(AcrCode::split(QStringLiteral("12-3")).pathology, QString());

    EXPECT_EQ(AcrCode::joined(QStringLiteral("1"), QString()), QStringLiteral("1"));

    const QString anatomy = QStringLiteral("\r\nSkull");
    EXPECT_EQ(AcrCode::description(QStringLiteral("1"), "Anatomy:", anatomy, "Pathology:", ""),
              QStringLiteral("Anatomy:\r\n\r\nSkull"));
    EXPECT_EQ(AcrCode::description(QStringLiteral("1 - 2"), "A", "a", "P", "p"),
              QStringLiteral("A\r\na\r\n\r\nP\r\np"));
    EXPECT_EQ(AcrCode::description(QString(), "A", "a", "P", "p"), QString());
}

// Guards against completion that matches case-sensitively, skips to a later
// entry, completes an exact or emptied text, or changes the typed letters.
TEST(ComboCompletionTest, FirstEntryByPrefixKeepsTypedCase)
{
    const QStringList entries{"Head", "Chest", "Chest wall", "CT"};
    const auto completion = ComboCompletion::complete(QStringLiteral("ch"), entries);
    ASSERT_TRUE(completion);
    EXPECT_EQ(completion->text, QStringLiteral("chest"));
    EXPECT_EQ(completion->selectionStart, 2);
    EXPECT_EQ(completion->selectionLength, 3);

    EXPECT_FALSE(ComboCompletion::complete(QStringLiteral("chest"), entries));
    EXPECT_FALSE(ComboCompletion::complete(QStringLiteral("x"), entries));
    EXPECT_FALSE(ComboCompletion::complete(QString(), entries));
}

// Guards against a pattern that is case-sensitive, accepts a non-digit or
// several digits, or is anchored to one folder.
TEST(IsInIDE, MatchesDevelopmentEnvironmentExecutables)
{
    for (const char *path :
         {R"(C:\Program Files\VB98\VB6.EXE)", "/opt/tools/Vb5.Exe", "/home/dev/vb6.exe.local/run"})
        EXPECT_TRUE(Kivo_API::isIdeExecutable(QLatin1String(path))) << path;
    for (const char *path : {"/opt/tools/vbx.exe", "/opt/tools/vb10.exe", "/opt/tools/vb6-exe",
                             "/usr/bin/kivo-host", ""})
        EXPECT_FALSE(Kivo_API::isIdeExecutable(QLatin1String(path))) << path;
    EXPECT_FALSE(Kivo_API::IsInIDE());
}

} // namespace
