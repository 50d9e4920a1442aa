// The window and the export on the real browser, against the demo calendar on loopback.
#include "alert/AlertNotifier.h"
#include "base/Cp1251.h"
#include "browser/WebEngineBrowserHost.h"
#include "calendar/CalendarServer.h"
#include "calendar/CalendarWeek.h"
#include "core/NewsGate.h"
#include "core/TableTextFile.h"
#include "mainwindow/TForm1.h"
#include "tests/support/CalendarRows.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FileBytes.h"
#include "tests/support/SilentServer.h"
#include "tests/support/TestClock.h"
#include "widgets/EventGrid.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace newsbell {
namespace {

using namespace testing;

const QDateTime demoNow(QDate(2026, 3, 4), QTime(12, 0)); // a Wednesday
constexpr int loadWait = 60000;

// The events the demo calendar shows for the week of demoNow, as table text file lines.
std::vector<std::string> expectedLines() {
    return demoWeekLines(mondayOf(demoNow.date()), demoNow, eventsSoonAfter(demoNow));
}

// The events of demoNow's day that an alert pass at now alerts with the default windows (due
// strictly after now - 10 minutes and before now + 30 minutes), in table order.
std::vector<CalendarEvent> dueEvents(QTime now) {
    std::vector<CalendarEvent> due;
    for (const CalendarEvent& event :
         weekEvents(mondayOf(demoNow.date()), demoNow, eventsSoonAfter(demoNow))) {
        const int startsIn = now.secsTo(event.timeOfDay);
        if (event.date == demoNow.date() && !event.holiday &&
            event.time != QStringLiteral("Tentative") && startsIn > -600 && startsIn < 1800)
            due.push_back(event);
    }
    return due;
}

// An event's alert message at now, put together from the event's own fields.
QString alertOf(const CalendarEvent& event, QTime now) {
    const char* importance[] = {"", " <i> <b>Низкая важность </i></b>",
                                " <i> <b>Средняя важность </i></b>",
                                " <i> <b>Высокая важность </i></b>"};
    const int startsIn = now.secsTo(event.timeOfDay);
    const QString span =
        QTime(0, 0).addSecs(std::abs(startsIn)).toString(QStringLiteral("H:mm:ss"));
    const QString timing =
        startsIn > 0 ? QStringLiteral(" <br> Начнется через <b>") + span + QStringLiteral(" </b>")
        : startsIn < 0
            ? QStringLiteral(" <br> Закончилось  <b>") + span + QStringLiteral(" назад</b>")
            : QString();
    return QStringLiteral("<b>") + event.date.toString(QStringLiteral("yyyy.MM.dd")) +
           QStringLiteral("</b> ") + event.time + QLatin1Char(' ') + event.currency +
           QStringLiteral(" ") + QString::fromUtf8(importance[event.importance]) +
           QStringLiteral(" <br><b><q> ") + event.name + QStringLiteral("</q></b><br>") +
           event.actual + QLatin1Char(' ') + event.forecast + QLatin1Char(' ') + event.previous +
           timing;
}

// The status line: every field but the weekday, each followed by a blank.
QString statusOf(const CalendarEvent& event) {
    QStringList fields = fieldsOf(event);
    fields.removeAt(1);
    return fields.join(QLatin1Char(' ')) + QLatin1Char(' ');
}

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        clock = std::make_unique<TestClock>(demoNow);
        calendar = std::make_unique<CalendarServer>(*clock);
        calendar->start();
        fake = std::make_unique<FakeDesktop>();
        fake->clock.set(demoNow);
        errors = std::make_unique<ErrorReporter>(fake->messages);
        browser = new WebEngineBrowserHost;
        loads = std::make_unique<QSignalSpy>(browser, &BrowserHost::documentComplete);
        form = std::make_unique<TForm1>(browser, fake->desktop(), *errors, QUrl(calendar->url()));
        form->show();
        loaded = loads->wait(loadWait);
    }

    static void TearDownTestSuite() {
        form.reset();
        loads.reset();
        errors.reset();
        fake.reset();
        calendar.reset();
        clock.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(loaded) << "the demo calendar did not load";
        fake->messages.shown.clear();
    }

    void extract() {
        control<QPushButton>(*form, "Button2")->click();
        ASSERT_TRUE(fake->messages.shown.isEmpty())
            << fake->messages.shown.join(QLatin1Char('\n')).toStdString();
    }

    static const EventTable& table() { return control<EventGrid>(*form, "StringGrid1")->table(); }

    static inline std::unique_ptr<TestClock> clock;
    static inline std::unique_ptr<CalendarServer> calendar;
    static inline std::unique_ptr<FakeDesktop> fake;
    static inline std::unique_ptr<ErrorReporter> errors;
    static inline WebEngineBrowserHost* browser = nullptr;
    static inline std::unique_ptr<QSignalSpy> loads;
    static inline std::unique_ptr<TForm1> form;
    static inline bool loaded = false;
};

