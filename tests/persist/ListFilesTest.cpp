// The list, history and one-line files: items, formats, writers, and the history boxes.
#include "persist/ListFiles.h"
#include "persist/History.h"
#include "persist/ItemReader.h"

#include "Harness.h"
#include "platform/NativeFileSystem.h"

#include <QDir>
#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::CrLf;

QStringList Servers(int count) {
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << QStringLiteral("SRV%1").arg(i, 4, 10, QLatin1Char('0'));
    return names;
}

const auto Q = [](const std::string& text) { return QString::fromStdString(text); };

TEST(ItemReaderTest, SplitsAtCommasAndLineEndsAndKeepsQuotedText) {
    const std::pair<std::string, QStringList> cases[] = {
        {"", {}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a,\r\nb,c\r", {"a", "", "b", "c"}},
        {"  \t SRV01\r\n\t,x\r\n", {"SRV01", "", "x"}},
        {"\r\n   \r\na b\r\n\n\r", {"", "", "a b", "", ""}},
        {"\" a, b \"\r\nc\r\n", {" a, b ", "c"}},
        {"\"a\" junk,b\r\n", {"a", "b"}},
        {"\"app.exe\" /quiet\r\nb", {"app.exe", "b"}},
        {"\"\"\r\n  \"x y\"\r\n\"a,b\"", {"", "x y", "a,b"}},
        {"\"a,b\r\nc,d\r\n", {"a,b", "c", "d"}},
        {"\"a\n\"b\r\"c", {"a", "b", "c"}},
        {"a\"b,Zürich-Ø1\r\n", {"a\"b", "Zürich-Ø1"}},
    };
    for (const auto& [text, expected] : cases) {
        ItemReader reader(Q(text));
        QStringList items;
        // Bounded, so that a reader that stops advancing fails instead of hanging.
        while (!reader.AtEnd() && items.size() <= expected.size())
            items << reader.ReadItem();
        EXPECT_EQ(items, expected) << text;
    }
}

TEST(ListFileTest, QuotesOnlyWhatWouldNotReadBackAndCountsEmptyItemsTowardsTheLimit) {
    const QStringList all({"C:\\Program Files\\App\\app.exe", "trailing blank ",
                           "C:\\Data\\a,b.txt", ",", " SRV01", "\tSRV01"});
    QStringList quoted;
    for (const QString& entry : all)
        quoted << QuoteListEntry(entry);
    EXPECT_EQ(quoted, (QStringList{all[0], all[1], "\"C:\\Data\\a,b.txt\"", "\",\"", "\" SRV01\"",
                                   "\"\tSRV01\""}));
    EXPECT_EQ(ParseListFile(FormatListFile(all)).items, all);

    // Nine empty items (lines, blanks, a trailing comma) and A come first: ten names are left out.
    const QString head = QStringLiteral("\r\n   \r\n\t\r\nA,\r\n\r\n\r\n\r\n\r\n\r\n");
    const ListItems read = ParseListFile(head + FormatListFile(Servers(1000)));
    EXPECT_EQ(read.items.size() * 100 + read.leftOut, 991 * 100 + 10);
    EXPECT_EQ(read.items.front() + read.items.back(), QStringLiteral("ASRV0990"));
}

TEST(HistoryFileTest, WritesTenPaddedLinesAndReadsBackTheNonEmptyOnes) {
    const std::string padded = CrLf({"D:\\a", "E:\\b", "F:\\c", "", "", "", "", "", "", ""});
    EXPECT_EQ(FormatHistoryFile({"D:\\a", "E:\\b", "F:\\c"}), Q(padded));
    // Past the tenth entry nothing is written, and commas are not quoted.
    QStringList entries = Servers(12);
    entries[0] = QStringLiteral("rundll32.exe user32.dll,LockWorkStation");
    EXPECT_EQ(FormatHistoryFile(entries), entries.mid(0, 10).join("\r\n") + "\r\n");

    const std::pair<std::string, QStringList> texts[] = {
        {"", {}},
        {padded, {"D:\\a", "E:\\b", "F:\\c"}},
        {CrLf({"\"C:\\P F\\a.exe\" /q", "rundll32.exe user32.dll,Lock", "", "  lead", "trail "}),
         {"\"C:\\P F\\a.exe\" /q", "rundll32.exe user32.dll,Lock", "  lead", "trail "}},
        {"a\nb\rc\r\n\nd", {"a", "b", "c", "d"}},
    };
    for (const auto& [text, lines] : texts)
        EXPECT_EQ(ParseHistoryFile(Q(text)).items, lines) << text;
    const ListItems many = ParseHistoryFile(Servers(12).join("\r\n\r\n"));
    EXPECT_EQ(many.items.join(',') + QString::number(many.leftOut), Servers(10).join(',') + "2");
    QStringList firsts; // a one-line file is its whole first line
    for (const char* text : {"", "\r\nsecond", "\"C:\\P F\\a.exe\" /q,x\r\nsecond\r\n", "a\nb",
                             "a\rb", " no line end "})
        firsts << FirstLine(QString::fromUtf8(text));
    EXPECT_EQ(firsts, (QStringList{"", "", "\"C:\\P F\\a.exe\" /q,x", "a", "a", " no line end "}));
}

// The writers: an empty list deletes the file, at most a thousand entries, quoted, with CR LF;
// a missing folder fails without a file; never a temporary file left behind.
TEST(ListFileWritersTest, WriteTheFirstThousandEntriesAndDeleteTheFileOfAnEmptyList) {
    test::TempDir dir;
    const auto fs = MakeNativeFileSystem();
    const QString path = dir.path() + QStringLiteral("computerlist.txt");
    const auto names = [&dir] {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    };
    dir.Write("computerlist.txt", std::string(50000, 'x'));
    QStringList servers = Servers(1005);
    servers[1] = QStringLiteral("LAB,7");
    ASSERT_TRUE(WriteListFile(*fs, path, servers).ok());
    EXPECT_EQ(Q(dir.Read("computerlist.txt")), FormatListFile(servers.mid(0, 1000)));
    EXPECT_TRUE(Q(dir.Read("computerlist.txt")).startsWith("SRV0001\r\n\"LAB,7\"\r\nSRV0003\r\n"));
    EXPECT_EQ(names(), QStringList{"computerlist.txt"});
    EXPECT_TRUE(WriteListFile(*fs, path, {}).ok() && WriteListFile(*fs, path, {}).ok());
    EXPECT_TRUE(names().isEmpty());

    const QString missing = dir.path() + QStringLiteral("missing/computerlist.txt");
    EXPECT_EQ(WriteListFile(*fs, missing, {"SRV01"}).error, kPathNotFound);
    EXPECT_EQ(WriteHistoryFile(*fs, missing, {}).error, kPathNotFound);
    EXPECT_TRUE(names().isEmpty());
}

// Set up as the program sets up its history boxes; each text is remembered in turn.
TEST(RememberTextTest, AddsOnlyNewNonEmptyTextsCaseSensitivelyAndKeepsTheText) {
    QComboBox box;
    box.setEditable(true);
    box.setInsertPolicy(QComboBox::NoInsert);
    const QStringList texts({"", "rundll32.exe user32.dll,LockWorkStation", "c:\\temp", "C:\\Temp",
                             "D:\\a", "D:\\a ", "c:\\temp", ""});
    QStringList kept;
    for (const QString& text : texts) {
        box.setEditText(text);
        RememberText(box);
        kept << box.currentText();
    }
    EXPECT_EQ(kept, texts);
    EXPECT_EQ(ComboEntries(box), texts.mid(1, 5));
}

} // namespace
} // namespace corvane
