// The week window and the headless runs on the real browser, against calendars on loopback.
#include "browser/WebEngineBrowserHost.h"
#include "calendar/CalendarServer.h"
#include "calendar/WeekPage.h"
#include "core/TableTextFile.h"
#include "tests/support/CalendarRows.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TestClock.h"
#include "weekwindow/FileMemo.h"
#include "weekwindow/TForm2.h"
#include "widgets/EventGrid.h"

#include <QCalendarWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace newsbell {
namespace {

using namespace testing;

const QDateTime demoNow(QDate(2026, 3, 4), QTime(12, 0));
constexpr int loadWait = 60000;

// The demo calendar's week pages served with the faults a case asks for; it remembers the weeks
// asked for, in order.
class FaultyCalendar {
public:
    struct Faults {
        QDate withoutDate;                // this week's page has no date
        QDate slow;                       // this week's page takes seconds to come
        bool reportsSundayBefore = false; // every page reports the day before its Monday
    };

    explicit FaultyCalendar(Faults faults) : faults_(faults) {
        server_.Get("/e_cal.php", [this](const httplib::Request& request, httplib::Response& out) {
            serve(request, out);
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~FaultyCalendar() {
        server_.stop();
        thread_.join();
    }

    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/e_cal.php?duration=weekly&timezone_panel=show")
            .arg(port_);
    }
    std::vector<QDate> asked() {
        const std::lock_guard lock(mutex_);
        return asked_;
    }

private:
    void serve(const httplib::Request& request, httplib::Response& out) {
        QDate monday = mondayOf(demoNow.date());
        if (request.has_param("week")) {
            monday = mondayOf(QDate::fromString(
                QString::fromStdString(request.get_param_value("week")), Qt::ISODate));
            const std::lock_guard lock(mutex_);
            asked_.push_back(monday);
        }
        if (monday == faults_.slow) std::this_thread::sleep_for(std::chrono::seconds(3));
        QByteArray page = weekPageHtml(faults_.reportsSundayBefore ? monday.addDays(-1) : monday,
                                       weekEvents(monday, demoNow, {}));
        if (monday == faults_.withoutDate) page.replace("eco_date_full_date", "no_date");
        out.set_content(page.constData(), size_t(page.size()), "text/html; charset=utf-8");
    }

    Faults faults_;
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::mutex mutex_;
    std::vector<QDate> asked_;
};

std::string demoWeeks(const std::vector<QDate>& mondays) {
    std::string text;
    for (QDate monday : mondays) text += joined(demoWeekLines(monday, demoNow));
    return text;
}

TEST(WeekJoinCommand, joins_what_it_asks_for_and_keeps_the_weeks_before_an_error) {
    const QDate dec27(2010, 12, 27), jan3(2011, 1, 3), jan10(2011, 1, 10);
    const QDate mar8(2010, 3, 8), mar15(2010, 3, 15), mar22(2010, 3, 22);
    const QDate shown = mondayOf(demoNow.date()); // the week of the page opened first
    struct Case {
        const char* name;
        FaultyCalendar::Faults faults;
        const char* first;
        const char* last;
        int status, weeks;
        std::vector<QDate> asked, joined;
        const char* message;
    };
    // clang-format off
    for (const Case& c : {
             Case{"across the new year, with a slow page", {{}, jan3, false},
                  "2010-12-29", "2011-01-16", 0, 3, {dec27, jan3, jan10}, {dec27, jan3, jan10}, ""},
             Case{"the week the first page shows", {},
                  "2026-03-04", "2026-03-08", 0, 1, {shown}, {shown}, ""},
             Case{"pages that report the sunday before", {{}, {}, true},
                  "2010-03-22", "2010-03-08", 0, 3, {mar8, mar15, mar22}, {mar8, mar15, mar22}, ""},
             Case{"a page without a date", {mar15, {}, false},
                  "2010-03-08", "2010-03-22", 1, 3, {mar8, mar15}, {mar8},
                  "newsbell: Неделя 15.3.2010: На странице календаря нет даты недели"},
         }) {
        // clang-format on
        SCOPED_TRACE(c.name);
        FaultyCalendar calendar(c.faults);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("joined.txt"));
        QProcess program;
        program.start(QStringLiteral(NEWSBELL_EXECUTABLE),
                      {QStringLiteral("--weeks"), QString::fromLatin1(c.first),
                       QString::fromLatin1(c.last), QStringLiteral("--export"), file,
                       QStringLiteral("--calendar-url"), calendar.url()});
        ASSERT_TRUE(program.waitForFinished(3 * loadWait));
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(program.exitCode(), c.status) << errors.toStdString();
        EXPECT_EQ(calendar.asked(), c.asked);
        EXPECT_EQ(readFileBytes(file), demoWeeks(c.joined));
        const QString progress = QStringLiteral("week %1 of %2").arg(c.asked.size()).arg(c.weeks);
        EXPECT_TRUE(errors.contains(progress)) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QString::fromUtf8(c.message))) << errors.toStdString();
    }
}

