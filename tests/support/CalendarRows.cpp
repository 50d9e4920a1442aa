#include "tests/support/CalendarRows.h"

#include "base/Cp1251.h"

namespace newsbell::testing {

QStringList fieldsOf(const CalendarEvent& event) {
    return {event.date.toString(QStringLiteral("yyyy.MM.dd")),
            QString::number(event.date.dayOfWeek() % 7),
            event.time,
            event.currency,
            event.importance ? QString::number(event.importance) : QString(),
            QLatin1Char(' ') + event.name,
            event.actual,
            event.forecast,
            event.previous};
}

std::string tableLines(const std::vector<CalendarEvent>& events) {
    QStringList lines;
    for (const CalendarEvent& event : events) lines << fieldsOf(event).join(QLatin1Char(';'));
    return lines.join(QLatin1Char('\n')).toStdString();
}

std::vector<std::string> fileLines(const std::vector<CalendarEvent>& events) {
    std::vector<std::string> lines;
    for (const CalendarEvent& event : events) {
        if (event.holiday) continue;
        QStringList fields = fieldsOf(event);
        for (QString& field : fields) field.replace(QLatin1Char(';'), QLatin1Char(','));
        lines.push_back(toCp1251(fields.join(QLatin1Char(';'))) + "\r\n");
    }
    return lines;
}

std::string tableFile(const std::vector<CalendarEvent>& events) {
    return joined(fileLines(events));
}

std::vector<std::string> demoWeekLines(QDate monday, const QDateTime& now,
                                       const std::vector<CalendarEvent>& extra) {
    return fileLines(weekEvents(monday, now, extra));
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

std::string rowNumbers(const EventTable& table) {
    std::string numbers;
    for (int row = 1; row < table.rowCount(); ++row)
        numbers.append(row > 1 ? "," : "").append(table.cell(0, row));
    return numbers;
}

FeedZones newYorkInBerlin() {
    return {QTimeZone("Europe/Berlin"), QTimeZone("America/New_York")};
}

} // namespace newsbell::testing
