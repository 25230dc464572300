// AppDir always ends in exactly one separator, also for a drive root.
#include "app/AppDir.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct AppDirCase {
    const char* folder;
    char separator;
    const char* expected;
};

void PrintTo(const AppDirCase& c, std::ostream* out) {
    *out << c.folder;
}

class AppDirFromFolderTest : public ::testing::TestWithParam<AppDirCase> {};

TEST_P(AppDirFromFolderTest, EndsInOneSeparator) {
    const AppDirCase& c = GetParam();
    EXPECT_EQ(AppDirFromFolder(QString::fromLatin1(c.folder), QLatin1Char(c.separator)),
              QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, AppDirFromFolderTest,
    ::testing::Values(AppDirCase{"C:\\", '\\', "C:\\"},
                      AppDirCase{"C:\\Tools\\Corvane", '\\', "C:\\Tools\\Corvane\\"},
                      AppDirCase{"\\\\SRV\\share\\", '\\', "\\\\SRV\\share\\"},
                      AppDirCase{"/", '/', "/"}, AppDirCase{"/opt/corvane", '/', "/opt/corvane/"}));

TEST(AppDirOfExecutableTest, IsTheTestProgramsFolderWithOneSeparator) {
    const QString appDir = AppDirOfExecutable();
    EXPECT_TRUE(appDir.endsWith(QLatin1Char('/')));
    EXPECT_FALSE(appDir.endsWith(QStringLiteral("//")));
}

} // namespace
} // namespace corvane
