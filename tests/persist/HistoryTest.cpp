// Remembering a combo box's text in its drop-down history.
#include "persist/History.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace corvane {
namespace {

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
