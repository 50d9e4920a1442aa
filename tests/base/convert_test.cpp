#include "base/Convert.h"
#include "base/Error.h"

#include <gtest/gtest.h>

using namespace newsbell;

namespace {

std::string failure(auto convert, std::string_view text) {
    try {
        convert(text);
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

TEST(StrToInt, reads_what_a_typed_field_may_hold) {
    EXPECT_EQ(strToInt("15"), 15);
    EXPECT_EQ(strToInt("   7"), 7);
    EXPECT_EQ(strToInt("-3"), -3);
    EXPECT_EQ(strToInt("+4"), 4);
    EXPECT_EQ(strToInt("$1F"), 31);
    EXPECT_EQ(strToInt("0x10"), 16);
    EXPECT_EQ(strToInt("-2147483648"), INT_MIN);
}

TEST(StrToInt, refuses_anything_else_with_the_text_quoted) {
    auto toInt = [](std::string_view t) { return strToInt(t); };
    EXPECT_EQ(failure(toInt, ""), "'' is not a valid integer value");
    EXPECT_EQ(failure(toInt, "12 "), "'12 ' is not a valid integer value");
    EXPECT_EQ(failure(toInt, "1.5"), "'1.5' is not a valid integer value");
    EXPECT_EQ(failure(toInt, "--1"), "'--1' is not a valid integer value");
    EXPECT_EQ(failure(toInt, "2147483648"), "'2147483648' is not a valid integer value");
    EXPECT_EQ(failure(toInt, "\xE4\xE2\xE0"),
              "'два' is not a valid integer value"); // cp1251 in, UTF-8 out
}

TEST(StrToTime, reads_hours_minutes_and_seconds) {
    EXPECT_EQ(strToTime("14:30"), QTime(14, 30));
    EXPECT_EQ(strToTime(" 0:5 "), QTime(0, 5));
    EXPECT_EQ(strToTime("23:59:59"), QTime(23, 59, 59));
    EXPECT_EQ(strToTime("1:02:03.250"), QTime(1, 2, 3, 250));
}

TEST(StrToTime, refuses_texts_that_are_no_time_of_day) {
    auto toTime = [](std::string_view t) { return strToTime(t); };
    for (std::string_view bad :
         {"", "0:", "14", "24:00", "12:60", "Tentative", "All Day", "1:2:3:4", "-1:00"})
        EXPECT_EQ(failure(toTime, bad), "'" + std::string(bad) + "' is not a valid time");
}

} // namespace
