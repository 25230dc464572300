// AppDir always ends in exactly one separator, also for a drive root.
#include "app/AppDir.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(AppDirTest, EndsInOneSeparatorAlsoAtADriveRoot) {
    const struct {
        const char* folder;
        char separator;
        const char* expected;
    } cases[] = {
        {"C:\\", '\\', "C:\\"},
        {"C:\\Tools\\Corvane", '\\', "C:\\Tools\\Corvane\\"},
        {"\\\\SRV\\share\\", '\\', "\\\\SRV\\share\\"},
        {"/", '/', "/"},
        {"/opt/corvane", '/', "/opt/corvane/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AppDirFromFolder(QString::fromLatin1(c.folder), QLatin1Char(c.separator)),
                  QString::fromLatin1(c.expected))
            << c.folder;
    }
    const QString appDir = AppDirOfExecutable();
    EXPECT_TRUE(appDir.endsWith(QLatin1Char('/')) && !appDir.endsWith(QStringLiteral("//")))
        << appDir.toStdString();
}

} // namespace
} // namespace corvane
