// The alert pass as the main window runs it: Button4 and Timer1, with a fixed clock.
#include "alert/AlertNotifier.h"
#include "base/Cp1251.h"
#include "mainwindow/TForm1.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/WeekPages.h"
#include "widgets/EventGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using namespace testing;

const QDate monday(2010, 5, 24);
// legacyWeekPage puts events 5 (08:50, importance 3) and 6 (09:00, importance 1) on Wednesday.
const QDate wednesday(2010, 5, 26);

class AlertWindowTest : public ::testing::Test {
protected:
    AlertWindowTest() {
        browser->page = legacyWeekPage(monday, 8);
        setNow(QTime(8, 55));
    }

    void setNow(QTime time) { fake.clock.set(QDateTime(wednesday, time)); }
    // A tick of Timer1, without waiting for it.
    void tick() { QMetaObject::invokeMethod(Timer1, "timeout", Qt::DirectConnection); }

    std::vector<std::string> alertTexts() {
        std::vector<std::string> texts;
        TMsgCollection& list = AlertNotifier1->AlertMessages();
        for (int i = 0; i < list.Count(); ++i)
            texts.push_back(cp1251ToUtf8(list.Items(i).Text().joined()));
        return texts;
    }

    FakeDesktop fake;
    ErrorReporter errors{fake.messages};
    FakeBrowser* browser = new FakeBrowser;
    TForm1 form{browser, fake.desktop(), errors, QUrl("http://127.0.0.1:9/e_cal.php")};
    // The controls the tests press and read, found by their names.
    QLineEdit* Edit2 = control<QLineEdit>(form, "Edit2");
    QLineEdit* Edit4 = control<QLineEdit>(form, "Edit4");
    QCheckBox* CheckBox5 = control<QCheckBox>(form, "CheckBox5");
    QCheckBox* CheckBox3 = control<QCheckBox>(form, "CheckBox3");
    QCheckBox* CheckBox12 = control<QCheckBox>(form, "CheckBox12");
    QCheckBox* CheckBox13 = control<QCheckBox>(form, "CheckBox13");
    QPushButton* Button4 = control<QPushButton>(form, "Button4");
    QLabel* Label10 = control<QLabel>(form, "Label10");
    QPushButton* Button2 = control<QPushButton>(form, "Button2");
    EventGrid* StringGrid1 = control<EventGrid>(form, "StringGrid1");
    TAlertNotifier* AlertNotifier1 = control<TAlertNotifier>(form, "AlertNotifier1");
    QTimer* Timer1 = control<QTimer>(form, "Timer1");
    QSignalSpy shows{AlertNotifier1, &TAlertNotifier::showRequested};
    QSignalSpy passes{&form, &TForm1::alertPassDone};
    QWidget* Panel5 = control<QWidget>(form, "Panel5");
    QTimer* PageWait = control<QTimer>(form, "PageWait");
};

TEST_F(AlertWindowTest, a_pass_extracts_then_alerts_every_due_row_in_table_order) {
    EXPECT_EQ(AlertNotifier1->DisplayTime(), 1000000);
    Button4->click();
    EXPECT_EQ(StringGrid1->table().rowCount(), 9);
    EXPECT_EQ(alertTexts(),
              (std::vector<std::string>{
                  "<b>2010.05.26</b> 08:50 USD  <i> <b>Высокая важность </i></b> <br><b><q> Index "
                  "5</q></b><br>5.1 5.2 5.3 <br> Закончилось  <b>0:05:00 назад</b>",
                  "<b>2010.05.26</b> 09:00 USD  <i> <b>Низкая важность </i></b> <br><b><q> Index "
                  "6</q></b><br>6.1 6.2 6.3 <br> Начнется через <b>0:05:00 </b>"}));
    EXPECT_EQ(Label10->text(), "2010.05.26 09:00 USD 1  Index 6 6.1 6.2 6.3 ");
    EXPECT_EQ(shows.count(), 2);
    EXPECT_EQ(fake.sound.plays, 2);
    EXPECT_TRUE(fake.messages.shown.isEmpty()) << fake.messages.shown.join(u'\n').toStdString();

    // The list holds the last pass only; a pass with nothing due empties it and keeps the line.
    setNow(QTime(9, 5));
    tick();
    EXPECT_EQ(alertTexts().size(), 1u);
    setNow(QTime(12, 0));
    Button4->click();
    EXPECT_TRUE(alertTexts().empty());
    EXPECT_EQ(Label10->text(), "2010.05.26 09:00 USD 1  Index 6 6.1 6.2 6.3 ");
    EXPECT_EQ(shows.count(), 3);
}

