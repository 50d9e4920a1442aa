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

// When a remote feed was last asked for, and what came of it, so that every run of the program
// keeps to the pace the server may be asked at.
struct FeedPace {
    QDateTime askedAt;      // the last read, good or failed; null when none is known
    QDateTime notBefore;    // the server asked not to be asked before; null when it did not
    QString failure;        // why the last read failed; empty after a good one
    QDateTime failingSince; // the first failed read after the last good one
};

// Copies of feeds kept between runs in folder, two files per source: the bytes, named by their
// checksum, and a note of the source, validators, time and that checksum. The note is replaced
// last, so a copy is replaced as one: a run stopped at any point leaves the old copy or the new
// one, never a half written one, and a body that does not match its note counts as no copy. A
// remote source has a third file, its pace. File names start with a hash of the source.
class FeedCache {
public:
    explicit FeedCache(QString folder);

    // The user's cache folder for feeds.
    static QString defaultFolder();

    std::optional<FeedCopy> load(const QString& source) const;
    // Replaces the copy of source, each file written beside the old one and renamed over it,
    // and removes the source's other files. Throws Error naming the file when that fails.
    void store(const QString& source, const FeedCopy& copy) const;

    // The pace of source: kept beside its copy, and written even when there is no copy.
    FeedPace pace(const QString& source) const;
    // Throws Error naming the file when it cannot be kept.
    void keepPace(const QString& source, const FeedPace& pace) const;

private:
    QString prefix(const QString& source) const;
    QString noteName(const QString& source) const;
    QString paceName(const QString& source) const;
    QString bodyName(const QString& source, const QString& sum) const;
    QString path(const QString& name) const;
    void makeFolder() const;
    void removeOthers(const QString& source, const QString& body) const;

    QString folder_;
};

} // namespace newsbell
