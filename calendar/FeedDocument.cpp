#include "calendar/FeedDocument.h"

#include "base/Error.h"
#include "calendar/ICalendarReader.h"
#include "calendar/JsonFeedReader.h"
#include "calendar/XmlFeedReader.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <optional>

namespace newsbell {

namespace {

// Day by day; untimed rows first in feed order, then timed ones by moment, feed order on ties.
bool pageOrder(const FeedEntry& a, const FeedEntry& b) {
    if (a.row.date != b.row.date) return a.row.date < b.row.date;
    if (a.timed != b.timed) return !a.timed;
    if (a.timed && a.moment != b.moment) return a.moment < b.moment;
    return a.order < b.order;
}

// Sorts entries into page order. Rows are large: their places are sorted, and each row is then
// moved once, in place (a second vector of rows, freed at once, costs more than the sort); a
// feed in page order already is left as it is.
void sortIntoPageOrder(std::vector<FeedEntry>& entries) {
    if (std::is_sorted(entries.begin(), entries.end(), pageOrder)) return;
    std::vector<quint32> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = quint32(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](quint32 a, quint32 b) { return pageOrder(entries[a], entries[b]); });
    // order[k] is the row that belongs at k: each cycle of places is followed once.
    for (size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start) continue;
        FeedEntry held = std::move(entries[start]);
        size_t place = start;
        while (order[place] != start) {
            const size_t from = order[place];
            entries[place] = std::move(entries[from]);
            order[place] = quint32(place);
            place = from;
        }
        entries[place] = std::move(held);
        order[place] = quint32(place);
    }
}

// The format, and whether the document is UTF-16 with a byte-order mark.
struct Recognised {
    std::optional<FeedFormat> format;
    bool utf16 = false;
};

Recognised recognise(QByteArrayView bytes) {
    QByteArrayView start = bytes.first(std::min<qsizetype>(bytes.size(), 256));
    QString head;
    bool utf16 = false;
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF")) {
        head = QStringDecoder(QStringDecoder::Utf16).decode(start);
        utf16 = true;
    } else {
        head = QString::fromUtf8(start);
    }
    qsizetype i = head.startsWith(QChar(0xFEFF)) ? 1 : 0;
    while (i < head.size() && QStringView(u" \t\r\n").contains(head[i])) ++i;
    const QStringView text = QStringView(head).mid(i);
    if (text.startsWith(u"BEGIN:VCALENDAR")) return {FeedFormat::ICalendar, utf16};
    if (text.startsWith(u'<')) return {FeedFormat::Xml, utf16};
    if (text.startsWith(u'[') || text.startsWith(u'{')) return {FeedFormat::Json, utf16};
    return {};
}

// Weeks kept at most: a run over a few years' weeks, each asked for once, starts over.
constexpr size_t mostKeptWeeks = 64;

} // namespace

FeedDocument::FeedDocument(std::vector<FeedEntry> entries,
                           std::shared_ptr<const LaterEntries> later, QStringList warnings)
    : entries_(std::move(entries)), later_(std::move(later)), warnings_(std::move(warnings)),
      weeks_(std::make_shared<WeekCache>()) {
    // Sorted once here, so that a week's page takes its rows by lookup.
    sortIntoPageOrder(entries_);
    // A file of a thousand broken events is told in a few lines.
    if (warnings_.size() > mostWarnings) {
        const qsizetype more = warnings_.size() - mostWarnings;
        warnings_.resize(mostWarnings);
        warnings_ << QStringLiteral("…и ещё сообщений о событиях: %1").arg(more);
    }
}

struct FeedDocument::WeekCache {
    std::mutex mutex;
    std::map<QDate, std::vector<FeedEntry>> weeks;
};

std::vector<FeedEntry> FeedDocument::workOutWeek(QDate monday) const {
    const QDate sunday = monday.addDays(6);
    const auto dateOf = [](const FeedEntry& entry) { return entry.row.date; };
    const auto first = std::ranges::lower_bound(entries_, monday, {}, dateOf);
    std::vector<FeedEntry> rows(
        first, std::ranges::upper_bound(first, entries_.end(), sunday, {}, dateOf));
    if (!later_) return rows;
    {
        const std::lock_guard lock(weeks_->mutex);
        const auto kept = weeks_->weeks.find(monday);
        if (kept != weeks_->weeks.end()) return kept->second;
    }
    const size_t sorted = rows.size();
    later_->addEntries(monday, sunday, rows);
    if (rows.size() > sorted) sortIntoPageOrder(rows);
    const std::lock_guard lock(weeks_->mutex);
    if (weeks_->weeks.size() >= mostKeptWeeks) weeks_->weeks.clear();
    weeks_->weeks.emplace(monday, rows);
    return rows;
}

