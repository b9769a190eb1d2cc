#include "res/Strings.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Headless by default; a developer may still point the tests at a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Message boxes are titled with this name; the application object sets it in the program.
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppName));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
