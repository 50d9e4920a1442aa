// Every folder under pages/ is one case: page1.html, page2.html, ... (saved page texts, cp1251)
// read as one run, beside the table text file, the whole grid or the error they must give.
#include "base/Error.h"
#include "core/Extraction.h"
#include "core/TableTextFile.h"
#include "tests/support/FileBytes.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace newsbell;
using newsbell::testing::readFileBytes;

namespace {

std::vector<fs::path> pagesOf(const fs::path& folder) {
    std::vector<fs::path> pages;
    for (int n = 1; fs::exists(folder / ("page" + std::to_string(n) + ".html")); ++n)
        pages.push_back(folder / ("page" + std::to_string(n) + ".html"));
    return pages;
}

std::vector<std::string> caseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(PAGES_DIR))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Writes what the run gave beside the expectation, so a failing case can be diffed.
void keepActual(const fs::path& expected, const std::string& actual) {
    std::ofstream(fs::path(::testing::TempDir()) / (expected.parent_path().filename().string() +
                                                    "-" + expected.filename().string()),
                  std::ios::binary)
        << actual;
}

class GoldenPage : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenPage, gives_the_expected_file_or_error) {
    const fs::path folder = fs::path(PAGES_DIR) / GetParam();
    EventTable table;
    table.writeTitles();
    ExtractionOptions options(2026);
    std::string error;
    try {
        for (const fs::path& page : pagesOf(folder)) {
            extractEvents(readFileBytes(page), table, options);
            options.mode = ExtractionMode::AppendWeek;
        }
    } catch (const Error& e) {
        error = e.what();
    }

    if (fs::exists(folder / "expected-error.txt")) {
        EXPECT_EQ(error, readFileBytes(folder / "expected-error.txt"));
        return;
    }
    ASSERT_EQ(error, "");
    const std::string text = tableText(table);
    if (text != readFileBytes(folder / "expected.txt")) keepActual(folder / "expected.txt", text);
    EXPECT_EQ(text, readFileBytes(folder / "expected.txt"));
    if (fs::exists(folder / "expected-grid.txt")) {
        const std::string grid = gridText(table);
        if (grid != readFileBytes(folder / "expected-grid.txt"))
            keepActual(folder / "expected-grid.txt", grid);
        EXPECT_EQ(grid, readFileBytes(folder / "expected-grid.txt"));
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, GoldenPage, ::testing::ValuesIn(caseNames()), [](const auto& page) {
    std::string name = page.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

} // namespace
