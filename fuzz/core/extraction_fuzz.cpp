// Any page text must give rows or a clear error, and the table text file built from the rows
// must hold one line of nine fields per row, whatever the page held.
#include "app/core/Extraction.h"
#include "app/core/TableTextFile.h"
#include "base/Error.h"

#include <algorithm>
#include <cstdlib>

using namespace newsbell;

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void checkTable(const EventTable& table) {
    for (int r = 1; r < table.rowCount(); ++r) check(table.cell(0, r) == std::to_string(r));
    const std::string text = tableText(table);
    size_t lines = 0;
    for (size_t start = 0; start < text.size(); ++lines) {
        size_t end = text.find("\r\n", start);
        check(end != std::string::npos);
        std::string_view line(text.data() + start, end - start);
        check(std::count(line.begin(), line.end(), ';') == 8);
        check(line.find_first_of("\r\n") == std::string_view::npos);
        start = end + 2;
    }
    check(lines == size_t(table.rowCount() - 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    EventTable table;
    table.writeTitles();
    ExtractionOptions options;
    options.currentYear = 2026;
    for (ExtractionMode mode : {ExtractionMode::FreshTable, ExtractionMode::AppendWeek}) {
        options.mode = mode;
        try {
            extractEvents(page, table, options);
        } catch (const Error&) {
        }
        checkTable(table);
    }
    return 0;
}
