#include "tests/support/GuiTestSupport.h"

#include "base/Cp1251.h"
#include "base/Error.h"

#include <stdexcept>

namespace newsbell::testing {

std::string FakeBrowser::bodyHtml() {
    if (onRead) onRead();
    if (!failure.empty()) throw Error(failure);
    if (page.empty()) throw Error("no page");
    return page;
}

void FakeBrowser::runScript(const QString& code, const QString& language) {
    if (language != "JavaScript") throw Error("not JavaScript");
    scripts.push_back(code);
    if (onScript) onScript(code);
}

std::optional<LoadFailure> FakeBrowser::loadFailure() const {
    if (loaded) return std::nullopt;
    return LoadFailure{visited.empty() ? QUrl() : visited.back(), failedBecause};
}

void FakeBrowser::finishLoad() {
    stillLoading = false;
    emit downloadComplete();
    emit documentComplete();
}

void RecordingMessages::showMessage(const QString& text) {
    shown.push_back(text);
    if (whileShown) whileShown();
}

std::optional<QString> ScriptedFileChooser::chooseFileToSave(QWidget*, const QString& startPath) {
    startPaths.push_back(startPath);
    if (answers.empty()) throw std::logic_error("the test gave the save dialog no answer");
    const QString answer = answers.front();
    answers.pop_front();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
}

QStringList fieldsOf(const CalendarEvent& event) {
    return {event.date.toString("yyyy.MM.dd"),
            QString::number(event.date.dayOfWeek() % 7),
            event.time,
            event.currency,
            QString::number(event.importance),
            " " + event.name,
            event.actual,
            event.forecast,
            event.previous};
}

std::vector<std::string> demoWeekLines(QDate monday, const QDateTime& now,
                                       const std::vector<CalendarEvent>& extra) {
    std::vector<std::string> lines;
    for (const CalendarEvent& event : weekEvents(monday, now, extra)) {
        if (event.holiday) continue; // a note without a link is no event
        QStringList fields = fieldsOf(event);
        for (QString& field : fields) field.replace(';', ',');
        lines.push_back(toCp1251(fields.join(';')) + "\r\n");
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

std::string rowNumbers(const EventTable& table) {
    std::string numbers;
    for (int row = 1; row < table.rowCount(); ++row)
        numbers += (row > 1 ? "," : "") + table.cell(0, row);
    return numbers;
}

} // namespace newsbell::testing
