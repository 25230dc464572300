// Remembering a combo box's text in its drop-down history.
#include "persist/History.h"

#include <QComboBox>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

struct RememberCase {
    const char* name;
    std::vector<std::string> entries;
    std::string text;
    std::vector<std::string> after;
};

void PrintTo(const RememberCase& c, std::ostream* os) {
    *os << c.name;
}

QStringList ToList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& t : texts) {
        list << QString::fromStdString(t);
    }
    return list;
}

class RememberTextTest : public ::testing::TestWithParam<RememberCase> {};

TEST_P(RememberTextTest, AddsOnlyNewNonEmptyTextsAndKeepsTheText) {
    const RememberCase& c = GetParam();
    // Set up as the program sets up its history boxes: the lists first, then the text.
    QComboBox box;
    box.setEditable(true);
    box.setInsertPolicy(QComboBox::NoInsert);
    box.setCompleter(nullptr);
    box.addItems(ToList(c.entries));
    const QString text = QString::fromStdString(c.text);
    box.setEditText(text);

    RememberText(box);

    EXPECT_EQ(ComboEntries(box), ToList(c.after));
    EXPECT_EQ(box.currentText(), text);
}

INSTANTIATE_TEST_SUITE_P(
    Histories, RememberTextTest,
    ::testing::Values(
        RememberCase{"CaseSensitive", {"c:\\temp"}, "C:\\Temp", {"c:\\temp", "C:\\Temp"}},
        RememberCase{"WholeTextCompared", {"D:\\a"}, "D:\\a ", {"D:\\a", "D:\\a "}},
        RememberCase{"NewGoesToTheEnd", {"D:\\a", "E:\\b"}, "A:\\z", {"D:\\a", "E:\\b", "A:\\z"}},
        RememberCase{
            "DuplicateNotAdded", {"D:\\a", "E:\\b", "F:\\c"}, "E:\\b", {"D:\\a", "E:\\b", "F:\\c"}},
        RememberCase{"EmptyNeverAdded", {"D:\\a"}, "", {"D:\\a"}},
        RememberCase{"EmptyIntoEmptyBox", {}, "", {}},
        RememberCase{"FirstEntryKeepsTheText",
                     {},
                     "rundll32.exe user32.dll,LockWorkStation",
                     {"rundll32.exe user32.dll,LockWorkStation"}}),
    [](const ::testing::TestParamInfo<RememberCase>& info) {
        return std::string(info.param.name);
    });

TEST(RememberTextSequenceTest, RememberingTwiceAddsOnce) {
    QComboBox box;
    box.setEditable(true);
    box.setInsertPolicy(QComboBox::NoInsert);
    box.setCompleter(nullptr);
    box.setEditText(QStringLiteral("at \\\\SRV01 12:00"));
    RememberText(box);
    RememberText(box);
    box.setEditText(QStringLiteral("AT \\\\SRV01 12:00"));
    RememberText(box);
    EXPECT_EQ(ComboEntries(box), (QStringList{QStringLiteral("at \\\\SRV01 12:00"),
                                              QStringLiteral("AT \\\\SRV01 12:00")}));
    EXPECT_EQ(box.currentText(), QStringLiteral("AT \\\\SRV01 12:00"));
}

} // namespace
} // namespace corvane
