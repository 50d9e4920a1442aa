#include "base/Error.h"
#include "core/Extraction.h"
#include "core/TableTextFile.h"
#include "tests/support/FileBytes.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace newsbell;

namespace {

std::string page(const std::string& name) {
    return newsbell::testing::readFileBytes(std::filesystem::path(PAGES_DIR) / name / "page1.html");
}

EventTable titledTable() {
    EventTable table;
    table.writeTitles();
    return table;
}

ExtractionOptions options(ExtractionMode mode = ExtractionMode::FreshTable) {
    ExtractionOptions o(2026);
    o.mode = mode;
    return o;
}

std::vector<std::string> column(const EventTable& table, int c) {
    std::vector<std::string> cells;
    for (int r = 1; r < table.rowCount(); ++r) cells.emplace_back(table.cell(c, r));
    return cells;
}

TEST(Extraction, yields_once_per_search_and_the_table_is_whole_each_time) {
    EventTable table = titledTable();
    std::vector<int> rowsSeen;
    ExtractionOptions o = options();
    o.processEvents = [&] {
        rowsSeen.push_back(table.rowCount());
        for (int r = 1; r < table.rowCount(); ++r) ASSERT_FALSE(table.cell(6, r).empty());
    };
    extractEvents(page("normal-week"), table, o);
    EXPECT_EQ(rowsSeen, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST(Extraction, running_twice_gives_the_same_table_numbered_from_one) {
    EventTable table = titledTable();
    extractEvents(page("normal-week"), table, options());
    const std::string first = gridText(table);
    table.setCell(6, 2, "edited by hand");
    extractEvents(page("normal-week"), table, options());
    EXPECT_EQ(gridText(table), first);
    EXPECT_EQ(table.fixedRowCount(), 1);
}

TEST(Extraction, appending_weeks_numbers_on_and_returns_each_page_date) {
    EventTable table = titledTable();
    EXPECT_EQ(extractEvents(page("normal-week"), table, options()), QDate(2010, 5, 24));
    EXPECT_EQ(extractEvents(page("new-year"), table, options(ExtractionMode::AppendWeek)),
              QDate(2010, 12, 27));
    EXPECT_EQ(column(table, 0),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(table.cell(1, 9), "2011.01.03");
}

TEST(Extraction, an_error_in_the_row_loop_keeps_complete_rows_and_leaves_no_half_row) {
    EventTable table = titledTable();
    EXPECT_THROW(extractEvents(page("fails-on-bad-day"), table, options()), Error);
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.cell(6, 1), " Building Approvals (MoM)");
    EXPECT_EQ(table.fixedRowCount(), 0);
}

TEST(Extraction, a_page_without_a_date_fails_before_any_row_is_appended) {
    EventTable table = titledTable();
    extractEvents(page("normal-week"), table, options());
    EXPECT_THROW(
        extractEvents(page("fails-without-page-date"), table, options(ExtractionMode::AppendWeek)),
        Error);
    EXPECT_EQ(table.rowCount(), 6);
    EXPECT_THROW(extractEvents(page("fails-without-page-date"), table, options()), Error);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.row(0), columnTitles());
}

TEST(Extraction, a_page_without_events_leaves_the_title_row_unfixed) {
    EventTable table = titledTable();
    extractEvents(page("no-events"), table, options());
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.fixedRowCount(), 0);
}

TEST(Extraction, the_two_digit_page_year_is_placed_around_the_current_year) {
    const std::string text = "<INPUT id=eco_date_full_date value=01011976 type=hidden>";
    EXPECT_EQ(readPageDate(text, 2026).year(), 1976);
    EXPECT_EQ(readPageDate(text, 2027).year(), 2076);
}

TEST(Extraction, missing_cells_and_markers_read_as_empty) {
    // A name link with nothing around it: no time, currency, importance or value cells.
    const std::string text = "<INPUT id=eco_date_full_date value=24052010 type=hidden>"
                             "<TD class=ec_td_date noWrap>May 24</TD>"
                             "<A class=ec_b_11 href=\"javascript:slide(1)\">Lonely</A>";
    EventTable table = titledTable();
    extractEvents(text, table, options());
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.row(1), (Row{"1", "2010.05.24", "1", "", "", "", " Lonely", "", "", ""}));
}

TEST(Extraction, text_after_marker_stops_at_the_next_tag) {
    EXPECT_EQ(TextAfterMarker("a<b>x>12:30</td>", "x>"), "12:30");
    EXPECT_EQ(TextAfterMarker("x><b>", "x>"), "");
    EXPECT_EQ(TextAfterMarker("x>no tag", "x>"), "");
    EXPECT_EQ(TextAfterMarker("nothing here<", "x>"), "");
}

TEST(Extraction, every_cut_of_a_page_gives_rows_or_a_clear_error) {
    const std::string full = page("holidays");
    EventTable table = titledTable();
    for (size_t length = 0; length <= full.size(); ++length) {
        try {
            extractEvents(std::string_view(full).substr(0, length), table, options());
        } catch (const Error&) {
        }
        for (int r = 1; r < table.rowCount(); ++r)
            ASSERT_EQ(table.cell(0, r), std::to_string(r)) << "cut at " << length;
    }
}

} // namespace
