#pragma once

#include "calendar/FeedFetch.h"

#include <QDateTime>
#include <optional>

namespace newsbell {

// The last good copy of a feed: its bytes, its validators and when it was last read.
struct FeedCopy {
    QByteArray body;
    FeedValidators validators;
    QDateTime readAt;
};

// Copies of feeds kept between runs, one pair of files per source in folder: the bytes, and a
// note of the source, validators, time and a checksum, so that a copy half written is never
// taken for a good one.
class FeedCache {
public:
    explicit FeedCache(QString folder);

    // The user's cache folder for feeds.
    static QString defaultFolder();

    std::optional<FeedCopy> load(const QString& source) const;
    // Replaces the copy of source, each file written beside the old one and renamed over it.
    // Throws Error naming the file when that fails.
    void store(const QString& source, const FeedCopy& copy) const;

private:
    QString fileName(const QString& source, const char* suffix) const;

    QString folder_;
};

} // namespace newsbell
