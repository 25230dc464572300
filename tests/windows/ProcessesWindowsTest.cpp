#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

TEST(ProcessesWindowsTest, Placeholder) {
    EXPECT_FALSE(corvane::wintest::HelpersDir().empty());
}
