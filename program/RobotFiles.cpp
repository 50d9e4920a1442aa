#include "program/RobotFiles.h"

#include "base/Clock.h"
#include "core/TableTextFile.h"
#include "mainwindow/TForm1.h"
#include "widgets/ErrorReporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace newsbell {

namespace {

constexpr int msecsPerMinute = 60000;

// Replaces fileName with bytes unless it holds them already.
void replaceWhenChanged(const QString& fileName, const std::string& bytes) {
    QFile file(fileName);
    // Only a regular file is read back: opening a FIFO to read would wait for a writer.
    if (QFileInfo(fileName).isFile() && file.size() == qint64(bytes.size()) &&
        file.open(QIODevice::ReadOnly) && file.readAll() == QByteArrayView(bytes))
        return;
    writeFileAtomically(fileName, bytes);
}

} // namespace

RobotFilesWriter::RobotFilesWriter(TForm1& form, const Clock& clock, ErrorReporter& errors)
    : form_(form), clock_(clock), errors_(errors) {
    minute_.setSingleShot(true);
    // A coarse timer may fire seconds early; the gate changes state on the minute.
    minute_.setTimerType(Qt::PreciseTimer);
    connect(&minute_, &QTimer::timeout, this, [this] {
        waitForNextMinute();
        writeGate();
    });
    connect(&form_, &TForm1::extractionDone, this, &RobotFilesWriter::extractionDone);
}

void RobotFilesWriter::setSettings(const RobotFilesSettings& settings) {
    settings_ = settings;
    failing_ = false; // a new folder or a new try deserves its own message
    if (settings_.enabled)
        waitForNextMinute();
    else
        minute_.stop();
    writeFiles(true);
}

void RobotFilesWriter::extractionDone(bool succeeded) {
    goodTable_ = succeeded;
    writeFiles(true);
}

void RobotFilesWriter::writeGate() {
    writeFiles(false);
}

void RobotFilesWriter::waitForNextMinute() {
    minute_.start(msecsPerMinute - clock_.now().time().msecsSinceStartOfDay() % msecsPerMinute);
}

void RobotFilesWriter::writeFiles(bool withWeek) {
    // A minute's tick may come while an extraction is rebuilding the table.
    if (!settings_.enabled || settings_.folder.isEmpty() || !goodTable_ || form_.isExtracting())
        return;
    const QDir folder(settings_.folder);
    const EventTable& table = form_.table();
    GateSettings gate = settings_.gate;
    gate.currencies = form_.alertSettings().currencies;
    const QDateTime now = clock_.now();
    try {
        if (withWeek)
            replaceWhenChanged(folder.filePath(QLatin1String(weekFileName)), tableText(table));
        replaceWhenChanged(folder.filePath(QLatin1String(gateFileName)),
                           gateFileText(table, gate, now.date(), now.time()));
        failing_ = false;
    } catch (const std::exception& failure) {
        if (failing_) return;
        failing_ = true;
        // Shown once the extraction or the tick is over: a message box waiting for the user
        // here would hold up the alert pass that called.
        const QString message = QString::fromUtf8("Файлы для советников не записаны: ") +
                                QString::fromUtf8(failure.what());
        QTimer::singleShot(0, this, [this, message] { errors_.report(message); });
    }
}

} // namespace newsbell
