// The long-list cut of messages, the order a sorted list keeps among equal entries, and AppDir
// ending in exactly one separator.
#include "QtPrinters.h"

#include "app/AppDir.h"
#include "app/ListHelpers.h"

#include <QListWidget>
#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ListBlockTest, ShowsTwentyNamesThenHowManyMore) {
    const std::pair<int, QString> cases[] = {
        {0, ""}, {1, "N0"}, {20, "N19"}, {21, "N19\r\nand 1 more"}, {45, "N19\r\nand 25 more"}};
    for (const auto& [count, end] : cases) {
        QStringList names;
        for (int i = 0; i < count; ++i) {
            names << QStringLiteral("N%1").arg(i);
        }
        const QString block = ListBlock(names);
        EXPECT_EQ(block.right(end.size()), end) << count;
        EXPECT_EQ(block.count(QStringLiteral("\r\n")), std::min(count, 21) - 1 + (count == 0))
            << count;
    }
    EXPECT_EQ(ListBlock({"a", "b", "c"}, 2), QStringLiteral("a\r\nb\r\nand 1 more"));
}

TEST(InsertSortedTest, IgnoresCaseAndPutsANewEntryAfterItsEquals) {
    QListWidget list;
    for (const char* name : {"m", "SRV1", "a", "srv1", "z", "Srv1", "A"}) {
        InsertSorted(list, QString::fromLatin1(name));
    }
    EXPECT_EQ(Entries(list), (QStringList{"a", "A", "m", "SRV1", "srv1", "Srv1", "z"}));
}

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
