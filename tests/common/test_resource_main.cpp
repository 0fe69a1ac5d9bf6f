#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The resource tests run on a store of their own, with the test catalogs as
// the installed ones.
int main(int argc, char **argv)
{
    QTemporaryDir dir;
    qputenv("KIVO_STORE", dir.filePath(QStringLiteral("config.db")).toLocal8Bit());
    qputenv("KIVO_CORVALIS_ROOT", KIVO_TEST_ROOT);
    qunsetenv("CORVALIS_DEBUG_I18N");
    // Test discovery runs the program outside CTest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
