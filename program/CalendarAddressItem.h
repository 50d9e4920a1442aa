#pragma once

#include <QObject>
#include <QUrl>
#include <functional>

class QAction;

namespace newsbell {

class KeptSettings;
class TForm1;

// "Адрес календаря..." in the main window's menu: asks for the address of the weekly calendar
// page in a dialog, sends both windows there and keeps it for the next start.
class CalendarAddressItem final : public QObject {
    Q_OBJECT
public:
    struct WeekWindow {
        std::function<void(const QUrl& page)> showPage;
        std::function<bool()> running; // a week run is going on
    };
    struct Options {
        KeptSettings* settings = nullptr; // none: the address is not kept
        // The page the windows load for an address; an empty address stands for the built-in
        // calendar.
        std::function<QUrl(const QUrl& address)> pageFor;
        // Told the page both windows were sent to (a feed is read again only while shown).
        std::function<void(const QUrl& page)> pageChanged;
        QUrl address; // the address in use now, as the dialog offers it
    };

    CalendarAddressItem(TForm1& form, WeekWindow week, Options options);

    // Sends both windows to the page of address and keeps it for the next start. A week run
    // keeps its page until it is over; its window loads the new one from the next start.
    void useCalendarAddress(const QUrl& address);

    QAction* action = nullptr;

private:
    void askForAddress();

    TForm1& form_;
    WeekWindow week_;
    Options options_;
};

} // namespace newsbell
