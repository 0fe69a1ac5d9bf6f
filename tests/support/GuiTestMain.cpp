#include <QApplication>

#include <gtest/gtest.h>

// The main of widget tests: one QApplication on the offscreen platform unless
// the caller chose another. Test discovery runs the program outside CTest's
// environment, so the platform is set here too. A program's own setup goes
// into a gtest environment, which runs once the application exists.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
