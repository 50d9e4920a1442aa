#include "calendar/XmlFeedReader.h"

#include "calendar/FeedTime.h"

#include <QXmlStreamReader>
#include <array>
#include <optional>

namespace newsbell {

namespace {

// The children of an event that the table uses.
enum Field { Title, Country, Date, Time, Impact, Forecast, Previous, Actual, FieldCount };

constexpr std::array<QStringView, FieldCount> fieldNames = {
    u"title", u"country", u"date", u"time", u"impact", u"forecast", u"previous", u"actual"};

std::optional<int> fieldOf(QStringView name) {
    for (size_t i = 0; i < fieldNames.size(); ++i)
        if (fieldNames[i] == name) return int(i);
    return std::nullopt;
}

// Up to width digits, at least one; -1 when text holds anything else.
int number(QStringView text, qsizetype width) {
    if (text.isEmpty() || text.size() > width) return -1;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// "MM-DD-YYYY" (one-digit month and day also do).
QDate feedDate(QStringView text) {
    const auto parts = text.split(u'-');
    if (parts.size() != 3 || parts[2].size() != 4) return {};
    const int month = number(parts[0], 2), day = number(parts[1], 2), year = number(parts[2], 4);
    if (month < 0 || day < 0 || year < 1) return {};
    return QDate(year, month, day);
}

// "h:mmam" or "h:mmpm" in any case; an invalid time for any other text.
QTime feedTimeOfDay(QStringView text) {
    if (text.size() < 6) return {};
    const QStringView half = text.right(2);
    const bool am = half.compare(u"am", Qt::CaseInsensitive) == 0;
    if (!am && half.compare(u"pm", Qt::CaseInsensitive) != 0) return {};
    const QStringView clock = text.chopped(2);
    const qsizetype colon = clock.indexOf(u':');
    if (colon < 0 || clock.size() - colon != 3) return {};
    const int hour = number(clock.first(colon), 2), minute = number(clock.mid(colon + 1), 2);
    if (hour < 1 || hour > 12 || minute < 0 || minute > 59) return {};
    return QTime(hour % 12 + (am ? 0 : 12), minute);
}

class XmlFeedReading {
public:
    XmlFeedReading(QByteArrayView bytes, const QString& source, const FeedZones& zones)
        : xml_(QByteArray::fromRawData(bytes.data(), bytes.size())), source_(source),
          zones_(zones) {}

    FeedDocument read() {
        if (xml_.readNextStartElement()) {
            if (xml_.name() != u"weeklyevents")
                throw feedError(
                    source_, xml_.lineNumber(),
                    QStringLiteral("корневой элемент «%1», а не weeklyevents").arg(xml_.name()));
            sawRoot_ = true;
            while (xml_.readNextStartElement()) {
                if (xml_.name() == u"event")
                    readEvent();
                else
                    xml_.skipCurrentElement();
            }
        }
        if (xml_.hasError())
            throw feedError(source_, xml_.lineNumber(),
                            QStringLiteral("XML не читается: ") + xml_.errorString());
        if (!sawRoot_)
            throw feedError(source_, xml_.lineNumber(),
                            QStringLiteral("в документе нет элемента weeklyevents"));
        return FeedDocument(std::move(entries_), nullptr, std::move(warnings_));
    }

private:
    void readEvent() {
        const qint64 line = xml_.lineNumber();
        std::array<std::optional<QString>, FieldCount> fields;
        while (xml_.readNextStartElement()) {
            const std::optional<int> field = fieldOf(xml_.name());
            if (!field) {
                xml_.skipCurrentElement();
                continue;
            }
            QString text = xml_.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            // The first of twice the same field counts.
            if (!fields[size_t(*field)]) fields[size_t(*field)] = std::move(text);
        }
        if (xml_.hasError()) return;
        addEntry(line, fields);
    }

    void addEntry(qint64 line, const std::array<std::optional<QString>, FieldCount>& fields) {
        auto text = [&](Field field) { return fields[field].value_or(QString()); };
        const QDate date = feedDate(text(Date));
        if (!date.isValid()) {
            warnings_ << feedProblem(source_, line,
                                     fields[Date] ? QStringLiteral("событие с датой «%1» пропущено "
                                                                   "(нужен вид ММ-ДД-ГГГГ)")
                                                        .arg(text(Date))
                                                  : QStringLiteral("событие без даты пропущено"));
            return;
        }
        FeedEntry entry;
        entry.order = int(entries_.size());
        const QTime timeOfDay = feedTimeOfDay(text(Time));
        if (timeOfDay.isValid()) {
            entry.timed = true;
            entry.moment = momentOfWallClock(zones_.feed, date, timeOfDay);
            const WallClock local = wallClockAt(zones_.local, entry.moment);
            entry.row.date = local.date;
            entry.row.time = clockText(local.time);
        } else {
            entry.row.date = date;
            entry.row.time = feedCellText(text(Time));
        }
        entry.row.currency = feedCellText(text(Country));
        entry.row.importance = feedImportance(text(Impact));
        entry.row.name = feedCellText(text(Title));
        entry.row.actual = feedCellText(text(Actual));
        entry.row.forecast = feedCellText(text(Forecast));
        entry.row.previous = feedCellText(text(Previous));
        entries_.push_back(std::move(entry));
    }

    QXmlStreamReader xml_;
    const QString& source_;
    const FeedZones& zones_;
    std::vector<FeedEntry> entries_;
    QStringList warnings_;
    bool sawRoot_ = false;
};

} // namespace

FeedDocument readXmlFeed(QByteArrayView bytes, const QString& source, const FeedZones& zones) {
    return XmlFeedReading(bytes, source, zones).read();
}

} // namespace newsbell
