// The form's arithmetic and text rules, free of widgets.
#include "form/AcrCode.h"
#include "form/ComboCompletion.h"
#include "form/Kivo_API.h"

#include <gtest/gtest.h>

namespace {

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