// Chromium stops a page that navigates more than 200 times within 10 s, and the built-in
// calendar on a feed of one event a week answers about that fast: a long join on it must still
// load every week.
TEST(WeekJoinCommand, a_long_join_on_a_feed_loads_every_week) {
    constexpr int weeks = 250;
    const QDate first(2015, 1, 5);
    QTemporaryDir folder;
    QByteArray feed = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<weeklyevents>\n";
    std::string expected;
    for (QDate monday = first; monday < first.addDays(7 * weeks); monday = monday.addDays(7)) {
        feed += "<event><title>CPI m/m</title><country>USD</country><date>" +
                monday.toString(QStringLiteral("MM-dd-yyyy")).toLatin1() +
                "</date><time>8:30am</time><impact>High</impact><forecast>0.2%</forecast>"
                "<previous>0.1%</previous></event>\n";
        expected += monday.toString(QStringLiteral("yyyy.MM.dd")).toStdString() +
                    ";1;08:30;USD;3; CPI m/m;;0.2%;0.1%\r\n";
    }
    QFile feedFile(folder.filePath(QStringLiteral("weekly.xml")));
    ASSERT_TRUE(feedFile.open(QIODevice::WriteOnly));
    feedFile.write(feed + "</weeklyevents>\n");
    feedFile.close();
    const QString file = folder.filePath(QStringLiteral("joined.txt"));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), folder.filePath(QStringLiteral("cache")));
    program.setProcessEnvironment(environment);
    QElapsedTimer took;
    took.start();
    program.start(
        QStringLiteral(NEWSBELL_EXECUTABLE),
        {QStringLiteral("--calendar-feed"), feedFile.fileName(), QStringLiteral("--time-zone"),
         QStringLiteral("UTC"), QStringLiteral("--feed-time-zone"), QStringLiteral("UTC"),
         QStringLiteral("--weeks"), first.toString(Qt::ISODate),
         first.addDays(7 * (weeks - 1)).toString(Qt::ISODate), QStringLiteral("--export"), file});
    ASSERT_TRUE(program.waitForFinished(3 * loadWait));
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), 0) << errors.toStdString();
    EXPECT_EQ(readFileBytes(file), expected);
    std::printf("a join of %d weeks on a feed took %lld ms\n", weeks, took.elapsed());
}

// The words of a command on calendar, "FILE" standing for file.
QStringList commandLine(std::initializer_list<const char*> words, const QString& file,
                        const FaultyCalendar& calendar) {
    QStringList line;
    for (const char* word : words)
        line << (std::string_view(word) == "FILE" ? file : QString::fromUtf8(word));
    return line << QStringLiteral("--calendar-url") << calendar.url();
}

// A trader's joined file survives a join killed at any moment: it holds what it held before, or
// whole weeks, never less. Killed at 20 moments spread over a whole join's length.
TEST(WeekJoinCommand, a_join_killed_at_any_moment_leaves_the_old_file_or_whole_weeks) {
    FaultyCalendar calendar({});
    const std::string old = "the join of an earlier run\r\n";
    std::vector<QDate> mondays;
    std::map<std::string, int> weeksIn{{old, 0}}; // what the file may hold: how many weeks
    for (QDate monday(2010, 3, 8); mondays.size() < 6; monday = monday.addDays(7)) {
        mondays.push_back(monday);
        weeksIn.emplace(demoWeeks(mondays), int(mondays.size()));
    }
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("joined.txt"));
    // Returns the weeks the file holds once the join has ended or been killed after killAfter.
    const auto joinKilled = [&](std::optional<std::chrono::milliseconds> killAfter) {
        QFile earlier(file);
        EXPECT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write(old.data(), qint64(old.size()));
        earlier.close();
        QProcess program;
        program.start(QStringLiteral(NEWSBELL_EXECUTABLE),
                      commandLine({"--weeks", "2010-03-08", "2010-04-12", "--export", "FILE"}, file,
                                  calendar));
        if (!program.waitForFinished(killAfter ? int(killAfter->count()) : 3 * loadWait)) {
            program.kill();
            EXPECT_TRUE(program.waitForFinished(loadWait));
        }
        const auto found = weeksIn.find(readFileBytes(file));
        return found == weeksIn.end() ? -1 : found->second;
    };
    QElapsedTimer whole;
    whole.start();
    ASSERT_EQ(joinKilled(std::nullopt), 6);
    const auto length = std::chrono::milliseconds(whole.elapsed());

    std::mt19937 random(std::random_device{}());
    std::uniform_real_distribution<double> within(0.0, 1.0);
    QStringList outcomes; // "after ms: weeks" for each kill
    for (int kill = 0; kill < 20; ++kill) {
        const auto after = std::chrono::milliseconds(
            qint64(double(length.count()) * (kill + within(random)) / 20));
        const int weeks = joinKilled(after);
        outcomes << QStringLiteral("%1 ms: %2").arg(after.count()).arg(weeks);
        EXPECT_GE(weeks, 0) << "killed after " << after.count() << " ms, the file holds "
                            << readFileBytes(file).size() << " bytes that are no whole weeks";
    }
    std::printf("a join of %lld ms killed after %s weeks\n", qint64(length.count()),
                qPrintable(outcomes.join(QStringLiteral(", "))));
}

