#include "calendar/ICalendarText.h"

#include "calendar/FeedDocument.h"

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

// Calls visit(line, number) for each physical line of text, without its line end.
template <typename Visit> void forEachLine(std::string_view text, Visit visit) {
    qint64 number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        visit(line, ++number);
    }
}

class Preparation {
public:
    explicit Preparation(size_t size) { prepared_.text.reserve(size + size / 16); }

    void addLine(std::string_view line, qint64 number, const QString& source) {
        if (line.empty()) return;
        if (line.size() > longestICalendarLine) {
            prepared_.warnings << feedProblem(
                source, number,
                QStringLiteral("строка длиннее %1 КБ пропущена").arg(longestICalendarLine / 1024));
            return;
        }
        const size_t nameEnd = std::min(line.find_first_of(";:"), line.size());
        const std::string_view name = line.substr(0, nameEnd);
        if (sameName(name, "CATEGORIES")) return addCategories(line);
        const std::string_view value = line.substr(std::min(nameEnd + 1, line.size()));
        if (sameName(name, "END")) return close(value);
        prepared_.text.append(line).append("\n");
        if (sameName(name, "BEGIN")) {
            if (sameName(value, "VEVENT") && !open_.empty() && sameName(open_.back(), "VCALENDAR"))
                prepared_.eventLines.push_back(number);
            open_.emplace_back(value);
        }
    }

    // libical complains on standard error about an END it has no BEGIN for, so such an END is
    // left out; one that skips open components closes them first.
    void close(std::string_view name) {
        for (size_t i = open_.size(); i-- > 0;) {
            if (!sameName(open_[i], name)) continue;
            while (open_.size() > i) {
                prepared_.text.append("END:").append(open_.back()).append("\n");
                open_.pop_back();
            }
            return;
        }
    }

    PreparedICalendar take(qint64 lineCount) {
        prepared_.lineCount = lineCount;
        return std::move(prepared_);
    }

private:
    // One line per value; values are split at commas that no backslash escapes. A plain list
    // libical splits right by itself.
    void addCategories(std::string_view line) {
        const size_t start = valueStart(line);
        const std::string_view head = line.substr(0, start); // name, parameters and ":"
        const std::string_view list = line.substr(start);
        if (!list.empty() && list.find('\\') == list.npos && list.find(",,") == list.npos &&
            list.front() != ',' && list.back() != ',') {
            prepared_.text.append(line).append("\n");
            return;
        }
        size_t from = start;
        for (size_t i = start; i <= line.size(); ++i) {
            if (i < line.size() && line[i] == '\\') {
                ++i;
                continue;
            }
            if (i < line.size() && line[i] != ',') continue;
            if (i > from && head.ends_with(':'))
                prepared_.text.append(head).append(line.substr(from, i - from)).append("\n");
            from = i + 1;
        }
    }

    PreparedICalendar prepared_;
    std::vector<std::string> open_; // names of the components open at this line
};

} // namespace

PreparedICalendar prepareICalendar(QByteArrayView bytes, const QString& source) {
    Preparation prepared(size_t(bytes.size()));
    std::string logical;
    qint64 logicalNumber = 0, count = 0;
    forEachLine(std::string_view(bytes.data(), size_t(bytes.size())),
                [&](std::string_view line, qint64 number) {
                    count = number;
                    if (line.find('\0') != std::string_view::npos)
                        throw feedError(source, number, QStringLiteral("нулевой байт"));
                    if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && logicalNumber > 0) {
                        logical.append(line.substr(1));
                        return;
                    }
                    if (logicalNumber > 0) prepared.addLine(logical, logicalNumber, source);
                    logical.assign(line);
                    logicalNumber = number;
                });
    if (logicalNumber > 0) prepared.addLine(logical, logicalNumber, source);
    return prepared.take(count);
}

qint64 lineHolding(QByteArrayView bytes, qint64 from, std::string_view first,
                   std::string_view second) {
    qint64 found = 0;
    forEachLine(std::string_view(bytes.data(), size_t(bytes.size())),
                [&](std::string_view line, qint64 number) {
                    if (found == 0 && number >= from && line.find(first) != line.npos &&
                        line.find(second) != line.npos)
                        found = number;
                });
    return found > 0 ? found : from;
}

} // namespace newsbell
