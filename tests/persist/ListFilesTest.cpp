// The list, history and one-line files: their formats, their writers on the real file system,
// and remembering a combo box's text in its history.
#include "persist/ListFiles.h"
#include "persist/History.h"

#include "Harness.h"
#include "platform/NativeFileSystem.h"

#include <QComboBox>
#include <QDir>
#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::CrLf;
using test::TempDir;

QStringList Servers(int count) {
    QStringList names;
    for (int i = 1; i <= count; ++i) {
        names << QStringLiteral("SRV%1").arg(i, 4, 10, QLatin1Char('0'));
    }
    return names;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

TEST(ParseListFileTest, EmptyItemsCountTowardsTheLimitButAreNotKept) {
    // Nine empty items (lines, blanks, a trailing comma) and A come first: ten names are left out.
    const QString head = QStringLiteral("\r\n   \r\n\t\r\nA,\r\n\r\n\r\n\r\n\r\n\r\n");
    const ListItems read = ParseListFile(head + FormatListFile(Servers(1000)));
    ASSERT_EQ(read.items.size(), 991);
    EXPECT_EQ(read.items.front(), QStringLiteral("A"));
    EXPECT_EQ(read.items.back(), QStringLiteral("SRV0990"));
    EXPECT_EQ(read.leftOut, 10);
}

TEST(QuoteListEntryTest, QuotesOnlyWhatWouldNotReadBackAndRoundTrips) {
    const struct {
        std::string entry, line; // line: as written, without its line end
    } cases[] = {
        {"SRV01", "SRV01"},
        {"C:\\Program Files\\App\\app.exe", "C:\\Program Files\\App\\app.exe"},
        {"trailing blank ", "trailing blank "},
        {"Zürich", "Zürich"},
        {"C:\\Data\\a,b.txt", "\"C:\\Data\\a,b.txt\""},
        {",", "\",\""},
        {" SRV01", "\" SRV01\""},
        {"\tSRV01", "\"\tSRV01\""},
        {"  a, b ", "\"  a, b \""},
    };
    QStringList all;
    for (const auto& c : cases) {
        EXPECT_EQ(QuoteListEntry(Q(c.entry)).toStdString(), c.line) << '[' << c.entry << ']';
        all << Q(c.entry);
    }
    EXPECT_EQ(ParseListFile(FormatListFile(all)).items, all);
}

TEST(HistoryFileTest, WritesTenPaddedLinesAndReadsBackTheNonEmptyOnes) {
    const std::string padded = CrLf({"D:\\a", "E:\\b", "F:\\c", "", "", "", "", "", "", ""});
    EXPECT_EQ(FormatHistoryFile({"D:\\a", "E:\\b", "F:\\c"}), Q(padded));
    // Past the tenth entry nothing is written, and commas are not quoted.
    QStringList entries = Servers(12);
    entries[0] = QStringLiteral("rundll32.exe user32.dll,LockWorkStation");
    EXPECT_EQ(FormatHistoryFile(entries), entries.mid(0, 10).join("\r\n") + "\r\n");

    const struct {
        std::string text;
        QStringList lines;
    } texts[] = {
        {"", {}},
        {padded, {"D:\\a", "E:\\b", "F:\\c"}},
        {CrLf({"\"C:\\P F\\a.exe\" /q", "rundll32.exe user32.dll,Lock", "", "  lead", "trail "}),
         {"\"C:\\P F\\a.exe\" /q", "rundll32.exe user32.dll,Lock", "  lead", "trail "}},
        {"a\nb\rc\r\n\nd", {"a", "b", "c", "d"}},
    };
    for (const auto& t : texts) {
        EXPECT_EQ(ParseHistoryFile(Q(t.text)).items, t.lines) << t.text;
    }
}

TEST(FirstLineTest, IsTheWholeFirstLine) {
    EXPECT_EQ(FirstLine(QString()), QString());
    EXPECT_EQ(FirstLine("\r\nsecond"), QString());
    EXPECT_EQ(FirstLine("\"C:\\P F\\a.exe\" /q,x\r\nsecond\r\n"), "\"C:\\P F\\a.exe\" /q,x");
    EXPECT_EQ(FirstLine("a\nb"), "a");
    EXPECT_EQ(FirstLine("a\rb"), "a");
    EXPECT_EQ(FirstLine(" no line end "), " no line end ");
}

class ListFileWritersTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir.path() + QString::fromLatin1(name); }
    // Every name in the folder, hidden ones included: writers must leave no temporary file.
    QStringList Names() const {
        return QDir(dir.path())
            .entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs |
                       QDir::NoDotAndDotDot);
    }

    TempDir dir;
    std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

