// Any page text must give rows or a clear error, and the table text file built from the rows
// must hold one line of nine fields per row, whatever the page held. An alert pass over the
// rows gives one-line messages whose only tags are the message's own.
#include "base/Convert.h"
#include "base/Error.h"
#include "core/AlertPass.h"
#include "core/Extraction.h"
#include "core/TableTextFile.h"

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

// Tags of a message: date, name and value lines always; importance and timing when present.
void checkAlerts(const EventTable& table) {
    if (table.rowCount() < 2) return;
    const QDate today =
        QDate::fromString(QString::fromLatin1(table.cell(1, 1)), QStringLiteral("yyyy.MM.dd"));
    if (!today.isValid()) return;
    AlertSettings everything;
    everything.leadHours = "23";
    everything.leadMinutes = "59";
    everything.afterMinutes = "59:59";
    const QTime noon(12, 0);
    runAlertPass(table, everything, today, noon, [&](const DueAlert& alert) {
        const Row& row = table.row(alert.row);
        const bool importance = row[5] == "1" || row[5] == "2" || row[5] == "3";
        const bool timing =
            readTime(row[3])->msecsSinceStartOfDay() / 1000 != noon.msecsSinceStartOfDay() / 1000;
        const auto tags = size_t(std::count(alert.message.begin(), alert.message.end(), '<'));
        check(tags == 8 + (importance ? 4 : 0) + (timing ? 3 : 0));
        check(alert.message.find_first_of("\r\n") == std::string::npos);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    EventTable table;
    table.writeTitles();
    ExtractionOptions options(2026);
    for (ExtractionMode mode : {ExtractionMode::FreshTable, ExtractionMode::AppendWeek}) {
        options.mode = mode;
        try {
            extractEvents(page, table, options);
        } catch (const Error&) {
        }
        checkTable(table);
        checkAlerts(table);
    }
    return 0;
}
