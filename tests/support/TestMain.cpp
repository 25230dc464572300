// Runs the tests inside one QApplication on the offscreen platform, laid out as the program is.
#include "app/Look.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication app(argc, argv);
    corvane::ApplyProgramLook(app);
    return RUN_ALL_TESTS();
}