TEST_F(EndToEnd, loaded_page_turns_the_header_blue_and_blinks_the_extraction_button) {
    EXPECT_EQ(control<QWidget>(*form, "Panel5")->palette().color(QPalette::Window),
              QColor(207, 218, 254));
    EXPECT_TRUE(control<QTimer>(*form, "Timer2")->isActive());
}

TEST_F(EndToEnd, extraction_reads_the_demo_week_into_the_table) {
    extract();
    const std::vector<std::string> lines = expectedLines();
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(tableText(table()), joined(lines));
    EXPECT_EQ(table().rowCount(), int(lines.size()) + 1);
    EXPECT_EQ(table().fixedRowCount(), 1);
    EXPECT_EQ(table().cell(0, int(lines.size())), std::to_string(lines.size()));
    EXPECT_TRUE(control<QTimer>(*form, "Timer3")->isActive());
}

TEST_F(EndToEnd, deleting_a_range_then_saving_writes_exactly_the_rows_left) {
    extract();
    EventGrid* grid = control<EventGrid>(*form, "StringGrid1");
    grid->setCurrentIndex(grid->model()->index(2, 3));
    for (int i = 0; i < 3; ++i) QTest::keyClick(grid->viewport(), Qt::Key_Down, Qt::ShiftModifier);
    control<QPushButton>(*form, "Button1")->click();

    std::vector<std::string> lines = expectedLines();
    lines.erase(lines.begin() + 1, lines.begin() + 5); // rows 2 to 5
    EXPECT_EQ(tableText(table()), joined(lines));
    EXPECT_EQ(table().cell(0, 1), "1");
    EXPECT_EQ(table().cell(0, 2), "6");

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("week"));
    fake->files.answers = {file};
    control<QPushButton>(*form, "Button3")->click();
    EXPECT_EQ(readFileBytes(file), joined(lines));
    EXPECT_FALSE(control<QTimer>(*form, "Timer3")->isActive());
}