TEST_F(AlertWindowTest, cleared_boxes_keep_the_messages_but_show_and_play_nothing) {
    CheckBox12->setChecked(false);
    CheckBox13->setChecked(false);
    Button4->click();
    EXPECT_EQ(alertTexts().size(), 2u);
    EXPECT_EQ(shows.count(), 0);
    EXPECT_EQ(fake.sound.plays, 0);

    // The currency and importance boxes filter: a cleared "Высокая важность" drops event 5.
    CheckBox12->setChecked(true);
    CheckBox3->setChecked(false);
    Button4->click();
    ASSERT_EQ(alertTexts().size(), 1u);
    EXPECT_NE(alertTexts()[0].find("Index 6"), std::string::npos);
    CheckBox5->setChecked(false); // USD
    Button4->click();
    EXPECT_TRUE(alertTexts().empty());
    EXPECT_EQ(shows.count(), 1);
}

TEST_F(AlertWindowTest, the_interval_field_sets_timer1_and_zero_stops_it) {
    Button4->click();
    EXPECT_TRUE(Timer1->isActive());
    EXPECT_EQ(Timer1->interval(), 60000);
    QTest::qWait(60);
    Button4->click();
    EXPECT_LE(Timer1->remainingTime(), 59950) << "same interval: the count goes on";

    Edit2->setText("2");
    Button4->click();
    EXPECT_EQ(Timer1->interval(), 120000);
    EXPECT_GT(Timer1->remainingTime(), 119000) << "a new interval starts a new count";

    Edit2->setText("0");
    Button4->click();
    EXPECT_FALSE(Timer1->isActive());
    Button4->click();
    EXPECT_EQ(alertTexts().size(), 2u) << "Button4 still runs a pass";
    Edit2->setText("1");
    Button4->click();
    EXPECT_TRUE(Timer1->isActive());

    // Longer than a timer holds: the longest it holds.
    Edit2->setText("99999");
    Button4->click();
    EXPECT_EQ(Timer1->interval(), longestAlertInterval * 60000);
}

TEST_F(AlertWindowTest, failures_end_the_pass_where_they_happen) {
    Button4->click();
    ASSERT_EQ(alertTexts().size(), 2u);

    // A bad interval stops everything before the extraction.
    Edit2->setText("x");
    browser->page = legacyWeekPage(monday, 3);
    Button4->click();
    EXPECT_EQ(fake.messages.shown, QStringList{"'x' is not a valid integer value"});
    EXPECT_EQ(StringGrid1->table().rowCount(), 9);
    EXPECT_EQ(Timer1->interval(), 60000);

    // A failed extraction leaves the last pass's messages.
    Edit2->setText("1");
    browser->failure = "no answer";
    Button4->click();
    EXPECT_EQ(fake.messages.shown.last(), "no answer");
    EXPECT_EQ(alertTexts().size(), 2u);

    // Window fields that are not times fail once a row of today needs them; the boxes of a
    // timer that keeps failing do not stack.
    browser->failure.clear();
    browser->page = legacyWeekPage(monday, 8);
    fake.messages.shown.clear();
    Edit4->setText(""); // its own check complains first
    int ticksWhileShown = 0;
    fake.messages.whileShown = [&] {
        if (ticksWhileShown++ < 2) tick();
    };
    tick();
    EXPECT_EQ(fake.messages.shown, (QStringList{QStringLiteral("'' is not a valid integer value"),
                                                QStringLiteral("'00:' is not a valid time")}));
    EXPECT_TRUE(alertTexts().empty());
}