// Outputs that are not regular files: written in place, or refused clearly, never replaced.
TEST(ExportCommand, standard_output_and_fifos_get_the_table_in_place) {
    FaultyCalendar calendar({});
    const QDate shown = mondayOf(demoNow.date());
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("robot.fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    struct Case {
        const char* name;
        std::initializer_list<const char*> words; // "FILE" stands for the FIFO
        bool fifoRead;                            // a reader holds the FIFO open
        int status;
        std::string output; // on standard output, or through the FIFO
        const char* message;
    };
    // clang-format off
    for (const Case& c : {
             Case{"the week to standard output", {"--export", "-"}, false, 0, demoWeeks({shown}), ""},
             Case{"the week into a fifo", {"--export", "FILE"}, true, 0, demoWeeks({shown}), ""},
             Case{"a join into a fifo, once",
                  {"--weeks", "2010-03-08", "2010-03-15", "--export", "FILE"}, true, 0,
                  demoWeeks({QDate(2010, 3, 8), QDate(2010, 3, 15)}), ""},
             Case{"a join to standard output",
                  {"--weeks", "2010-03-08", "2010-03-15", "--export", "-"}, false, 0,
                  demoWeeks({QDate(2010, 3, 8), QDate(2010, 3, 15)}), ""},
             Case{"a fifo nobody reads", {"--export", "FILE"}, false, 1, "",
                  "newsbell: Не удалось сохранить файл «%1»: канал никто не читает\n"},
         }) {
        // clang-format on
        SCOPED_TRACE(c.name);
        const int reader = c.fifoRead ? ::open(QFile::encodeName(fifo), O_RDONLY | O_NONBLOCK) : -1;
        QProcess program;
        program.setWorkingDirectory(folder.path());
        program.start(QStringLiteral(NEWSBELL_EXECUTABLE), commandLine(c.words, fifo, calendar));
        ASSERT_TRUE(program.waitForFinished(3 * loadWait));
        EXPECT_EQ(program.exitCode(), c.status);
        const std::string output =
            reader >= 0 ? readWaiting(reader) : program.readAllStandardOutput().toStdString();
        if (reader >= 0) ::close(reader);
        EXPECT_EQ(output, c.output);
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        if (c.status == 0) {
            EXPECT_FALSE(errors.contains(QStringLiteral("newsbell:"))) << errors.toStdString();
        } else {
            EXPECT_TRUE(errors.endsWith(QString::fromUtf8(c.message).arg(fifo)))
                << errors.toStdString();
        }
        EXPECT_EQ(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("robot.fifo")})
            << "nothing created, the fifo still there";
        struct stat status {};
        EXPECT_TRUE(::stat(QFile::encodeName(fifo), &status) == 0 && S_ISFIFO(status.st_mode));
    }
}

TEST(WeekWindow, joins_three_weeks_of_the_demo_calendar_in_the_real_browser) {
    TestClock clock(demoNow);
    CalendarServer calendar(clock);
    calendar.start();
    FakeDesktop fake;
    fake.clock.set(demoNow);
    ErrorReporter errors(fake.messages);
    TForm2 form([] { return new WebEngineBrowserHost; }, fake.desktop(), errors,
                QUrl(calendar.url()));
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.Button1->isEnabled(); }, loadWait));
    EXPECT_TRUE(form.Panel5->isHidden());

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("joined.txt"));
    form.MonthCalendar1->setSelectedDate(QDate(2026, 12, 23));
    form.MonthCalendar2->setSelectedDate(QDate(2027, 1, 10)); // a Sunday
    fake.files.answers = {file};
    form.Button1->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.ProcessRunning(); }, 3 * loadWait));

    const std::vector<QDate> weeks{QDate(2026, 12, 21), QDate(2026, 12, 28), QDate(2027, 1, 4)};
    std::string expected;
    for (QDate monday : weeks)
        expected += joined(demoWeekLines(monday, demoNow, eventsSoonAfter(demoNow)));
    EXPECT_EQ(readFileBytes(file), expected);
    EXPECT_EQ(tableText(form.StringGrid1->table()), expected);
    const EventTable& table = form.StringGrid1->table();
    for (int row = 1; row < table.rowCount(); ++row)
        ASSERT_EQ(table.cell(0, row), std::to_string(row)) << "numbering without gaps";
    EXPECT_EQ(form.Memo1->blockCount(), table.rowCount() - 1);
    EXPECT_EQ(fake.messages.shown, QStringList{QString::fromUtf8("Склейка данных завершена")});
    EXPECT_EQ(form.Label11->text(), QStringLiteral("4.1.2027"));
}

} // namespace
} // namespace newsbell
