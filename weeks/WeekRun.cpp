#include "weeks/WeekRun.h"

#include "base/DateText.h"
#include "core/Extraction.h"
#include "core/TableTextFile.h"
#include "weeks/WeekScripts.h"

#include <QScopeGuard>
#include <utility>

namespace newsbell {

// Marks the run busy for its lifetime, and tells the listener.
class WeekRun::Busy {
public:
    explicit Busy(WeekRun& run) : run_(run) {
        run_.busy_ = true;
        run_.listener_.busyChanged(true);
    }
    ~Busy() {
        run_.busy_ = false;
        run_.listener_.busyChanged(false);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    WeekRun& run_;
};

WeekRun::WeekRun(WeekPage& page, EventTable& table, WeekRunListener& listener, const Clock& clock)
    : page_(page), table_(table), listener_(listener), clock_(clock) {
    paced_.setSingleShot(true);
    paced_.setTimerType(Qt::PreciseTimer); // never early: the browser would drop the load
    QObject::connect(&paced_, &QTimer::timeout, [this] { paceElapsed(); });
}

void WeekRun::documentComplete() {
    if (!running_) page_.runScript(QString::fromLatin1(initialWeekScript));
}

void WeekRun::start(QDate first, QDate last, const QString& fileName) {
    if (busy_) return;
    first_ = mondayOf(first);
    last_ = mondayOf(last);
    if (first_ > last_) std::swap(first_, last_);
    fileName_ = fileName;
    streamed_ = isStreamOutput(fileName);
    listener_.rangeSet();
    running_ = true;
    table_.resetToTitleRow();
    fileBytes_.clear();
    rowsInFile_ = 1;
    weeksJoined_ = weeksInFile_ = 0;
    fileStale_ = false;
    paced_.stop(); // a week put off for the run before is not asked for
    {
        const Busy busy(*this);
        requestWeek(first_);
    }
    if (deferred_ && running_) processWeeks();
}

void WeekRun::downloadComplete() {
    if (!running_) return;
    // The week just requested may load before the page has answered the script.
    if (requesting_) {
        deferred_ = true;
        return;
    }
    if (busy_) return;             // the week under way is the one loaded
    if (paced_.isActive()) return; // the week is not asked for yet, so this load is not it
    processWeeks();
}

void WeekRun::processWeeks() {
    bool finished = false;
    do {
        const Busy busy(*this);
        finished = processWeek();
    } while (!finished && deferred_ && running_);
    if (finished) listener_.runFinished();
}

bool WeekRun::processWeek() {
    const std::string pageText = page_.bodyHtml();
    ExtractionOptions options(currentYear());
    options.mode = ExtractionMode::AppendWeek;
    options.processEvents = processEvents_;
    const QDate loaded = extractEvents(pageText, table_, options); // fixes the title row too
    const bool lastWeek = loaded == last_ || requested_ == last_;
    writeFile(lastWeek);
    if (lastWeek) {
        running_ = false;
        return true;
    }
    requestWeek(requested_.addDays(7));
    return false;
}

void WeekRun::writeFile(bool lastWeek) {
    const bool whole = fileStale_;
    const size_t kept = whole ? 0 : fileBytes_.size();
    if (whole)
        fileBytes_ = tableText(table_);
    else
        appendTableText(table_, rowsInFile_, fileBytes_);
    // An output that cannot be rewritten takes the join once, whole.
    const bool written = !streamed_ || lastWeek;
    try {
        if (written) writeFileAtomically(fileName_, fileBytes_);
    } catch (...) {
        // The rows stay in the table and go into the file with the next week that is written.
        if (!whole) fileBytes_.resize(kept);
        throw;
    }
    ++weeksJoined_;
    if (written) weeksInFile_ = weeksJoined_;
    rowsInFile_ = table_.rowCount();
    fileStale_ = false;
    listener_.fileWritten(fileBytes_, kept);
}

void WeekRun::requestWeek(QDate monday) {
    requested_ = monday;
    listener_.weekRequested(monday);
    deferred_ = false; // only a load that comes from here on can be this week's
    askForWeek();
}

void WeekRun::askForWeek() {
    const std::chrono::milliseconds delay = page_.navigationDelay();
    if (delay > std::chrono::milliseconds::zero()) {
        paced_.start(delay);
        return;
    }
    requesting_ = true;
    const auto answered = qScopeGuard([this] { requesting_ = false; });
    try {
        page_.runScript(weekScript(requested_));
    } catch (...) {
        deferred_ = false; // whatever loaded was not asked for
        throw;
    }
}

// Nothing called this but the timer, so a failure goes to the listener.
void WeekRun::paceElapsed() {
    if (!running_) return;
    try {
        {
            const Busy busy(*this);
            askForWeek();
        }
        if (deferred_ && running_) processWeeks();
    } catch (const std::exception& failure) {
        listener_.weekFailed(failure);
    }
}

} // namespace newsbell