TEST_F(EndToEnd, export_mode_writes_the_week_without_windows) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("export.txt"));
    QProcess program;
    program.start(
        QStringLiteral(NEWSBELL_EXECUTABLE),
        {QStringLiteral("--export"), file, QStringLiteral("--calendar-url"), calendar->url()});
    ASSERT_TRUE(program.waitForFinished(loadWait + 30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    // Nothing of Qt's or the browser's own chatter: standard error is the program's.
    EXPECT_EQ(program.readAllStandardError().toStdString(), "");
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(readFileBytes(file), joined(expectedLines()));
}

TEST_F(EndToEnd, export_mode_fails_with_a_message_and_no_file_when_there_is_no_calendar) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("export.txt"));
    QProcess program;
    // Port 9 (discard) is not served on loopback.
    program.start(QStringLiteral(NEWSBELL_EXECUTABLE),
                  {QStringLiteral("--export"), file, QStringLiteral("--calendar-url"),
                   QStringLiteral("http://127.0.0.1:9/e_cal.php")});
    ASSERT_TRUE(program.waitForFinished(loadWait + 30000));
    EXPECT_EQ(program.exitCode(), 1);
    const QString standardError = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(standardError.contains(QStringLiteral("newsbell: Страница календаря")))
        << standardError.toStdString();
    EXPECT_TRUE(standardError.contains(QStringLiteral("не открылась")))
        << standardError.toStdString();
    for (const QString& line : standardError.split(u'\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(line.startsWith(QStringLiteral("newsbell: "))) << line.toStdString();
    EXPECT_FALSE(QFile::exists(file));
}

// The demo calendar's week holds events minutes after the service starts, so a pass right
// after the start has alerts at once.
TEST_F(EndToEnd, alert_pass_right_after_the_start_alerts_the_events_minutes_away) {
    QSignalSpy shows(control<TAlertNotifier>(*form, "AlertNotifier1"),
                     &TAlertNotifier::showRequested);
    fake->sound.plays = 0;
    control<QPushButton>(*form, "Button4")->click();
    ASSERT_TRUE(fake->messages.shown.isEmpty()) << fake->messages.shown.join("\n").toStdString();

    const std::vector<CalendarEvent> due = dueEvents(demoNow.time());
    ASSERT_GE(due.size(), 3u) << "the three events a few minutes after the start";
    TMsgCollection& alerts = control<TAlertNotifier>(*form, "AlertNotifier1")->AlertMessages();
    ASSERT_EQ(alerts.Count(), int(due.size()));
    for (int i = 0; i < alerts.Count(); ++i)
        EXPECT_EQ(fromCp1251(alerts.Items(i).Text().joined()),
                  alertOf(due[size_t(i)], demoNow.time()));
    EXPECT_EQ(control<QLabel>(*form, "Label10")->text(), statusOf(due.back()));
    EXPECT_EQ(shows.count(), int(due.size()));
    EXPECT_EQ(fake->sound.plays, int(due.size()));
}

TEST_F(EndToEnd, due_at_prints_the_pass_at_that_moment_without_windows) {
    const QTime now(12, 5, 30);
    QProcess program;
    program.start(QStringLiteral(NEWSBELL_EXECUTABLE),
                  {QStringLiteral("--due-at"), QStringLiteral("2026-03-04 12:05:30"),
                   QStringLiteral("--calendar-url"), calendar->url()});
    ASSERT_TRUE(program.waitForFinished(loadWait + 30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    const std::vector<CalendarEvent> due = dueEvents(now);
    ASSERT_GE(due.size(), 3u);
    QString expected = statusOf(due.back()) + QLatin1Char('\n');
    for (const CalendarEvent& event : due) expected += alertOf(event, now) + QLatin1Char('\n');
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), expected);
}

TEST_F(EndToEnd, due_at_fails_with_a_message_and_nothing_on_standard_output) {
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--due-at"), QStringLiteral("2026-03-04 12:05:00"),
                      QStringLiteral("--calendar-url"),
                      QStringLiteral("http://127.0.0.1:9/e_cal.php")},
          QStringList{QStringLiteral("--due-at"), QStringLiteral("2026-03-04 12:05"),
                      QStringLiteral("--calendar-url"), calendar->url()}}) {
        QProcess program;
        program.start(QStringLiteral(NEWSBELL_EXECUTABLE), arguments);
        ASSERT_TRUE(program.waitForFinished(loadWait + 30000));
        EXPECT_EQ(program.exitCode(), 1) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(program.readAllStandardOutput(), "");
        EXPECT_TRUE(program.readAllStandardError().contains("newsbell: "));
    }
}

