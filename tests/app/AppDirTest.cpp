// AppDir always ends in exactly one separator, also for a drive root.
#include "app/AppDir.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct AppDirCase {
    const char* name;
    const char* folder;
    char separator;
    const char* expected;
};

class AppDirFromFolderTest : public ::testing::TestWithParam<AppDirCase> {};

TEST_P(AppDirFromFolderTest, EndsInOneSeparator) {
    const AppDirCase& c = GetParam();
    EXPECT_EQ(AppDirFromFolder(QString::fromLatin1(c.folder), QLatin1Char(c.separator)),
              QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, AppDirFromFolderTest,
    ::testing::Values(AppDirCase{"DriveRoot", "C:\\", '\\', "C:\\"},
                      AppDirCase{"WindowsFolder", "C:\\Tools\\Corvane", '\\',
                                 "C:\\Tools\\Corvane\\"},
                      AppDirCase{"ShareRoot", "\\\\SRV\\share\\", '\\', "\\\\SRV\\share\\"},
                      AppDirCase{"PosixRoot", "/", '/', "/"},
                      AppDirCase{"PosixFolder", "/opt/corvane", '/', "/opt/corvane/"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppDirOfExecutableTest, IsTheTestProgramsFolderWithOneSeparator) {
    const QString appDir = AppDirOfExecutable();
    EXPECT_TRUE(appDir.endsWith(QLatin1Char('/')));
    EXPECT_FALSE(appDir.endsWith(QStringLiteral("//")));
}

} // namespace
} // namespace corvane