std::vector<CalendarEvent> FeedDocument::week(QDate monday) const {
    const std::vector<FeedEntry> rows = workOutWeek(monday);
    std::vector<CalendarEvent> events;
    events.reserve(rows.size());
    // Link numbers differ from week to week, as on the provider's pages.
    const int firstId = int(monday.toJulianDay() % 100000) * 1000;
    for (const FeedEntry& entry : rows) {
        events.push_back(entry.row);
        events.back().id = firstId + int(events.size()) - 1;
    }
    return events;
}

bool FeedDocument::hasEvents() const {
    return !entries_.empty() || (later_ && !later_->isEmpty());
}

FeedText feedText(QByteArrayView bytes, const QString& source, qsizetype largest) {
    if (bytes.size() > largest)
        throw Error(QStringLiteral("%1: документ больше %2 МБ, такие не читаются")
                        .arg(source, QString::number(largest / (1024 * 1024)))
                        .toStdString());
    const Recognised recognised = recognise(bytes);
    if (!recognised.format)
        throw Error(QStringLiteral("%1: это не календарь iCalendar (BEGIN:VCALENDAR), не "
                                   "XML-лента (начало «<») и не лента JSON (начало «[»)")
                        .arg(source)
                        .toStdString());
    // The XML reader tells encodings itself; libical and the JSON reader take UTF-8 only.
    if (*recognised.format != FeedFormat::Xml && recognised.utf16)
        return {*recognised.format,
                QString(QStringDecoder(QStringDecoder::Utf16).decode(bytes)).toUtf8()};
    return {*recognised.format, QByteArray::fromRawData(bytes.data(), bytes.size())};
}

FeedDocument readFeedDocument(QByteArrayView bytes, const QString& source, const FeedZones& zones) {
    const FeedText text = feedText(bytes, source);
    switch (text.format) {
    case FeedFormat::Xml:
        return readXmlFeed(text.text, source, zones);
    case FeedFormat::Json:
        return readJsonFeed(text.text, source, zones);
    case FeedFormat::ICalendar:
        break;
    }
    return readICalendar(text.text, source, zones);
}

QString feedCellText(QString text) {
    // Letters cp1251 lacks stay: the page shows them, and the conversion of its text to cp1251
    // writes them as their base letters.
    const auto changes = [](char16_t c) {
        return c <= u';' ? c == u';' || c == u'\r' || c == u'\n' || c == u'\t' : c == 0xA0;
    };
    // Most texts need nothing, and keep their storage.
    const char16_t* characters = reinterpret_cast<const char16_t*>(text.constData());
    if (std::none_of(characters, characters + text.size(), changes)) return text;
    for (QChar& c : text)
        if (changes(c.unicode())) c = c == u';' ? u',' : u' ';
    return text;
}

QString clockText(QTime time) {
    // Made once and shared: every timed row of every feed takes one.
    static const std::array<QString, 24 * 60> texts = [] {
        std::array<QString, 24 * 60> made;
        for (size_t minute = 0; minute < made.size(); ++minute) {
            const char16_t digits[] = {
                char16_t(u'0' + minute / 600), char16_t(u'0' + minute / 60 % 10), u':',
                char16_t(u'0' + minute % 60 / 10), char16_t(u'0' + minute % 10)};
            made[minute] = QString(reinterpret_cast<const QChar*>(digits), 5);
        }
        return made;
    }();
    return texts[size_t(time.hour() * 60 + time.minute())];
}

int feedImportance(QStringView word) {
    static constexpr std::array<std::string_view, 3> words = {"low", "medium", "high"};
    // ASCII letters in any case, compared here: Qt's comparison in any case costs more than the
    // rest of a row.
    const auto sameWord = [&](std::string_view lower) {
        if (word.size() != qsizetype(lower.size())) return false;
        for (size_t i = 0; i < lower.size(); ++i)
            if ((word[qsizetype(i)].unicode() | 0x20) != lower[i]) return false;
        return true;
    };
    for (size_t i = 0; i < words.size(); ++i)
        if (sameWord(words[i])) return int(i) + 1;
    return 0;
}

QString feedProblem(const QString& source, qint64 line, const QString& problem) {
    // At once: a source or problem holding "%2" must stay as it is.
    return QStringLiteral("%1, строка %2: %3").arg(source, QString::number(line), problem);
}

Error feedError(const QString& source, qint64 line, const QString& problem) {
    return Error(feedProblem(source, line, problem).toStdString());
}

} // namespace newsbell
