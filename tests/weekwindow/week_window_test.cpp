// The week window with a browser that loads the weeks its scripts ask for from memory.
#include "base/Cp1251.h"
#include "base/DateText.h"
#include "core/TableTextFile.h"
#include "tests/support/CalendarRows.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FileBytes.h"
#include "tests/support/WeekPages.h"
#include "weeks/WeekScripts.h"
#include "weekwindow/FileMemo.h"
#include "weekwindow/TForm2.h"
#include "widgets/EventGrid.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace newsbell {
namespace {

using namespace testing;

const QUrl calendarPage(
    QStringLiteral("http://127.0.0.1:9/e_cal.php?duration=weekly&timezone_panel=show"));
const QDate mar8(2010, 3, 8), mar15(2010, 3, 15), mar22(2010, 3, 22);

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// What the memo shows when it holds the file's lines.
QString linesOf(const std::string& file) {
    QString lines = fromCp1251(file).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.chop(lines.endsWith(QLatin1Char('\n')) ? 1 : 0);
    return lines;
}

class WeekWindowTest : public ::testing::Test {
protected:
    WeekWindowTest() {
        browser->onScript = [this](const QString& code) {
            const QDate monday = askedWeek(code);
            if (!monday.isValid()) return;
            browser->page = legacyWeekPage(monday, 3);
            loadPending = true;
        };
    }

    // The window makes its browser when it is first shown.
    void loadFirstPage() {
        form.show();
        browser->page = legacyWeekPage(QDate(2010, 5, 24), 2);
        browser->finishLoad();
    }

    void startRun(QDate first, QDate last) {
        form.MonthCalendar1->setSelectedDate(first);
        form.MonthCalendar2->setSelectedDate(last);
        fake.files.answers = {file};
        form.Button1->click();
    }

    // The load of the week asked for last, if any.
    bool deliverWeek() {
        if (!loadPending) return false;
        loadPending = false;
        browser->finishLoad();
        return true;
    }

    std::string threeWeeks() {
        return expectedWeekText(mar8, 3) + expectedWeekText(mar15, 3) + expectedWeekText(mar22, 3);
    }

    QStringList& messages() { return fake.messages.shown; }
    const EventTable& table() { return form.StringGrid1->table(); }

    FakeDesktop fake;
    ErrorReporter errors{fake.messages};
    std::unique_ptr<FakeBrowser> unmade = std::make_unique<FakeBrowser>();
    FakeBrowser* browser = unmade.get();
    int browsersMade = 0;
    TForm2 form{[this] {
                    ++browsersMade;
                    return unmade.release();
                },
                fake.desktop(), errors, calendarPage};
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("joined.txt"));
    bool loadPending = false;
};

