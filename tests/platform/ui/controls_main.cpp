#include <kivo/runtime.h>

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The controls run on two side-by-side offscreen screens, "A" (primary,
// landscape) and "B" (portrait, to its right), with a store of their own.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KIVO_SCREENS_FILE);
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("config.db"));
    SetPlatformValue(u"ConfigStoreFile", reinterpret_cast<const OLECHAR *>(store.utf16()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
