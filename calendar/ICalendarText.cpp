#include "calendar/ICalendarText.h"

#include "base/Error.h"
#include "calendar/FeedDocument.h"

#include <array>

namespace newsbell {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
    return true;
}

// Where the value of a content line starts: after the first ":" outside a quoted parameter.
size_t valueStart(std::string_view line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ':' && !quoted) return i + 1;
    }
    return line.size();
}

// Properties whose times may need a line number in a message.
constexpr std::array<std::string_view, 4> dateProperties = {"DTSTART", "RECURRENCE-ID", "EXDATE",
                                                            "RDATE"};

class Preparation {
public:
    explicit Preparation(size_t size) { out_.reserve(size + size / 8); }

    void addLine(std::string_view line, qint64 number) {
        const size_t nameEnd = std::min(line.find_first_of(";:"), line.size());
        const std::string_view name = line.substr(0, nameEnd);
        if (sameName(name, "CATEGORIES")) return addCategories(line);
        for (std::string_view property : dateProperties) {
            if (!sameName(name, property)) continue;
            out_.append(name).append(";").append(iCalendarLineMark).append("=");
            out_.append(std::to_string(number)).append(line.substr(nameEnd)).append("\n");
            return;
        }
        out_.append(line).append("\n");
        if (sameName(line, "BEGIN:VEVENT"))
            out_.append(iCalendarLineMark).append(":").append(std::to_string(number)).append("\n");
    }

    std::string take() { return std::move(out_); }

private:
    // One line per value; values are split at commas that no backslash escapes.
    void addCategories(std::string_view line) {
        const size_t start = valueStart(line);
        const std::string_view head = line.substr(0, start); // name, parameters and ":"
        size_t from = start;
        for (size_t i = start; i <= line.size(); ++i) {
            if (i < line.size() && line[i] == '\\') {
                ++i;
                continue;
            }
            if (i < line.size() && line[i] != ',') continue;
            if (i > from && head.ends_with(':'))
                out_.append(head).append(line.substr(from, i - from)).append("\n");
            from = i + 1;
        }
    }

    std::string out_;
};

} // namespace

std::string preparedICalendar(QByteArrayView bytes, const QString& source) {
    const std::string_view text(bytes.data(), size_t(bytes.size()));
    Preparation prepared(text.size());
    std::string logical;
    qint64 logicalNumber = 0, number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.find('\0') != std::string_view::npos)
            throw Error(
                feedProblem(source, number, QStringLiteral("нулевой байт в строке")).toStdString());
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && logicalNumber > 0) {
            logical.append(line.substr(1));
            continue;
        }
        if (!logical.empty()) prepared.addLine(logical, logicalNumber);
        logical.assign(line);
        logicalNumber = number;
    }
    if (!logical.empty()) prepared.addLine(logical, logicalNumber);
    return prepared.take();
}

} // namespace newsbell