TEST_F(WeekWindowTest, starts_hidden_as_the_window_definition_says_and_waits_for_the_page) {
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(browsersMade, 0) << "no browser, and no page process, while hidden";
    EXPECT_EQ(form.windowTitle(), text("Автоматическая склейка недельных новостей"));
    EXPECT_EQ(form.size(), QSize(1221, 951));
    EXPECT_LE(form.minimumSizeHint().width(), 1221) << "the controls fit the window's width";
    for (QLabel* label : {form.Label9, form.Label10, form.Label11})
        EXPECT_EQ(label->text(), QStringLiteral("00.00.00"));
    EXPECT_EQ(form.Button1->text(), text("Начать  процесс склейки"));
    EXPECT_EQ(form.Button2->text(), text("Остановить процесс"));
    EXPECT_EQ(form.N1->title(), text("Меню"));
    EXPECT_EQ(form.N2->text(), text("Закрыть окно"));
    EXPECT_EQ(form.N3->text(), text("Справка"));
    EXPECT_EQ(form.StringGrid1->columnWidth(6), 400);
    EXPECT_EQ(table().row(0), columnTitles());
    for (QCalendarWidget* calendar : {form.MonthCalendar1, form.MonthCalendar2}) {
        EXPECT_EQ(calendar->selectedDate(), fake.clock.now().date());
        EXPECT_EQ(calendar->firstDayOfWeek(), Qt::Monday);
        EXPECT_EQ(calendar->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
    }
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_FALSE(form.Panel5->isHidden());

    const QUrl chosen(QStringLiteral("http://127.0.0.1:9/e_cal.php?chosen"));
    form.showPage(chosen);
    form.show();
    EXPECT_EQ(browsersMade, 1);
    EXPECT_EQ(browser->visited, std::vector<QUrl>{chosen}) << "the page asked for while hidden";
    EXPECT_TRUE(browser->scripts.empty());
    form.hide();
    form.show();
    EXPECT_EQ(browsersMade, 1);

    loadFirstPage();
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_TRUE(form.Panel5->isHidden());
    EXPECT_EQ(browser->scripts, std::vector<QString>{QString::fromLatin1(initialWeekScript)});
    EXPECT_TRUE(table().rowCount() == 1) << "the page opened first is no week of a run";
}

TEST_F(WeekWindowTest, help_joins_its_four_lines_with_lf_cr) {
    form.N3->trigger();
    EXPECT_EQ(messages(),
              QStringList{text("Данный программный модуль позволяет с нужными настройками "
                               "(часовой пояс, летнее время и др.)\n\rсграбить данные с сайта "
                               "forexpros не за 1 неделю, а за нужное количество недель "
                               "(Указывается период склейки)\n\rСоздаётся шлейф важных новостей "
                               "за указанный исторический период, который можно будет "
                               "использовать\n\rдля тестирования торгового советника. В "
                               "частности, во время выхода новостей запрещать советнику "
                               "торговать")});
}

TEST_F(WeekWindowTest, a_run_shows_each_week_in_labels_progress_memo_and_file) {
    loadFirstPage();
    startRun(QDate(2010, 3, 24), QDate(2010, 3, 10)); // the later day on the left
    EXPECT_EQ(form.Label9->text(), QStringLiteral("8.3.2010"));
    EXPECT_EQ(form.Label10->text(), QStringLiteral("22.3.2010"));
    EXPECT_EQ(form.MonthCalendar2->selectedDate(), mar22);
    EXPECT_EQ(browser->scripts.back(), weekScript(mar8));
    EXPECT_EQ(fake.files.startPaths, QStringList{QCoreApplication::applicationFilePath()});
    std::string expected;
    for (QDate monday : {mar8, mar15, mar22}) {
        EXPECT_EQ(form.Label11->text(),
                  QString::fromStdString(formatDate(monday, labelDateFormat)));
        EXPECT_EQ(form.MonthCalendar1->selectedDate(), monday);
        ASSERT_TRUE(deliverWeek());
        expected += expectedWeekText(monday, 3);
        EXPECT_EQ(readFileBytes(file), expected);
        EXPECT_EQ(form.Memo1->toPlainText(), linesOf(expected));
    }
    EXPECT_EQ(form.WeekProgress->text(), text("неделя 3 из 3"));
    EXPECT_EQ(messages(), QStringList{text("Склейка данных завершена")});
    EXPECT_FALSE(form.ProcessRunning());
    EXPECT_EQ(rowNumbers(table()), "1,2,3,4,5,6,7,8,9");
    EXPECT_EQ(browser->scripts.back(), QString::fromLatin1(initialWeekScript))
        << "set up again when idle";
    EXPECT_FALSE(deliverWeek());
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(WeekWindowTest, stop_during_a_week_keeps_that_week_and_moves_on_to_the_next_label) {
    loadFirstPage();
    startRun(mar8, QDate(2010, 3, 29));
    browser->onRead = [&] {
        EXPECT_FALSE(form.Button1->isEnabled()) << "no start while a week is processed";
        if (form.Label11->text() == QStringLiteral("15.3.2010")) form.Button2->click();
    };
    while (deliverWeek()) {
    }
    EXPECT_EQ(readFileBytes(file), expectedWeekText(mar8, 3) + expectedWeekText(mar15, 3));
    EXPECT_EQ(form.Label11->text(), "22.3.2010");
    EXPECT_EQ(form.WeekProgress->text(), text("остановлено: в файле 2 недели из 4"))
        << "the week under way at the stop is in the file, the one asked for after it is not";
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(WeekWindowTest, a_page_that_fails_is_told_once_and_never_scripted) {
    form.show();
    browser->page = "<html>Chromium's error page</html>";
    browser->loaded = false;
    browser->failedBecause = text("соединение отклонено");
    browser->finishLoad();
    browser->finishLoad();
    EXPECT_EQ(messages(), QStringList{text("Страница календаря %1 не открылась: соединение "
                                           "отклонено")
                                          .arg(calendarPage.toString())});
    EXPECT_TRUE(browser->scripts.empty());
    EXPECT_FALSE(form.Button1->isEnabled());

    form.hide();
    form.show();
    EXPECT_EQ(browser->visited, std::vector<QUrl>(2, calendarPage)) << "tried again at a show";
}

TEST_F(WeekWindowTest, a_week_that_fails_to_load_stops_the_run_keeping_the_weeks_written) {
    loadFirstPage();
    startRun(mar8, mar22);
    deliverWeek();
    browser->loaded = false;
    browser->failedBecause = text("сервер ответил кодом HTTP 503");
    deliverWeek();
    deliverWeek();
    EXPECT_FALSE(form.ProcessRunning());
    EXPECT_EQ(readFileBytes(file), expectedWeekText(mar8, 3));
    EXPECT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().value(0).endsWith(text("не открылась: сервер ответил кодом HTTP 503")));
    EXPECT_EQ(form.WeekProgress->text(), text("остановлено: в файле 1 неделя из 3"));
}

TEST(StoppedRunText, counts_weeks_in_russian) {
    const std::pair<int, const char*> cases[] = {
        {0, "0 недель"},   {1, "1 неделя"},   {2, "2 недели"},     {4, "4 недели"},
        {5, "5 недель"},   {11, "11 недель"}, {12, "12 недель"},   {14, "14 недель"},
        {21, "21 неделя"}, {22, "22 недели"}, {111, "111 недель"}, {104, "104 недели"},
    };
    for (const auto& [weeks, phrase] : cases)
        EXPECT_EQ(stoppedRunText(weeks, 520),
                  text("остановлено: в файле %1 из 520").arg(text(phrase)));
}

TEST_F(WeekWindowTest, closing_hides_the_window_and_ends_the_run_keeping_what_it_shows) {
    loadFirstPage();
    form.show();
    startRun(mar8, mar22);
    deliverWeek();
    form.N2->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.ProcessRunning());
    deliverWeek();
    EXPECT_EQ(readFileBytes(file), expectedWeekText(mar8, 3));
    EXPECT_EQ(form.Memo1->toPlainText(), linesOf(expectedWeekText(mar8, 3)));
    EXPECT_EQ(table().rowCount(), 4);
}

TEST_F(WeekWindowTest, a_start_or_a_notification_within_a_week_changes_nothing) {
    loadFirstPage();
    startRun(mar8, mar22);
    browser->onRead = [&] {
        browser->onRead = nullptr;
        form.Button1Click(); // the dialog would throw: it has no answer
        browser->finishLoad();
    };
    while (deliverWeek()) {
    }
    EXPECT_EQ(readFileBytes(file), threeWeeks());
    EXPECT_EQ(messages(), QStringList{text("Склейка данных завершена")});
}

TEST_F(WeekWindowTest, a_cancelled_dialog_leaves_the_run_going) {
    loadFirstPage();
    startRun(mar8, mar22);
    deliverWeek();
    fake.files.answers = {QString()};
    form.Button1->click();
    while (deliverWeek()) {
    }
    EXPECT_EQ(readFileBytes(file), threeWeeks());
    EXPECT_EQ(form.Label9->text(), QStringLiteral("8.3.2010"));
}

TEST_F(WeekWindowTest, a_cell_typed_over_reaches_file_and_memo_with_the_next_week) {
    loadFirstPage();
    startRun(mar8, mar15);
    deliverWeek();
    form.Memo1->appendPlainText(QStringLiteral("typed into the memo"));
    const QModelIndex name = form.StringGrid1->model()->index(2, 6);
    ASSERT_TRUE(form.StringGrid1->model()->setData(name, text(" Индекс правленый")));
    deliverWeek();
    const std::string written = readFileBytes(file);
    EXPECT_EQ(written, tableText(table()));
    EXPECT_NE(written.find(toCp1251(text(" Индекс правленый"))), std::string::npos);
    EXPECT_EQ(form.Memo1->toPlainText(), linesOf(written));
}

} // namespace
} // namespace newsbell
