// The time and day arguments and the numeric test, as tables.
#include "QtPrinters.h"

#include "schedule/ScheduleArguments.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(BuildTimeArgumentTest, KeepsTheFieldsAsTyped) {
    struct Case {
        const char *hour, *minutes, *ampm, *expected;
    };
    for (const Case& c : {Case{"5", "00", "PM", "5:00PM"}, Case{"7", "5", "AM", "7:5AM"},
                          Case{"12", "00", "AM", "12:00AM"}, Case{"13", "75", "PM", "13:75PM"},
                          Case{" 7", "05 ", "pm", " 7:05 pm"}}) {
        EXPECT_EQ(BuildTimeArgument(QString::fromLatin1(c.hour), QString::fromLatin1(c.minutes),
                                    QString::fromLatin1(c.ampm)),
                  QString::fromLatin1(c.expected));
    }
}

TEST(BuildDayArgumentTest, ListsTheChosenDaysAfterTheOccurrence) {
    struct Case {
        Occurrence occurrence;
        QStringList days;
        const char* expected;
    };
    const Case cases[] = {
        {Occurrence::Today, {"Monday", "15"}, ""},
        {Occurrence::Every, {"Monday", "Wednesday", "15"}, "/every:Monday,Wednesday,15"},
        {Occurrence::Next, {"Friday"}, "/next:Friday"},
        {Occurrence::Every, {}, "/every"},
        {Occurrence::Next, {}, "/next"},
    };
    for (const Case& c : cases) {
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
