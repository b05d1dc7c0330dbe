#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    // Test discovery runs without the test environment; the widgets need no screen either way.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Qt's own dialogs, whatever desktop the tests run on, so that they can be found and driven.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
