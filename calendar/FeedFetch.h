#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <atomic>
#include <chrono>
#include <optional>

namespace newsbell {

// Validators of the copy at hand, sent so that a server need not send an unchanged feed again.
struct FeedValidators {
    QString etag;
    QString lastModified;
};

// What one read of a feed's source gave.
struct FetchedFeed {
    enum Status { Fresh, Unchanged, Failed } status = Failed;
    QByteArray body;           // Fresh
    FeedValidators validators; // Fresh: for the next read
    QString error;             // Failed: why, for the user
    QString retryAfter;        // Failed with 429 or 503: the server's Retry-After, if any
};

// When a server that answered 429 or 503 with retryAfter ("120", or an HTTP date) may be asked
// again, from now; nothing when the header says nothing readable. A wait longer than a day is
// held to a day, so that a wrong header cannot stop the feed for good.
std::optional<QDateTime> retryTime(QStringView retryAfter, const QDateTime& now);

// Whether source is an http or https address rather than a file.
bool isWebAddress(const QString& source);

// The source as messages and the page name it: an address without its user name and password.
QString sourceName(const QString& source);

// A remote read ends this long after it began, whatever the server does: connecting, headers and
// body, redirects included.
inline constexpr std::chrono::milliseconds feedDeadline = std::chrono::seconds(30);

// Reads source once: an http or https address with a conditional GET (the validators) within
// deadline, its headers within 1 MiB; or a regular file (a FIFO, a device or a folder is refused
// at once). Neither is read past the bound on a document's size. cancel, set from another thread,
// ends a download early.
FetchedFeed fetchFeed(const QString& source, const FeedValidators& validators,
                      std::chrono::milliseconds deadline = feedDeadline,
                      const std::atomic<bool>* cancel = nullptr);

} // namespace newsbell