// The events a few minutes after the start: USD at 12:03, EUR at 12:06, GBP at 12:10.
TEST_F(EndToEnd, gate_at_prints_the_gate_of_that_moment_as_the_table_gives_it) {
    extract();
    GateSettings settings;
    settings.beforeMinutes = 1;
    settings.afterMinutes = 1;
    settings.importances = {true, true, true};
    settings.currencies = {true, true, false, false, true, false, false, false};
    std::string expected;
    for (const std::string& line : gateLines(table(), settings, demoNow.date(), QTime(12, 5, 30)))
        expected += cp1251ToUtf8(line) + "\n";

    QProcess program;
    program.start(NEWSBELL_EXECUTABLE, {"--gate-at", "2026-03-04 12:05:30", "--before", "1",
                                        "--after", "1", "--importance", "1,2,3", "--currencies",
                                        "GBP,USD,EUR", "--calendar-url", calendar->url()});
    ASSERT_TRUE(program.waitForFinished(loadWait + 30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const std::string output = program.readAllStandardOutput().toStdString();
    EXPECT_EQ(output, expected);
    EXPECT_NE(output.find("EUR;1;90;2026.03.04;12:06;"), std::string::npos) << output;
    EXPECT_NE(output.find("GBP;0;210;2026.03.04;12:10;"), std::string::npos) << output;

    program.start(NEWSBELL_EXECUTABLE, {"--gate-at", "2026-03-04 12:05:30", "--before", "1441"});
    ASSERT_TRUE(program.waitForFinished(loadWait));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.readAllStandardOutput(), "");
    EXPECT_TRUE(program.readAllStandardError().startsWith("newsbell: --before: "));
}

// A feed file for the week being shown now in Berlin, with the table lines it must give.
struct CurrentWeekFeed {
    QByteArray document;
    std::string expected;
};

CurrentWeekFeed currentWeekFeed() {
    const QDate today = QDateTime::currentDateTime().toTimeZone(QTimeZone("Europe/Berlin")).date();
    const QDate monday = mondayOf(today), sunday = monday.addDays(6);
    const auto date = [](QDate day) { return day.toString(QStringLiteral("MM-dd-yyyy")).toUtf8(); };
    const auto table = [](QDate day) {
        return day.toString(QStringLiteral("yyyy.MM.dd")).toStdString();
    };
    return {"<weeklyevents><event><title>Holiday</title><country>EUR</country><date>" +
                date(sunday) +
                "</date><time>All Day</time><impact>Holiday</impact></event>"
                "<event><title><![CDATA[S&P 500; Index]]></title><country>USD</country><date>" +
                date(monday) +
                "</date><time>8:30am</time><impact>High</impact>"
                "<forecast>1%</forecast><previous>2%</previous></event>"
                "<event><title>Next week</title><date>" +
                date(sunday.addDays(1)) + "</date><time>8:30am</time></event></weeklyevents>",
            table(monday) + ";1;08:30;USD;3; S&P 500, Index;;1%;2%\r\n" + table(sunday) +
                ";0;All Day;EUR;; Holiday;;;\r\n"};
}

struct Outcome {
    int exitCode = -1;
    QString errors;
    QString output;
};

Outcome runNewsbell(const QStringList& arguments, const QString& cacheFolder) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cacheFolder);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(NEWSBELL_EXECUTABLE), arguments);
    if (!program.waitForFinished(loadWait + 30000)) return {};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardError()),
            QString::fromUtf8(program.readAllStandardOutput())};
}

