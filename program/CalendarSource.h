#pragma once

#include "program/CalendarFeed.h"
#include "program/DataSource.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

namespace newsbell {

class ElidedLabel;

// The calendar both windows show, and their lines about it: the built-in demonstration, a page,
// or a feed served by a built-in calendar of its own and read again while the main window shows
// it. A new choice goes to the main window at once (and so to the alert timer and the tray,
// which read its page from the next load on), and to the week window unless a week run is going
// on there: the run keeps its page, and the feed that serves it, until it ends, and the window
// follows then. A feed goes when no window shows it and no read of it is under way.
class CalendarSource final : public QObject {
    Q_OBJECT
public:
    // A choice with its feed (a feed's choice only), ready to be shown.
    struct Calendar {
        DataSource choice;
        std::shared_ptr<CalendarFeed> feed;
    };
    // A window as the source uses it.
    struct Window {
        std::function<void(const QUrl& page)> showPage;
        ElidedLabel* line = nullptr; // where its data come from, and how fresh they are
        // While true the window keeps its page (a week run); none for a window that never does.
        std::function<bool()> keepsPage;
    };
    // The page of the demonstration, which starts when it is first needed.
    using DemoPage = std::function<QUrl()>;

    // The windows already show shown (pageOf()); mainBrowser is the main window's, which the
    // feed's refresher sends to its page again when the weeks change.
    CalendarSource(Calendar shown, DemoPage demoPage, Window main, Window week,
                   BrowserHost& mainBrowser, ErrorReporter& errors);
    ~CalendarSource() override;

    // The page the windows load for calendar.
    static QUrl pageOf(const Calendar& calendar, const DemoPage& demoPage);

    // The choice the main window shows, as the dialog offers it.
    const DataSource& choice() const { return main_.shown.choice; }
    // Both windows show calendar from now on, the week window once its run is over; nothing
    // changes for the calendar they show already.
    void use(Calendar calendar);
    // Writes both lines anew from what their calendars hold now.
    void updateLines();

private:
    struct Shown {
        Window window;
        Calendar shown;
    };

    void followFeed();
    void catchUpWeekWindow();

    DemoPage demoPage_;
    Shown main_;
    Shown week_;
    BrowserHost& mainBrowser_;
    ErrorReporter& errors_;
    std::unique_ptr<FeedRefresher> refresher_; // of the main window's feed
    QTimer weekRunEnd_;                        // looks for the end of the run that holds a page
};

} // namespace newsbell
