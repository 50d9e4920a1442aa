#include "calendar/JsonFeedReader.h"

#include "calendar/FeedTime.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>

namespace newsbell {

namespace {

// Reads digits at the front of text, exactly count of them; -1 when they are not there.
int digits(QStringView& text, qsizetype count) {
    if (text.size() < count) return -1;
    int value = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    text = text.sliced(count);
    return value;
}

// Takes one of any from the front of text when it stands there.
bool take(QStringView& text, QStringView any) {
    if (text.isEmpty()) return false;
    for (const QChar c : any) {
        if (text.front() == c) {
            text = text.sliced(1);
            return true;
        }
    }
    return false;
}

// "hh:mm", "hh:mm:ss", "hh:mm:ss.fff": seconds of the day; -1 for anything else.
qint64 timeOfDay(QStringView& text) {
    const int hour = digits(text, 2);
    if (hour < 0 || hour > 23 || !take(text, u":")) return -1;
    const int minute = digits(text, 2);
    if (minute < 0 || minute > 59) return -1;
    int second = 0;
    if (take(text, u":")) {
        second = digits(text, 2);
        if (second < 0 || second > 59) return -1;
        // Parts of a second do not change the minute shown.
        if (take(text, u".,")) {
            if (digits(text, 1) < 0) return -1;
            while (digits(text, 1) >= 0) continue;
        }
    }
    return hour * 3600 + minute * 60 + second;
}

// "Z", "+hh:mm", "+hhmm", "+hh" (or "-"), the whole of text: seconds east of UTC.
std::optional<int> offset(QStringView text) {
    if (take(text, u"Zz")) return text.isEmpty() ? std::optional<int>(0) : std::nullopt;
    const bool west = !text.isEmpty() && text.front() == u'-';
    if (!take(text, u"+-")) return std::nullopt;
    const int hours = digits(text, 2);
    int minutes = 0;
    if (!text.isEmpty()) {
        take(text, u":");
        minutes = digits(text, 2);
    }
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || !text.isEmpty())
        return std::nullopt;
    return (west ? -1 : 1) * (hours * 3600 + minutes * 60);
}

// Line numbers of the array's elements, for messages only: the reader does not give them.
std::vector<qint64> elementLines(QByteArrayView bytes) {
    std::vector<qint64> lines;
    qint64 line = 1;
    int depth = 0;
    bool inString = false, escaped = false, expectElement = false;
    for (const char c : bytes) {
        if (c == '\n') ++line;
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (expectElement && depth == 1 && c != ' ' && c != '\t' && c != '\r' && c != '\n' &&
            c != ']') {
            lines.push_back(line);
            expectElement = false;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            ++depth;
            if (depth == 1) expectElement = true;
        } else if (c == ']' || c == '}') {
            --depth;
        } else if (c == ',' && depth == 1) {
            expectElement = true;
        }
    }
    return lines;
}

// Where the parser stopped, as a line number.
qint64 lineAt(QByteArrayView bytes, qsizetype offset) {
    return 1 + bytes.first(std::clamp<qsizetype>(offset, 0, bytes.size())).count('\n');
}

QString parseProblem(QJsonParseError::ParseError error) {
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("объект не закрыт");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("после имени нет «:»");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("массив не закрыт");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("между значениями нет запятой");
    case QJsonParseError::IllegalValue:
        return QStringLiteral("недопустимое значение");
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("документ оборван на числе");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("недопустимое число");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("недопустимая последовательность с «\\»");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("текст не в UTF-8");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("строка не закрыта");
    case QJsonParseError::MissingObject:
        return QStringLiteral("нет объекта или массива");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("слишком глубокая вложенность");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("документ слишком велик");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("лишнее после конца документа");
    case QJsonParseError::NoError:
        break;
    }
    return QStringLiteral("ошибка разбора");
}

// A member as text: a string trimmed, a number in its shortest form; empty for anything else.
QString textOf(QJsonValueConstRef value) {
    if (value.isString()) {
        QString text = value.toString();
        // Most values have no blank to trim.
        if (text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace())) return text;
        return text.trimmed();
    }
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    return {};
}

class JsonFeedReading {
public:
    JsonFeedReading(QByteArrayView bytes, const QString& source, const FeedZones& zones)
        : bytes_(bytes), source_(source), zones_(zones) {}

