// The item reader: how a text splits into items at commas, quotes and line ends.
#include "persist/ItemReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

TEST(ItemReaderTest, ReadsEveryItemUntilTheEnd) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> items;
    } cases[] = {
        {"Empty", "", {}},
        {"LinesCrLf", "SRV01\r\nSRV02\r\n", {"SRV01", "SRV02"}},
        {"MixedLineEndsAndLastLineWithout", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"LfAndCrAtTheEnd", "a\nb\r", {"a", "b"}},
        {"CommaSeparates", "SRV01,SRV02\r\n", {"SRV01", "SRV02"}},
        {"TrailingCommaGivesEmptyItem", "a,\r\nb\r\n", {"a", "", "b"}},
        {"LeadingBlanksAndTabsSkipped", "  \t SRV01\r\n\t,x\r\n", {"SRV01", "", "x"}},
        {"BlanksInsideKept", "C:\\Program Files\\a b\r\n", {"C:\\Program Files\\a b"}},
        {"EmptyLinesGiveEmptyItems", "\r\n\r\na\r\n\n\r", {"", "", "a", "", ""}},
        {"BlankLineGivesEmptyItem", "   \r\nx", {"", "x"}},
        {"QuotedKeepsCommasAndBlanks", "\" a, b \"\r\nc\r\n", {" a, b ", "c"}},
        {"AfterClosingQuoteSkippedToComma", "\"a\" junk,b\r\n", {"a", "b"}},
        {"AfterClosingQuoteSkippedToLineEnd", "\"app.exe\" /quiet\r\nb", {"app.exe", "b"}},
        {"QuotedEmpty", "\"\"\r\nb\r\n", {"", "b"}},
        {"QuotedAfterBlanks", "  \"x y\"\r\n", {"x y"}},
        {"QuotedLastWithoutLineEnd", "\"a,b\"", {"a,b"}},
        {"UnclosedQuoteEndsAtLineEnd", "\"a,b\r\nc,d\r\n", {"a,b", "c", "d"}},
        {"UnclosedQuoteEndsAtLfOrCr", "\"a\n\"b\rc", {"a", "b", "c"}},
        {"UnclosedQuoteAtEnd", "x\r\n\"abc", {"x", "abc"}},
        {"QuoteInsideItemIsText", "a\"b,c\r\n", {"a\"b", "c"}},
        {"NonAscii", "Zürich-Ø1,Köln\r\n", {"Zürich-Ø1", "Köln"}},
    };
    for (const auto& c : cases) {
        ItemReader reader(QString::fromStdString(c.text));
        std::vector<std::string> items;
        // Bounded, so that a reader that stops advancing fails instead of hanging.
        while (!reader.AtEnd() && items.size() <= c.items.size()) {
            items.push_back(reader.ReadItem().toStdString());
        }
        EXPECT_EQ(items, c.items) << c.name;
    }
}

} // namespace
} // namespace corvane
