#pragma once

#include "calendar/FeedCalendar.h"

#include <QString>
#include <QUrl>

namespace newsbell {

// Where the windows' calendar comes from, as chosen in "Источник данных...": the built-in
// demonstration, a weekly calendar page, or a feed that the built-in calendar serves. Each kind
// keeps its fields while another is in use, so that the dialog offers them again.
struct DataSource {
    enum Kind { Demo, Page, Feed };

    Kind kind = Demo;
    QUrl page;    // Page: the weekly calendar page
    QString feed; // Feed: an http or https address, or a file by its absolute path
    QString feedZone = QStringLiteral("UTC"); // the zone of the weekly XML feed's clock
    QString tableZone;                        // the table's zone; empty for the computer's

    bool operator==(const DataSource& other) const = default;
    // Whether both give the windows the same calendar, whatever the other kinds' fields hold.
    bool sameCalendar(const DataSource& other) const;
};

// What is wrong with a typed page address, or an empty text when it will do: an http, https or
// file address.
QString pageAddressProblem(const QString& typed);
// The address of a typed page without a problem.
QUrl pageAddress(const QString& typed);

// What is wrong with a typed feed, or an empty text when it will do: an http or https address,
// or a file (a file:// address names one too).
QString feedSourceProblem(const QString& typed);
// The feed a typed text without a problem names: the address, or the file by its absolute path.
QString feedSource(const QString& typed);

// What is wrong with a typed zone name (a tz database name such as Europe/Berlin), or an empty
// text when it will do; field names the field in the text.
QString zoneProblem(const QString& typed, const QString& field);

// The first problem of a choice, or an empty text when it will do.
QString dataSourceProblem(const DataSource& source);

// The feed settings of a choice of a feed: its zones, the computer's for an empty table zone.
FeedSettings feedSettings(const DataSource& source);

// A page's address as the lines show it: without a user name or password.
QString pageName(const QUrl& page);
// The line a window shows about the demonstration or a page: "Демонстрационный календарь",
// "Страница: <адрес>".
QString sourceLine(const DataSource& source);
// The line about a feed: where it comes from (an address without its user name or password) and
// how fresh its weeks are, by the clock of zone: "Лента: <адрес>, прочитана 07.12 19:27", or
// "..., копия от 07.12 18:02: <причина> (с 07.12 18:07)" while its source fails.
QString feedLine(const QString& source, const QTimeZone& zone, const FeedFreshness& freshness);

} // namespace newsbell
