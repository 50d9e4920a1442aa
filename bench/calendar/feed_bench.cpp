// Reading feeds against the bare parsers underneath, on the same documents in one run: a
// 10,000-event iCalendar file against libical's parser alone, a 2,000-event weekly XML feed
// against a plain QXmlStreamReader loop, and the same events as the weekly JSON feed against
// QJsonDocument's parse alone; and the iCalendar file with 20 events that repeat every second for
// 68 years against the file without them, read and a week served. Prints the ratios.
//   feed_bench [benchmark flags]
#include "bench/RatioRuns.h"
#include "calendar/ICalendarReader.h"
#include "calendar/JsonFeedReader.h"
#include "calendar/XmlFeedReader.h"

#include <QJsonDocument>
#include <QXmlStreamReader>
#include <benchmark/benchmark.h>
#include <libical/ical.h>

using namespace newsbell;

namespace {

constexpr int icalendarEvents = 10000;
constexpr int xmlEvents = 2000;

const char* const currencies[] = {"USD", "EUR", "GBP", "JPY", "CHF", "AUD", "CAD", "NZD"};
const char* const impacts[] = {"High", "Medium", "Low", "Holiday"};

const FeedZones& zones() {
    static const FeedZones berlinAndNewYork{QTimeZone("Europe/Berlin"),
                                            QTimeZone("America/New_York")};
    return berlinAndNewYork;
}

// Events over a year, in the mix real calendars have: zoned and UTC times, whole days, currency
// by category or by the summary's prefix, now and then a long folded line.
const QByteArray& icalendarDocument() {
    static const QByteArray document = [] {
        QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//newsbell bench//EN\r\n";
        for (int i = 0; i < icalendarEvents; ++i) {
            const QDate day = QDate(2024, 1, 1).addDays(i % 366);
            const QByteArray date = day.toString(QStringLiteral("yyyyMMdd")).toLatin1();
            const char* currency = currencies[i % 8];
            text += "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i) + "@bench\r\n";
            text += "DTSTAMP:20240101T000000Z\r\n";
            if (i % 10 == 0)
                text += "DTSTART;VALUE=DATE:" + date + "\r\n";
            else if (i % 3 == 0)
                text += "DTSTART:" + date + "T123000Z\r\n";
            else
                text += "DTSTART;TZID=America/New_York:" + date + "T083000\r\n";
            if (i % 2 == 0) {
                text += QByteArray("SUMMARY:") + currency + " Indicator number " +
                        QByteArray::number(i) + " (m/m)\r\n";
                text += QByteArray("CATEGORIES:") + impacts[i % 4] + "\r\n";
            } else {
                text += "SUMMARY:Indicator number " + QByteArray::number(i) +
                        "\\, revised\\; final\r\n";
                text += QByteArray("CATEGORIES:") + currency + "," + impacts[i % 4] + "\r\n";
            }
            if (i % 25 == 0)
                text += "DESCRIPTION:A longer note that runs past the seventy-five octets a line "
                        "may\r\n  hold\\, so it is folded onto the next line.\r\n";
            text += "END:VEVENT\r\n";
        }
        return text + "END:VCALENDAR\r\n";
    }();
    return document;
}

// The same file with 20 events more, each every second from January on, without end in sight.
const QByteArray& secondlyDocument() {
    static const QByteArray document = [] {
        QByteArray text = icalendarDocument();
        text.chop(int(qstrlen("END:VCALENDAR\r\n")));
        for (int i = 0; i < 20; ++i)
            text += "BEGIN:VEVENT\r\nUID:s" + QByteArray::number(i) +
                    "@bench\r\nDTSTART:20240101T000000Z\r\n"
                    "RRULE:FREQ=SECONDLY;COUNT=2147483647\r\nSUMMARY:every second\r\n"
                    "END:VEVENT\r\n";
        return text + "END:VCALENDAR\r\n";
    }();
    return document;
}

void readAndServeAWeek(benchmark::State& state, const QByteArray& document) {
    for (auto _ : state) {
        const FeedDocument read = readICalendar(document, QStringLiteral("bench"), zones());
        benchmark::DoNotOptimize(read.week(QDate(2024, 3, 11)));
    }
}

void BM_WeekWithSecondlyRules(benchmark::State& state) {
    readAndServeAWeek(state, secondlyDocument());
}

void BM_WeekWithoutThem(benchmark::State& state) {
    readAndServeAWeek(state, icalendarDocument());
}

const QByteArray& xmlDocument() {
    static const QByteArray document = [] {
        QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<weeklyevents>\n";
        for (int i = 0; i < xmlEvents; ++i) {
            const QDate day = QDate(2024, 3, 11).addDays(i % 7);
            const char* time = i % 9 == 0 ? "All Day" : i % 2 ? "8:30am" : "2:00pm";
            text += "<event>\n<title><![CDATA[Indicator number " + QByteArray::number(i) +
                    " & more]]></title>\n<country>" + currencies[i % 8] + "</country>\n<date>" +
                    day.toString(QStringLiteral("MM-dd-yyyy")).toLatin1() + "</date>\n<time>" +
                    time + "</time>\n<impact><![CDATA[" + impacts[i % 4] +
                    "]]></impact>\n<forecast>0.3%</forecast>\n<previous>0.2%</previous>\n"
                    "<url>https://example.org/calendar/" +
                    QByteArray::number(i) + "</url>\n</event>\n";
        }
        return text + "</weeklyevents>\n";
    }();
    return document;
}

// The XML feed's events as the JSON feed writes them: each date with its offset, holidays at
// midnight, now and then a date alone or an actual value.
const QByteArray& jsonDocument() {
    static const QByteArray document = [] {
        QByteArray text = "[";
        for (int i = 0; i < xmlEvents; ++i) {
            const QDate day = QDate(2024, 3, 11).addDays(i % 7);
            const QByteArray time = i % 9 == 0 ? "T00:00:00-04:00"
                                    : i % 2    ? "T08:30:00-04:00"
                                               : "T14:00:00Z";
            text += QByteArray(i ? ",\n" : "\n") + "{\"title\":\"Indicator number " +
                    QByteArray::number(i) + " & more\",\"country\":\"" + currencies[i % 8] +
                    "\",\"date\":\"" + day.toString(QStringLiteral("yyyy-MM-dd")).toLatin1() +
                    (i % 50 == 0 ? QByteArray() : time) + "\",\"impact\":\"" + impacts[i % 4] +
                    "\",\"forecast\":\"0.3%\",\"previous\":\"0.2%\"" +
                    (i % 3 == 0 ? ",\"actual\":\"0.4%\"" : "") +
                    ",\"url\":\"https:\\/\\/example.org\\/calendar\\/" + QByteArray::number(i) +
                    "\"}";
        }
        return text + "\n]\n";
    }();
    return document;
}

void BM_ReadICalendar(benchmark::State& state) {
    for (auto _ : state) {
        FeedDocument document =
            readICalendar(icalendarDocument(), QStringLiteral("bench"), zones());
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * icalendarDocument().size());
}

void BM_LibicalParser(benchmark::State& state) {
    for (auto _ : state) {
        icalcomponent* calendar = icalparser_parse_string(icalendarDocument().constData());
        benchmark::DoNotOptimize(calendar);
        icalcomponent_free(calendar);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * icalendarDocument().size());
}

void BM_ReadXmlFeed(benchmark::State& state) {
    for (auto _ : state) {
        FeedDocument document = readXmlFeed(xmlDocument(), QStringLiteral("bench"), zones());
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * xmlDocument().size());
}

void BM_XmlStreamLoop(benchmark::State& state) {
    for (auto _ : state) {
        QXmlStreamReader xml(xmlDocument());
        int tokens = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            ++tokens;
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * xmlDocument().size());
}

void BM_ReadJsonFeed(benchmark::State& state) {
    for (auto _ : state) {
        FeedDocument document = readJsonFeed(jsonDocument(), QStringLiteral("bench"), zones());
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * jsonDocument().size());
}

void BM_JsonDocumentParse(benchmark::State& state) {
    for (auto _ : state) {
        QJsonDocument document = QJsonDocument::fromJson(jsonDocument());
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * jsonDocument().size());
}

BENCHMARK(BM_ReadICalendar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibicalParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadXmlFeed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlStreamLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadJsonFeed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsonDocumentParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeekWithSecondlyRules)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeekWithoutThem)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::initializeShuffledRepetitions(argc, argv);
    bench::MedianTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    bench::printRatio(times, "iCalendar reader / libical parser, 10,000 events", "BM_ReadICalendar",
                      "BM_LibicalParser", "at most 1.5");
    bench::printRatio(times, "XML feed reader / QXmlStreamReader loop, 2,000 events",
                      "BM_ReadXmlFeed", "BM_XmlStreamLoop", "at most 1.5");
    bench::printRatio(times, "JSON feed reader / QJsonDocument parse, 2,000 events",
                      "BM_ReadJsonFeed", "BM_JsonDocumentParse", "at most 1.5");
    bench::printRatio(times, "iCalendar read and a week, with 20 rules every second / without",
                      "BM_WeekWithSecondlyRules", "BM_WeekWithoutThem", "at most 2");
    benchmark::Shutdown();
}