    FeedDocument read() {
        QJsonParseError error{};
        const QJsonDocument document =
            QJsonDocument::fromJson(QByteArray::fromRawData(bytes_.data(), bytes_.size()), &error);
        if (error.error != QJsonParseError::NoError)
            throw feedError(source_, lineAt(bytes_, error.offset),
                            QStringLiteral("JSON не читается: ") + parseProblem(error.error));
        if (!document.isArray())
            throw feedError(source_, 1, QStringLiteral("лента JSON должна быть массивом событий"));
        const QJsonArray events = document.array();
        entries_.reserve(size_t(events.size()));
        qsizetype index = 0;
        for (const QJsonValueConstRef event : events) readEvent(event, index++);
        return FeedDocument(std::move(entries_), nullptr, std::move(warnings_));
    }

private:
    void readEvent(QJsonValueConstRef value, qsizetype index) {
        if (!value.isObject()) return skip(index, QStringLiteral("элемент ленты не объект"));
        const QJsonObject event = value.toObject();
        FeedEntry entry;
        std::optional<QString> dateText;
        bool titled = false;
        // One pass over the members: a lookup by name goes through them every time, which took
        // more than the rest of the reading together. They come sorted by name, and "title" is
        // the last that the table uses.
        for (auto member = event.constBegin(); member != event.constEnd(); ++member) {
            const QString name = member.key();
            const QJsonValueConstRef field = member.value();
            if (name == u"date") {
                if (field.isString()) dateText = textOf(field);
            } else if (name == u"title") {
                titled = field.isString();
                entry.row.name = feedCellText(textOf(field));
                break;
            } else if (name == u"country") {
                entry.row.currency = feedCellText(textOf(field));
            } else if (name == u"impact") {
                entry.row.importance = feedImportance(textOf(field));
            } else if (name == u"forecast") {
                entry.row.forecast = feedCellText(textOf(field));
            } else if (name == u"previous") {
                entry.row.previous = feedCellText(textOf(field));
            } else if (name == u"actual") {
                entry.row.actual = feedCellText(textOf(field));
            }
        }
        const std::optional<FeedDate> date =
            dateText ? jsonFeedDate(*dateText) : std::optional<FeedDate>();
        if (!date)
            return skip(index, dateText
                                   ? QStringLiteral("событие с датой «%1» пропущено (нужен вид "
                                                    "ГГГГ-ММ-ДДTчч:мм:сс+чч:мм или ГГГГ-ММ-ДД)")
                                         .arg(*dateText)
                                   : QStringLiteral("событие без даты пропущено"));
        if (!titled) return skip(index, QStringLiteral("событие без названия пропущено"));
        entry.order = int(entries_.size());
        if (date->timed) {
            entry.timed = true;
            entry.moment = date->moment;
            const WallClock local = wallClockAt(zones_.local, entry.moment);
            entry.row.date = local.date;
            entry.row.time = clockText(local.time);
        } else {
            entry.row.date = date->date;
            entry.row.time = QStringLiteral("All Day");
        }
        entries_.push_back(std::move(entry));
    }

    void skip(qsizetype index, const QString& problem) {
        if (lines_.empty()) lines_ = elementLines(bytes_);
        const qint64 line = size_t(index) < lines_.size() ? lines_[size_t(index)] : 1;
        warnings_ << feedProblem(source_, line, problem);
    }

    QByteArrayView bytes_;
    const QString& source_;
    const FeedZones& zones_;
    std::vector<FeedEntry> entries_;
    QStringList warnings_;
    std::vector<qint64> lines_; // of the elements, found once a message needs them
};

} // namespace

std::optional<FeedDate> jsonFeedDate(QStringView text) {
    const int year = digits(text, 4);
    const bool dashes = take(text, u"-");
    const int month = digits(text, 2);
    const bool dash = take(text, u"-");
    const int day = digits(text, 2);
    if (year < 1 || month < 0 || day < 0 || !dashes || !dash) return std::nullopt;
    FeedDate date;
    date.date = QDate(year, month, day);
    if (!date.date.isValid()) return std::nullopt;
    if (text.isEmpty()) return date;
    if (!take(text, u"Tt ")) return std::nullopt;
    const qint64 seconds = timeOfDay(text);
    const std::optional<int> east = offset(text);
    if (seconds < 0 || !east) return std::nullopt;
    date.timed = true;
    date.moment = plainSeconds(date.date, QTime(0, 0)) + seconds - *east;
    return date;
}

FeedDocument readJsonFeed(QByteArrayView bytes, const QString& source, const FeedZones& zones) {
    return JsonFeedReading(bytes, source, zones).read();
}

} // namespace newsbell