TEST(FeedEndToEnd, a_feed_file_exports_its_week_and_its_copy_stands_in_when_it_is_gone) {
    QTemporaryDir folder;
    const QString feed = folder.filePath(QStringLiteral("week.xml")),
                  out = folder.filePath(QStringLiteral("out.txt")),
                  cache = folder.filePath(QStringLiteral("cache"));
    const CurrentWeekFeed week = currentWeekFeed();
    QFile file(feed);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(week.document);
    file.close();
    const QStringList arguments{QStringLiteral("--calendar-feed"),  feed,
                                QStringLiteral("--time-zone"),      QStringLiteral("Europe/Berlin"),
                                QStringLiteral("--feed-time-zone"), QStringLiteral("Europe/Berlin"),
                                QStringLiteral("--export"),         out};

    Outcome run = runNewsbell(arguments, cache);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(readFileBytes(out), week.expected);

    ASSERT_TRUE(QFile::remove(feed));
    ASSERT_TRUE(QFile::remove(out));
    run = runNewsbell(arguments, cache);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QStringLiteral("newsbell: Календарь ") + feed +
                                    QStringLiteral(" не прочитан")));
    EXPECT_TRUE(run.errors.contains(QStringLiteral("newsbell: В работе копия, прочитанная")));
    EXPECT_EQ(readFileBytes(out), week.expected);

    // Without any copy there is nothing to export: no file, exit status 1.
    ASSERT_TRUE(QFile::remove(out));
    run = runNewsbell(arguments, folder.filePath(QStringLiteral("empty-cache")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("newsbell: Сохранённой копии нет.")))
        << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

// A feed combines with the other commands: five weeks of a New York feed across both time
// switches joined, in both formats, and a pass at a moment of the feed read as UTC, by default.
TEST(FeedEndToEnd, a_feed_serves_the_week_join_and_the_alert_pass) {
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("weeks.txt"));
    for (const char* name : {"switches.xml", "switches.ics"}) {
        const Outcome run =
            runNewsbell({"--calendar-feed", QStringLiteral(FEED_FIXTURES "/") + name, "--time-zone",
                         "Europe/Berlin", "--feed-time-zone", "America/New_York", "--weeks",
                         "2024-03-04", "2024-04-07", "--export", out},
                        folder.filePath("cache"));
        EXPECT_EQ(run.exitCode, 0) << name << run.errors.toStdString();
        EXPECT_EQ(readFileBytes(out), readFileBytes(QStringLiteral(
                                          FEED_FIXTURES "/switches-2024-03-04-to-2024-04-07.txt")))
            << name;
    }
    const Outcome pass =
        runNewsbell({"--calendar-feed", QStringLiteral(FEED_FIXTURES "/switches.xml"),
                     "--time-zone", "Europe/Berlin", "--due-at", "2024-03-12 09:20:00"},
                    folder.filePath("cache"));
    EXPECT_EQ(pass.exitCode, 0) << pass.errors.toStdString();
    EXPECT_TRUE(pass.output.contains(QStringLiteral("CPI m/m"))) << pass.output.toStdString();
}

// A source that never answers holds neither the window nor its end: the source is read while
// the window's loop runs, and SIGTERM (as closing the window) ends the program at once, the
// read still waiting, with its settings kept: the feed given for this run is not among them.
TEST(FeedEndToEnd, the_window_starts_and_ends_while_the_source_never_answers) {
    QTemporaryDir folder;
    SilentServer source;
    const QString settingsFile = folder.filePath("config/Newsbell/newsbell.ini");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settingsFile).path()));
    QFile kept(settingsFile);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("[source]\nkind=page\naddress=http://127.0.0.1:9/e_cal.php\n");
    kept.close();
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CACHE_HOME", folder.filePath("cache"));
    environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
    program.setProcessEnvironment(environment);
    program.start(NEWSBELL_EXECUTABLE, {"--calendar-feed", source.url()});
    for (int waited = 0; source.connections() == 0 && waited < loadWait; waited += 100)
        QTest::qWait(100);
    ASSERT_EQ(source.connections(), 1) << "the source was never asked";
    ASSERT_EQ(program.state(), QProcess::Running);
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000)) << "the end waits for the read";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QSettings after(settingsFile, QSettings::IniFormat);
    EXPECT_EQ(after.value("source/kind"), "page") << readFileBytes(settingsFile);
    EXPECT_FALSE(after.contains("source/feed")) << readFileBytes(settingsFile);
}

} // namespace
} // namespace newsbell
