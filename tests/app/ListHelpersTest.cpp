// Long-list message blocks, sorted insertion among equal entries, and AppDir's one separator.
#include "QtPrinters.h"

#include "app/AppDir.h"
#include "app/ListHelpers.h"

#include <QListWidget>
#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ListHelpersTest, ListBlockShowsTwentyNamesThenHowManyMore) {
    QStringList names, blocks;
    for (int i = 0; i < 45; ++i)
        names << QStringLiteral("N%1").arg(i);
    for (int count : {0, 1, 20, 21, 45}) { // the last two lines, and how many line ends
        const QString block = ListBlock(names.mid(0, count));
        blocks << block.section(QStringLiteral("\r\n"), -2) + ' ' +
                      QString::number(block.count(QStringLiteral("\r\n")));
    }
    EXPECT_EQ(blocks, (QStringList{" 0", "N0 0", "N18\r\nN19 19", "N19\r\nand 1 more 20",
                                   "N19\r\nand 25 more 20"}));
    EXPECT_EQ(ListBlock({"a", "b", "c"}, 2), QStringLiteral("a\r\nb\r\nand 1 more"));
}

TEST(ListHelpersTest, InsertSortedIgnoresCaseAndPutsANewEntryAfterItsEquals) {
    QListWidget list;
    for (const char* name : {"m", "SRV1", "a", "srv1", "z", "Srv1", "A"})
        InsertSorted(list, QString::fromLatin1(name));
    EXPECT_EQ(Entries(list), (QStringList{"a", "A", "m", "SRV1", "srv1", "Srv1", "z"}));
}

TEST(ListHelpersTest, AppDirEndsInOneSeparatorAlsoAtADriveRoot) {
    QStringList dirs;
    for (const char* folder :
         {"C:\\", "C:\\Tools\\Corvane", "\\\\SRV\\share\\", "/", "/opt/corvane"})
        dirs << AppDirFromFolder(folder, folder[0] == '/' ? u'/' : u'\\');
    EXPECT_EQ(dirs, QStringList({"C:\\", "C:\\Tools\\Corvane\\", "\\\\SRV\\share\\", "/",
                                 "/opt/corvane/"}));
}

} // namespace
} // namespace corvane
