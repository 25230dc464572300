// The list, history and one-line files: their formats, and their writers on the real file system.
#include "persist/ListFiles.h"

#include "Harness.h"
#include "platform/NativeFileSystem.h"

#include <QDir>
#include <gtest/gtest.h>

#include <string>

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

// --- ParseListFile ---

TEST(ParseListFileTest, TakesTheFirstThousandItemsAndCountsTheRest) {
    const ListItems read = ParseListFile(FormatListFile(Servers(1000)) +
                                         QStringLiteral("X1\r\nX2,X3\r\n\r\nX4\r\nX5\r\n"));
    EXPECT_EQ(read.items, Servers(1000));
    EXPECT_EQ(read.leftOut, 5);
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

TEST(ParseListFileTest, EmptyTextsAndTrailingEmptyLinesAddNothing) {
    EXPECT_TRUE(ParseListFile(QString()).items.isEmpty());
    const ListItems read = ParseListFile(QStringLiteral("SRV01\r\nSRV02,SRV03\r\n\r\n"));
    EXPECT_EQ(read.items, (QStringList{QStringLiteral("SRV01"), QStringLiteral("SRV02"),
                                       QStringLiteral("SRV03")}));
    EXPECT_EQ(read.leftOut, 0);
}

// --- Quoting: every entry comes back as it was written. ---

struct QuoteCase {
    std::string entry;
    std::string line; // as written, without its line end
};

void PrintTo(const QuoteCase& c, std::ostream* os) {
    *os << '[' << c.entry << ']';
}

class QuoteListEntryTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteListEntryTest, WritesAndReadsBack) {
    const QuoteCase& c = GetParam();
    EXPECT_EQ(QuoteListEntry(Q(c.entry)).toStdString(), c.line);
    const ListItems read = ParseListFile(FormatListFile({Q(c.entry)}));
    EXPECT_EQ(read.items, QStringList{Q(c.entry)});
}

INSTANTIATE_TEST_SUITE_P(Entries, QuoteListEntryTest,
                         ::testing::Values(QuoteCase{"SRV01", "SRV01"},
                                           QuoteCase{"C:\\Program Files\\App\\app.exe",
                                                     "C:\\Program Files\\App\\app.exe"},
                                           QuoteCase{"trailing blank ", "trailing blank "},
                                           QuoteCase{"Zürich", "Zürich"},
                                           QuoteCase{"C:\\Data\\a,b.txt", "\"C:\\Data\\a,b.txt\""},
                                           QuoteCase{",", "\",\""},
                                           QuoteCase{" SRV01", "\" SRV01\""},
                                           QuoteCase{"\tSRV01", "\"\tSRV01\""},
                                           QuoteCase{"  a, b ", "\"  a, b \""}));

TEST(FormatListFileTest, WholeListRoundTripsInOrder) {
    const QStringList entries{QStringLiteral("SRV02"), QStringLiteral("C:\\x\\a,b.txt"),
                              QStringLiteral(" lead"), QStringLiteral("\ttab"),
                              QStringLiteral("SRV01")};
    EXPECT_EQ(ParseListFile(FormatListFile(entries)).items, entries);
}

TEST(FormatListFileTest, PlainEntriesAreWrittenAsTheyStand) {
    EXPECT_EQ(FormatListFile({QStringLiteral("SRV01"), QStringLiteral("C:\\a b\\c.exe")}),
              Q(CrLf({"SRV01", "C:\\a b\\c.exe"})));
    EXPECT_EQ(FormatListFile({}), QString());
}

// --- History files ---

TEST(FormatHistoryFileTest, PadsToTenLines) {
    EXPECT_EQ(FormatHistoryFile(
                  {QStringLiteral("D:\\a"), QStringLiteral("E:\\b"), QStringLiteral("F:\\c")}),
              Q(CrLf({"D:\\a", "E:\\b", "F:\\c", "", "", "", "", "", "", ""})));
    EXPECT_EQ(FormatHistoryFile({}), Q(CrLf({"", "", "", "", "", "", "", "", "", ""})));
}

