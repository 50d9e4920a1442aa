#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>

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
};

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
