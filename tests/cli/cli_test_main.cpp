#include <QCoreApplication>

#include <gtest/gtest.h>

// The tests start gomcfgctl and helpers as processes through Qt Core; no display, no widgets.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
