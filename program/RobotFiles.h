#pragma once

#include "program/RobotFilesSettings.h"

#include <QObject>
#include <QTimer>

namespace newsbell {

class Clock;
class ErrorReporter;
class TForm1;

// Keeps the robots' files fresh in the chosen folder while switched on: newsbell_week.txt, the
// table text file of the main window's table (the bytes "Сохранение таблицы в текстовом файле"
// writes), after every extraction; newsbell_gate.txt, the news gate over that table with the
// window's currency boxes, after every extraction and at the start of every minute. Each file is
// replaced whole, and only when its bytes change, so that a robot watching a file's time sees a
// change only when there is one. Nothing is written before an extraction has succeeded, nor
// after one fails until the next succeeds: the files keep their last good content, and their
// time tells its age. A write that fails is told once, not again until a write has succeeded.
class RobotFilesWriter final : public QObject {
    Q_OBJECT
public:
    RobotFilesWriter(TForm1& form, const Clock& clock, ErrorReporter& errors);

    const RobotFilesSettings& settings() const { return settings_; }
    // Writes at once with the new settings when the table holds a good extraction.
    void setSettings(const RobotFilesSettings& settings);
    bool hasGoodTable() const { return goodTable_; }

    // The minute's rewrite of the gate, at the clock's moment.
    void writeGate();

private:
    void extractionDone(bool succeeded);
    void writeFiles(bool withWeek);
    void waitForNextMinute();

    TForm1& form_;
    const Clock& clock_;
    ErrorReporter& errors_;
    RobotFilesSettings settings_;
    QTimer minute_;
    bool goodTable_ = false;
    bool failing_ = false;
};

} // namespace newsbell
