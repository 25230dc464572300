// The file-dialog filters the program gives in "Description|patterns|..." form, as Qt reads them.
#include "platform/qt/QtDialogs.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ToQtFileFilterTest, ConvertsEveryPair) {
    const struct {
        const char* filter;
        const char* qt;
    } cases[] = {
        {"Text (*.txt)|*.txt", "Text (*.txt)"},
        {"Text Files|*.txt", "Text Files (*.txt)"},
        // The description's own parentheses are replaced by the real patterns.
        {"Lists (*.lst)|*.txt", "Lists (*.txt)"},
        {"All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files (*.ini)|*.ini|"
         "Images (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif",
         "All Files (*);;Text Files (*.txt);;INI Files (*.ini);;Images (*.bmp *.jpg *.gif)"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToQtFileFilter(QString::fromUtf8(c.filter)).toStdString(), c.qt) << c.filter;
    }
}

} // namespace
} // namespace corvane
