#include "program/CalendarSource.h"

#include "calendar/FeedFetch.h"
#include "widgets/ElidedLabel.h"

namespace newsbell {

namespace {

// How often a week window that keeps its page is looked at: the run's end is not told.
constexpr std::chrono::seconds runEndLookup{1};

// Red while the source fails. Only the text's colour is set, through the palette: a style sheet
// would cost the line the window's font.
void showFailing(QWidget* line, bool failing) {
    QPalette colours;
    if (failing) colours.setColor(QPalette::WindowText, QColor(0xb0, 0, 0));
    line->setPalette(colours);
}

// The address gives way first where the line is too long: its freshness matters more.
void showLine(ElidedLabel* line, const CalendarSource::Calendar& calendar) {
    if (!line) return;
    if (!calendar.feed) {
        line->setText(sourceLine(calendar.choice));
        line->setShortenFirst(pageName(calendar.choice.page));
        showFailing(line, false);
        return;
    }
    const FeedSettings& settings = calendar.feed->settings();
    const FeedFreshness freshness = calendar.feed->freshness();
    line->setText(feedLine(settings.source, settings.zones.local, freshness));
    line->setShortenFirst(sourceName(settings.source));
    showFailing(line, !freshness.failure.isEmpty());
}

} // namespace

CalendarSource::CalendarSource(Calendar shown, DemoPage demoPage, Window main, Window week,
                               BrowserHost& mainBrowser, ErrorReporter& errors)
    : demoPage_(std::move(demoPage)), main_{std::move(main), shown}, week_{std::move(week), shown},
      mainBrowser_(mainBrowser), errors_(errors) {
    // The lines follow the loads: a feed's page waits for its first read.
    connect(&mainBrowser_, &BrowserHost::documentComplete, this, &CalendarSource::updateLines);
    weekRunEnd_.setInterval(runEndLookup);
    connect(&weekRunEnd_, &QTimer::timeout, this, &CalendarSource::catchUpWeekWindow);
    followFeed();
    updateLines();
}

CalendarSource::~CalendarSource() = default;

QUrl CalendarSource::pageOf(const Calendar& calendar, const DemoPage& demoPage) {
    if (calendar.feed) return QUrl(calendar.feed->server().url());
    if (calendar.choice.kind == DataSource::Page) return calendar.choice.page;
    return demoPage();
}

void CalendarSource::use(Calendar calendar) {
    // The same calendar again keeps its page and its feed; the other kinds' fields are taken.
    if (calendar.choice.sameCalendar(main_.shown.choice)) {
        main_.shown.choice = calendar.choice;
        return;
    }
    main_.shown = std::move(calendar);
    followFeed();
    main_.window.showPage(pageOf(main_.shown, demoPage_));
    catchUpWeekWindow();
    updateLines();
}

void CalendarSource::followFeed() {
    refresher_.reset();
    if (!main_.shown.feed) return;
    refresher_ = std::make_unique<FeedRefresher>(main_.shown.feed, mainBrowser_, errors_,
                                                 pageOf(main_.shown, demoPage_));
    connect(refresher_.get(), &FeedRefresher::readFinished, this, &CalendarSource::updateLines);
}

void CalendarSource::catchUpWeekWindow() {
    if (week_.shown.choice.sameCalendar(main_.shown.choice) &&
        week_.shown.feed == main_.shown.feed) {
        weekRunEnd_.stop();
        return;
    }
    if (week_.window.keepsPage && week_.window.keepsPage()) {
        weekRunEnd_.start();
        return;
    }
    weekRunEnd_.stop();
    week_.shown = main_.shown; // the calendar it showed goes unless the main window shows it
    week_.window.showPage(pageOf(week_.shown, demoPage_));
    updateLines();
}

void CalendarSource::updateLines() {
    showLine(main_.window.line, main_.shown);
    showLine(week_.window.line, week_.shown);
}

} // namespace newsbell
