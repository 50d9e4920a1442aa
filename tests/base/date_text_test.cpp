#include "base/DateText.h"
#include "base/Error.h"

#include <gtest/gtest.h>

using namespace newsbell;

namespace {

std::string iso(QDate date) {
    return date.toString(Qt::ISODate).toStdString();
}

TEST(DateText, formats_the_three_date_texts_of_the_program) {
    const QDate date(2010, 5, 4);
    EXPECT_EQ(formatDate(date, tableDateFormat), "2010.05.04");
    EXPECT_EQ(formatDate(date, labelDateFormat), "4.5.2010");
    EXPECT_EQ(formatDate(date, scriptDateFormat), "2010,5,4");
}

// Years the short path does not take, and a pattern longer than the writer's buffer.
TEST(DateText, formats_any_year_and_any_pattern_whole) {
    EXPECT_EQ(formatDate(5, 1, 2, tableDateFormat), "0005.01.02");
    EXPECT_EQ(formatDate(12345, 12, 31, tableDateFormat), "12345.12.31");
    const std::string separators(40, '/');
    EXPECT_EQ(formatDate(2010, 5, 4, {"dd" + separators + "yy", '-'}),
              "04" + std::string(40, '-') + "10");
}

TEST(DateText, parses_in_the_order_of_its_format) {
    EXPECT_EQ(iso(parseDate("2010.05.24", tableDateFormat, 2026)), "2010-05-24");
    EXPECT_EQ(iso(parseDate("24.5.2010", labelDateFormat, 2026)), "2010-05-24");
    EXPECT_EQ(iso(parseDate(" 10.12.27 ", tableDateFormat, 2026)), "2010-12-27");
    EXPECT_EQ(iso(parseDate("3.1", labelDateFormat, 2026)), "2026-01-03"); // no year: this year
}

TEST(DateText, two_digit_years_fall_in_the_century_around_this_year) {
    EXPECT_EQ(expandTwoDigitYear(76, 2026), 1976);
    EXPECT_EQ(expandTwoDigitYear(75, 2026), 2075);
    EXPECT_EQ(expandTwoDigitYear(0, 2026), 2000);
    EXPECT_EQ(expandTwoDigitYear(50, 2000), 1950);
    EXPECT_EQ(expandTwoDigitYear(49, 2000), 2049);
    EXPECT_EQ(iso(parseDate("0076.01.01", tableDateFormat, 2026)),
              "0076-01-01"); // four digits stay
}

TEST(DateText, refuses_dates_that_do_not_exist_with_the_text_quoted) {
    for (std::string_view bad :
         {"10.02.30", "10.13.01", "", "10..05", "10.05.24x", "x", "1X.13.31"}) {
        try {
            parseDate(bad, tableDateFormat, 2026);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid date");
        }
    }
}

TEST(DateText, a_week_runs_from_monday_to_sunday) {
    EXPECT_EQ(mondayOf(QDate(2010, 3, 8)), QDate(2010, 3, 8));
    EXPECT_EQ(mondayOf(QDate(2010, 3, 10)), QDate(2010, 3, 8));
    EXPECT_EQ(mondayOf(QDate(2010, 3, 14)), QDate(2010, 3, 8)); // a Sunday
    EXPECT_EQ(mondayOf(QDate(2011, 1, 2)), QDate(2010, 12, 27));
}

TEST(DateText, weekdays_count_from_sunday) {
    EXPECT_EQ(weekdayNumber(QDate(2010, 2, 28)), 0);
    EXPECT_EQ(weekdayNumber(QDate(2010, 3, 1)), 1);
    EXPECT_EQ(weekdayNumber(QDate(2010, 3, 6)), 6);
}

} // namespace
