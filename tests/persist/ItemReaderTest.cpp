// The item reader: how a text splits into items at commas, quotes and line ends.
#include "persist/ItemReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

struct ReaderCase {
    const char* name;
    std::string text;
    std::vector<std::string> items; // every item read until the end of the text
};

void PrintTo(const ReaderCase& c, std::ostream* os) {
    *os << c.name;
}

class ItemReaderTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ItemReaderTest, ReadsItemsUntilTheEnd) {
    const ReaderCase& c = GetParam();
    ItemReader reader(QString::fromStdString(c.text));
    std::vector<std::string> items;
    // Bounded, so that a reader that stops advancing fails instead of hanging.
    while (!reader.AtEnd() && items.size() <= c.items.size()) {
        items.push_back(reader.ReadItem().toStdString());
    }
    EXPECT_EQ(items, c.items);
    EXPECT_TRUE(reader.AtEnd());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ItemReaderTest,
    ::testing::Values(
        ReaderCase{"Empty", "", {}}, ReaderCase{"OneLineCrLf", "SRV01\r\n", {"SRV01"}},
        ReaderCase{"LinesCrLf", "SRV01\r\nSRV02\r\n", {"SRV01", "SRV02"}},
        ReaderCase{"LinesLf", "SRV01\nSRV02\n", {"SRV01", "SRV02"}},
        ReaderCase{"LinesCr", "SRV01\rSRV02\r", {"SRV01", "SRV02"}},
        ReaderCase{"MixedLineEnds", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        ReaderCase{"LastLineWithoutLineEnd", "SRV01\r\nSRV02", {"SRV01", "SRV02"}},
        ReaderCase{"CommaSeparates", "SRV01,SRV02\r\n", {"SRV01", "SRV02"}},
        ReaderCase{"TrailingCommaGivesEmptyItem", "a,\r\nb\r\n", {"a", "", "b"}},
        ReaderCase{"LeadingBlanksAndTabsSkipped", "  \t SRV01\r\n\t,x\r\n", {"SRV01", "", "x"}},
        ReaderCase{"BlanksInsideKept", "C:\\Program Files\\a b\r\n", {"C:\\Program Files\\a b"}},
        ReaderCase{"EmptyLinesGiveEmptyItems", "\r\n\r\na\r\n\n\r", {"", "", "a", "", ""}},
        ReaderCase{"BlankLineGivesEmptyItem", "   \r\nx", {"", "x"}},
        ReaderCase{"QuotedKeepsCommasAndBlanks", "\" a, b \"\r\nc\r\n", {" a, b ", "c"}},
        ReaderCase{"QuotedThenComma", "\"a,b\",c\r\n", {"a,b", "c"}},
        ReaderCase{"AfterClosingQuoteSkippedToComma", "\"a\" junk,b\r\n", {"a", "b"}},
        ReaderCase{
            "AfterClosingQuoteSkippedToLineEnd", "\"app.exe\" /quiet\r\nb", {"app.exe", "b"}},
        ReaderCase{"QuotedEmpty", "\"\"\r\nb\r\n", {"", "b"}},
        ReaderCase{"QuotedAfterBlanks", "  \"x y\"\r\n", {"x y"}},
        ReaderCase{"QuotedLastWithoutLineEnd", "\"a,b\"", {"a,b"}},
        ReaderCase{"UnclosedQuoteEndsAtLineEnd", "\"a,b\r\nc,d\r\n", {"a,b", "c", "d"}},
        ReaderCase{"UnclosedQuoteEndsAtLf", "\"a\nb\n", {"a", "b"}},
        ReaderCase{"UnclosedQuoteEndsAtCr", "\"a\rb\r", {"a", "b"}},
        ReaderCase{"UnclosedQuoteAtEnd", "x\r\n\"abc", {"x", "abc"}},
        ReaderCase{"QuoteInsideItemIsText", "a\"b,c\r\n", {"a\"b", "c"}},
        ReaderCase{"NonAscii", "Zürich-Ø1,Köln\r\n", {"Zürich-Ø1", "Köln"}}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace corvane
