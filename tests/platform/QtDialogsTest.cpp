// The file-dialog filters the program gives in "Description|patterns|..." form, as Qt reads them.
#include "platform/qt/QtDialogs.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

struct FilterCase {
    std::string filter;
    std::string qt;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << '[' << c.filter << ']';
}

class ToQtFileFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ToQtFileFilterTest, Converts) {
    const FilterCase& c = GetParam();
    EXPECT_EQ(ToQtFileFilter(QString::fromStdString(c.filter)).toStdString(), c.qt);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ToQtFileFilterTest,
    ::testing::Values(FilterCase{"Text (*.txt)|*.txt", "Text (*.txt)"},
                      FilterCase{"Text Files|*.txt", "Text Files (*.txt)"},
                      // The description's own parentheses are replaced by the real patterns.
                      FilterCase{"Lists (*.lst)|*.txt", "Lists (*.txt)"},
                      FilterCase{
                          "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files (*.ini)|*.ini|"
                          "Images (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif",
                          "All Files (*.*);;Text Files (*.txt);;INI Files (*.ini);;"
                          "Images (*.bmp *.jpg *.gif)"},
                      FilterCase{"", ""}));

} // namespace
} // namespace corvane
