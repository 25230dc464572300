#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

TEST(FileSystemWindowsTest, Placeholder) {
    EXPECT_FALSE(corvane::wintest::HelpersDir().empty());
}