TEST_F(ListFileWritersTest, EmptyListDeletesTheFileAndCreatesNone) {
    dir.Write("computerlist.txt", CrLf({"OLD"}));
    EXPECT_TRUE(WriteListFile(*fs, Path("computerlist.txt"), {}).ok());
    EXPECT_TRUE(WriteListFile(*fs, Path("computerlist.txt"), {}).ok());
    EXPECT_TRUE(Names().isEmpty());
}

TEST_F(ListFileWritersTest, WritesTheFirstThousandEntriesQuotedWithCrLf) {
    dir.Write("computerlist.txt", std::string(50000, 'x'));
    QStringList servers = Servers(1005);
    servers[1] = QStringLiteral("LAB,7");
    ASSERT_TRUE(WriteListFile(*fs, Path("computerlist.txt"), servers).ok());

    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        expected += QuoteListEntry(servers[i]).toStdString() + "\r\n";
    }
    EXPECT_EQ(dir.Read("computerlist.txt"), expected);
    EXPECT_EQ(Names(), QStringList{"computerlist.txt"});
}

TEST_F(ListFileWritersTest, WritingIntoAMissingFolderFailsWithoutAFile) {
    const QString path = dir.path() + QStringLiteral("missing/computerlist.txt");
    EXPECT_EQ(WriteListFile(*fs, path, {"SRV01"}).error, kPathNotFound);
    EXPECT_EQ(WriteHistoryFile(*fs, path, {}).error, kPathNotFound);
    EXPECT_TRUE(Names().isEmpty());
}

TEST(RememberTextTest, AddsOnlyNewNonEmptyTextsAndKeepsTheText) {
    const struct {
        const char* name;
        QStringList entries;
        QString text;
        QStringList after;
    } cases[] = {
        {"CaseSensitive", {"c:\\temp"}, "C:\\Temp", {"c:\\temp", "C:\\Temp"}},
        {"WholeTextCompared", {"D:\\a"}, "D:\\a ", {"D:\\a", "D:\\a "}},
        {"NewGoesToTheEnd", {"D:\\a", "E:\\b"}, "A:\\z", {"D:\\a", "E:\\b", "A:\\z"}},
        {"DuplicateNotAdded", {"D:\\a", "E:\\b", "F:\\c"}, "E:\\b", {"D:\\a", "E:\\b", "F:\\c"}},
        {"EmptyNeverAdded", {"D:\\a"}, "", {"D:\\a"}},
        {"EmptyIntoEmptyBox", {}, "", {}},
        {"FirstEntryKeepsTheText",
         {},
         "rundll32.exe user32.dll,LockWorkStation",
         {"rundll32.exe user32.dll,LockWorkStation"}},
    };
    for (const auto& c : cases) {
        // Set up as the program sets up its history boxes: the lists first, then the text.
        QComboBox box;
        box.setEditable(true);
        box.setInsertPolicy(QComboBox::NoInsert);
        box.addItems(c.entries);
        box.setEditText(c.text);
        RememberText(box);
        EXPECT_EQ(ComboEntries(box), c.after) << c.name;
        EXPECT_EQ(box.currentText(), c.text) << c.name;
    }
}

} // namespace
} // namespace corvane
