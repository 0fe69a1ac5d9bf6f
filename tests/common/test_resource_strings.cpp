#include "common/QV_Resource.h"
#include "common/ResourceIds.h"

#include "platform/config/ConfigDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// The resource tests run on a store of their own, with the test catalogs as
// the installed ones.
const bool onTestRoot = [] {
    static QTemporaryDir dir;
    qputenv("KIVO_STORE", dir.filePath(QStringLiteral("config.db")).toLocal8Bit());
    qputenv("KIVO_CORVALIS_ROOT", KIVO_TEST_ROOT);
    qunsetenv("CORVALIS_DEBUG_I18N");
    return true;
}();

const QString LanguageKey = QStringLiteral("Corvalis\\system\\ui\\language_library");

// Each case starts from released catalogs and a chosen primary catalog, as a
// freshly initialised component would.
class ResourceStrings : public ::testing::Test
{
protected:
    void SetUp() override { usePrimary(QStringLiteral("TestPrimary.qm")); }
    void TearDown() override
    {
        qunsetenv("CORVALIS_DEBUG_I18N");
        QV_Resource::FreeResLibraries();
    }

    static void usePrimary(const QString &name)
    {
        QV_Resource::FreeResLibraries();
        ConfigDatabase().WriteString(LanguageKey, name);
        QV_Resource::InitUISettings();
    }
    static QString langFolder() { return QStringLiteral(KIVO_TEST_ROOT "/qv/lang/"); }
};

} // namespace

// Guards the shipped catalogs: a text the component asks for that is missing
// would show an empty caption. Also checks that id-based catalogs answer a
// lookup with no context, the way the component asks.
TEST(ShippedCatalog, HasEveryTextTheComponentUses)
{
    for (const char *name : {"QVLangEng.qm", "QVLangEngd.qm"}) {
        QTranslator catalog;
        ASSERT_TRUE(catalog.load(QStringLiteral(KIVO_CATALOG_DIR "/") + QLatin1String(name)))
            << name;
        for (const qint32 id : ResourceIds::ALL) {
            EXPECT_FALSE(catalog.translate(nullptr, QByteArray::number(id).constData()).isEmpty())
                << name << " lacks " << id;
        }
        // The texts split at "%s" need their markers.
        const auto markers = [&](qint32 id) {
            return catalog.translate(nullptr, QByteArray::number(id).constData())
                .count(QLatin1String("%s"));
        };
        EXPECT_EQ(markers(ResourceIds::DELETE_TABLE_QUESTION), 1);
        EXPECT_EQ(markers(ResourceIds::TABLE_MISSING_NOTICE), 2);
    }
}

// Guards the lookup order: the primary catalog first, the fallback for what
// it lacks, "" when neither has it; and the debug marking: with
// CORVALIS_DEBUG_I18N set, a text the primary lacks shows as "(id)" instead.
TEST_F(ResourceStrings, FallsBackOrMarksTextsThePrimaryLacks)
{
    EXPECT_EQ(QV_Resource::GetResString(15031), QStringLiteral("Primary OK"));
    EXPECT_EQ(QV_Resource::GetResString(15032), QStringLiteral("Fallback Cancel"));
    EXPECT_EQ(QV_Resource::GetResString(99999), QString());

    qputenv("CORVALIS_DEBUG_I18N", "1");
    QV_Resource::InitUISettings();
    EXPECT_EQ(QV_Resource::GetResString(15032), QStringLiteral("(15032)"));
    EXPECT_EQ(QV_Resource::GetResString(15031), QStringLiteral("Primary OK"));
}

// Guards a primary catalog that is not there: every text comes from the
// fallback, and the missing file is tried again on the next lookup, so a
// catalog installed later is picked up. A Windows library name is read as the
// catalog of the same name.
TEST_F(ResourceStrings, MissingPrimaryIsRetriedAndFallbackServes)
{
    const QString late = langFolder() + QStringLiteral("LatePrimary.qm");
    QFile::remove(late);
    usePrimary(QStringLiteral("LatePrimary.dll"));
    EXPECT_EQ(QV_Resource::GetResString(15031), QStringLiteral("Fallback OK"));
    EXPECT_EQ(QV_Resource::GetResString(15032), QStringLiteral("Fallback Cancel"));

    ASSERT_TRUE(QFile::copy(langFolder() + QStringLiteral("TestPrimary.qm"), late));
    EXPECT_EQ(QV_Resource::GetResString(15031), QStringLiteral("Primary OK"));
    QFile::remove(late);
}

// Guards the choice of the fallback: a process that already has the debug
// catalog loaded gets its texts; otherwise the release catalog is used.
TEST_F(ResourceStrings, UsesDebugCatalogWhenProcessHasItLoaded)
{
    {
        QTranslator hostCatalog;
        ASSERT_TRUE(hostCatalog.load(langFolder() + QStringLiteral("QVLangEngd.qm")));
        usePrimary(QStringLiteral("TestPrimary.qm"));
        EXPECT_EQ(QV_Resource::GetResString(15032), QStringLiteral("Debug Cancel"));
    }
    usePrimary(QStringLiteral("TestPrimary.qm"));
    EXPECT_EQ(QV_Resource::GetResString(15032), QStringLiteral("Fallback Cancel"));
}