// The extraction lets the window answer during a long page; ticks and clicks arriving then are
// dropped, whether the extraction belongs to a pass or was started by Button2.
TEST_F(AlertWindowTest, no_pass_starts_inside_an_extraction) {
    fake.clock.setSteadyStep(100); // every row takes long enough for the window to answer
    int nested = 0;
    browser->onRead = [&] {
        if (nested++ > 0) return;
        QTimer::singleShot(0, Button4, &QPushButton::click);
        QTimer::singleShot(0, Timer1, [this] { tick(); });
    };
    Button4->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(alertTexts().size(), 2u);
    EXPECT_EQ(shows.count(), 2);

    nested = 0;
    AlertNotifier1->AlertMessages().Clear();
    Button2->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(nested, 1);
    EXPECT_TRUE(alertTexts().empty());

    Button4->click();
    EXPECT_EQ(alertTexts().size(), 2u) << "the guards are released afterwards";
}

} // namespace
} // namespace newsbell

namespace newsbell {
namespace {

TEST_F(AlertWindowTest, passes_asked_for_while_the_page_loads_run_once_when_it_has_loaded) {
    const std::string page = std::exchange(browser->page, {}); // nothing loaded yet
    Button4->click();
    browser->page = page;
    browser->stillLoading = true; // a document, but the load is not over
    Button4->click();
    tick();
    EXPECT_TRUE(fake.messages.shown.isEmpty()) << fake.messages.shown.join(u'\n').toStdString();
    EXPECT_EQ(Label10->text(), QString::fromUtf8("Ждите, идёт загрузка..."));
    EXPECT_EQ(passes.count(), 0);
    EXPECT_TRUE(PageWait->isActive());

    browser->finishLoad();
    EXPECT_EQ(passes.count(), 1);
    EXPECT_EQ(alertTexts().size(), 2u);
    EXPECT_EQ(shows.count(), 2);
    EXPECT_EQ(Label10->text(), "2010.05.26 09:00 USD 1  Index 6 6.1 6.2 6.3 ");
    EXPECT_FALSE(PageWait->isActive());
    EXPECT_TRUE(fake.messages.shown.isEmpty());
}

TEST_F(AlertWindowTest, a_page_that_does_not_load_is_told_once_and_never_read) {
    const QString page = QStringLiteral("http://127.0.0.1:9/e_cal.php");
    const auto failLoad = [&] {
        browser->loaded = false;
        browser->failedBecause = QString::fromUtf8("соединение отклонено");
        browser->finishLoad();
    };
    const struct {
        const char* why;
        std::function<void()> fail;
        const char* message;
    } cases[] = {
        {"error page", failLoad, "Страница календаря %1 не открылась: соединение отклонено"},
        {"60 s", [&] { QMetaObject::invokeMethod(PageWait, "timeout", Qt::DirectConnection); },
         "Страница календаря %1 не открылась: страница не загрузилась за 60 с"},
    };
    for (const auto& c : cases) {
        fake.messages.shown.clear();
        browser->stillLoading = true;
        Button4->click();
        c.fail();
        EXPECT_EQ(fake.messages.shown, QStringList{QString::fromUtf8(c.message).arg(page)})
            << c.why;
        EXPECT_EQ(Label10->text(), fake.messages.shown.value(0)) << c.why;
        browser->stillLoading = false;
        browser->loaded = true;
        browser->finishLoad();
        EXPECT_EQ(passes.count(), 0) << c.why << ": the pass waited for that load only";
    }

    // On the error page the header stays red; a press or a tick loads the page again instead
    // of reading it, and the failure that comes back is not told again.
    fake.messages.shown.clear();
    failLoad();
    EXPECT_EQ(Panel5->palette().color(QPalette::Window), QColor(255, 117, 117));
    const size_t visits = browser->visited.size();
    Button4->click();
    failLoad();
    tick();
    EXPECT_EQ(browser->visited.size(), visits + 2);
    EXPECT_EQ(passes.count(), 0);
    browser->loaded = true;
    browser->finishLoad();
    EXPECT_EQ(passes.count(), 1);
    EXPECT_EQ(Panel5->palette().color(QPalette::Window), QColor(207, 218, 254));
    EXPECT_EQ(fake.messages.shown.size(), 1) << fake.messages.shown.join(u'\n').toStdString();
}

} // namespace
} // namespace newsbell
