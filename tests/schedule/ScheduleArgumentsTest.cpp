// The day argument and the numeric test, as tables.
#include "QtPrinters.h"

#include "schedule/ScheduleArguments.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(BuildDayArgumentTest, ListsTheChosenDaysAfterTheOccurrence) {
    const struct {
        Occurrence occurrence;
        QStringList days;
        const char* expected;
    } cases[] = {
        {Occurrence::Today, {"Monday", "15"}, ""},
        {Occurrence::Every, {"Monday", "Wednesday", "15"}, "/every:Monday,Wednesday,15"},
        {Occurrence::Next, {"Friday"}, "/next:Friday"},
        {Occurrence::Every, {}, "/every"},
        {Occurrence::Next, {}, "/next"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildDayArgument(c.occurrence, c.days), QString::fromLatin1(c.expected));
    }
}

TEST(IsNumericTest, AcceptsNumbersAsPeopleTypeThem) {
    for (const char* yes : {"5", "00", "12", "-3", "+4", "1.5", ".5", "7.", " 42 ", "1e3"}) {
        EXPECT_TRUE(IsNumeric(QString::fromLatin1(yes))) << yes;
    }
    for (const char* no : {"", " ", "a", "5a", "1:5", "--1", ".", "1 2", "PM"}) {
        EXPECT_FALSE(IsNumeric(QString::fromLatin1(no))) << no;
    }
}

} // namespace
} // namespace corvane
