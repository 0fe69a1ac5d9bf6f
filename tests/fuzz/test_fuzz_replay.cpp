// Every input a fuzzer found that crashed, hung or broke a property is kept
// in tests/data/fuzz/<target>/ and replayed here through the same check the
// fuzz target runs, on every build, without a fuzzer.
#include "FuzzChecks.h"
#include "PropertyViolation.h"
#include "TestLog.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace {

using Check = void (*)(const uint8_t *, size_t);

const std::map<QString, Check> &checksByTarget()
{
    static const std::map<QString, Check> checks = {
        {QStringLiteral("config_json"), FuzzChecks::checkConfigJson},
        {QStringLiteral("code_tree_csv"), FuzzChecks::checkCodeTreeCsv},
        {QStringLiteral("toolbar_layout"), FuzzChecks::checkToolBarLayout},
        {QStringLiteral("form_layout"), FuzzChecks::checkFormLayout},
        {QStringLiteral("record_values"), FuzzChecks::checkRecordValues},
    };
    return checks;
}

// Guards against a fault a fuzzer found coming back: each kept input must
// pass its target's property check, and each folder must name a target, so
// no kept input is silently left out.
TEST(FuzzReplay, EveryKeptInputHoldsItsTargetsProperties)
{
    const QDir data(QStringLiteral(KIVO_FUZZ_DATA_DIR));
    const QStringList targets = data.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    ASSERT_FALSE(targets.isEmpty()) << "no kept inputs below " << qPrintable(data.path());
    int replayed = 0;
    for (const QString &target : targets) {
        const auto check = checksByTarget().find(target);
        if (check == checksByTarget().end()) {
            ADD_FAILURE() << "no fuzz target " << qPrintable(target);
            continue;
        }
        const QDir folder(data.filePath(target));
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
            const QByteArray input = file.readAll();
            const std::string where = (target + QLatin1Char('/') + name).toStdString();
            try {
                check->second(reinterpret_cast<const uint8_t *>(input.constData()),
                              size_t(input.size()));
            } catch (const PropertyViolation &e) {
                ADD_FAILURE() << where << ": " << e.what();
            } catch (const std::exception &e) {
                ADD_FAILURE() << where << ": unexpected exception: " << e.what();
            }
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}

} // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    TestLog::useTemporaryFolder();
    return RUN_ALL_TESTS();
}