TEST(FormatHistoryFileTest, DropsEntriesPastTheTenthAndKeepsTextUnquoted) {
    QStringList entries = Servers(12);
    entries[0] = QStringLiteral("rundll32.exe user32.dll,LockWorkStation");
    const QString text = FormatHistoryFile(entries);
    QStringList expected = entries.mid(0, 10);
    EXPECT_EQ(text, expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

struct HistoryCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
};

void PrintTo(const HistoryCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseHistoryFileTest : public ::testing::TestWithParam<HistoryCase> {};

TEST_P(ParseHistoryFileTest, KeepsWholeNonEmptyLines) {
    const HistoryCase& c = GetParam();
    QStringList expected;
    for (const std::string& line : c.lines) {
        expected << Q(line);
    }
    EXPECT_EQ(ParseHistoryFile(Q(c.text)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseHistoryFileTest,
    ::testing::Values(HistoryCase{"Empty", "", {}},
                      HistoryCase{"QuotedProgramWithArguments",
                                  CrLf({"\"C:\\Program Files\\App\\app.exe\" /quiet", "", ""}),
                                  {"\"C:\\Program Files\\App\\app.exe\" /quiet"}},
                      HistoryCase{"Commas",
                                  CrLf({"rundll32.exe user32.dll,LockWorkStation", "a, b"}),
                                  {"rundll32.exe user32.dll,LockWorkStation", "a, b"}},
                      HistoryCase{"PaddedHistory",
                                  CrLf({"D:\\a", "E:\\b", "F:\\c", "", "", "", "", "", "", ""}),
                                  {"D:\\a", "E:\\b", "F:\\c"}},
                      HistoryCase{"BlanksKept", "  lead\r\ntrail \r\n", {"  lead", "trail "}},
                      HistoryCase{"OtherLineEnds", "a\nb\rc\r\n\nd", {"a", "b", "c", "d"}}),
    [](const ::testing::TestParamInfo<HistoryCase>& info) { return std::string(info.param.name); });

TEST(FirstLineTest, IsTheWholeFirstLine) {
    EXPECT_EQ(FirstLine(QString()), QString());
    EXPECT_EQ(FirstLine(QStringLiteral("\r\nsecond")), QString());
    EXPECT_EQ(FirstLine(QStringLiteral("\"C:\\P F\\a.exe\" /q,x\r\nsecond\r\n")),
              QStringLiteral("\"C:\\P F\\a.exe\" /q,x"));
    EXPECT_EQ(FirstLine(QStringLiteral("a\nb")), QStringLiteral("a"));
    EXPECT_EQ(FirstLine(QStringLiteral("a\rb")), QStringLiteral("a"));
    EXPECT_EQ(FirstLine(QStringLiteral(" no line end ")), QStringLiteral(" no line end "));
}

// --- Writers on the real file system ---

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
    EXPECT_FALSE(dir.Exists("computerlist.txt"));
    EXPECT_TRUE(WriteListFile(*fs, Path("computerlist.txt"), {}).ok());
    EXPECT_TRUE(Names().isEmpty());
}

TEST_F(ListFileWritersTest, WritesTheFirstThousandEntriesWithCrLf) {
    dir.Write("computerlist.txt", std::string(50000, 'x'));
    QStringList servers = Servers(1005);
    servers[1] = QStringLiteral("LAB,7");
    ASSERT_TRUE(WriteListFile(*fs, Path("computerlist.txt"), servers).ok());

    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        expected += QuoteListEntry(servers[i]).toStdString() + "\r\n";
    }
    EXPECT_EQ(dir.Read("computerlist.txt"), expected);
    EXPECT_EQ(Names(), QStringList{QStringLiteral("computerlist.txt")});

    ListItems read;
    ASSERT_TRUE(ReadListFile(*fs, Path("computerlist.txt"), read).ok());
    EXPECT_EQ(read.items, servers.mid(0, 1000));
    EXPECT_EQ(read.leftOut, 0);
}

TEST_F(ListFileWritersTest, ReadingAMissingFileIsNotFoundAndEmpty) {
    ListItems read{{QStringLiteral("stale")}, 3};
    EXPECT_EQ(ReadListFile(*fs, Path("filelist.txt"), read).error, kFileNotFound);
    EXPECT_TRUE(read.items.isEmpty());
    EXPECT_EQ(read.leftOut, 0);
}

TEST_F(ListFileWritersTest, HistoryAndLineFilesReplaceTheOldContent) {
    dir.Write("sp.top", CrLf({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
    dir.Write("schedapp.top", CrLf({"old command that is longer", "second"}));
    ASSERT_TRUE(WriteHistoryFile(
                    *fs, Path("sp.top"),
                    {QStringLiteral("D:\\a"), QStringLiteral("E:\\b"), QStringLiteral("F:\\c")})
                    .ok());
    ASSERT_TRUE(WriteLineFile(*fs, Path("schedapp.top"),
                              QStringLiteral("rundll32.exe user32.dll,LockWorkStation"))
                    .ok());
    ASSERT_TRUE(WriteLineFile(*fs, Path("srvpath.top"), QString()).ok());

    EXPECT_EQ(dir.Read("sp.top"), CrLf({"D:\\a", "E:\\b", "F:\\c", "", "", "", "", "", "", ""}));
    EXPECT_EQ(dir.Read("schedapp.top"), CrLf({"rundll32.exe user32.dll,LockWorkStation"}));
    EXPECT_EQ(dir.Read("srvpath.top"), "\r\n");
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("schedapp.top"), QStringLiteral("sp.top"),
                                    QStringLiteral("srvpath.top")}));
}

TEST_F(ListFileWritersTest, WritingIntoAMissingFolderFailsWithoutAFile) {
    const QString path = dir.path() + QStringLiteral("missing/computerlist.txt");
    EXPECT_EQ(WriteListFile(*fs, path, {QStringLiteral("SRV01")}).error, kPathNotFound);
    EXPECT_EQ(WriteHistoryFile(*fs, path, {}).error, kPathNotFound);
    EXPECT_TRUE(Names().isEmpty());
}

} // namespace
} // namespace corvane
