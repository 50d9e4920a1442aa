#include "core/TableTextFile.h"
#include "mainwindow/TForm1.h"
#include "tests/support/CalendarRows.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FileBytes.h"
#include "tests/support/WeekPages.h"
#include "widgets/EventGrid.h"
#include "widgets/LinkLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using namespace testing;

const QUrl calendarPage(
    QStringLiteral("http://127.0.0.1:9/e_cal.php?duration=weekly&timezone_panel=show"));
const QDate monday(2010, 5, 24);

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class MainWindowTest : public ::testing::Test {
protected:
    void fillTable(int events) {
        browser->page = legacyWeekPage(monday, events);
        Button2->click();
        ASSERT_EQ(StringGrid1->table().rowCount(), events + 1)
            << messages().join("\n").toStdString();
    }

    void selectRows(int top, int bottom) {
        EventGrid* grid = StringGrid1;
        grid->setCurrentIndex(grid->model()->index(top, 2));
        for (int row = top; row < bottom; ++row)
            QTest::keyClick(grid->viewport(), Qt::Key_Down, Qt::ShiftModifier);
    }

    QStringList& messages() { return fake.messages.shown; }
    const EventTable& table() { return StringGrid1->table(); }

    FakeDesktop fake;
    ErrorReporter errors{fake.messages};
    FakeBrowser* browser = new FakeBrowser;
    TForm1 form{browser, fake.desktop(), errors, calendarPage};
    // The controls the tests press and read, found by their names.
    QWidget* Panel5 = control<QWidget>(form, "Panel5");
    LinkLabel* Label2 = control<LinkLabel>(form, "Label2");
    LinkLabel* Label3 = control<LinkLabel>(form, "Label3");
    QLineEdit* Edit3 = control<QLineEdit>(form, "Edit3");
    QLineEdit* Edit1 = control<QLineEdit>(form, "Edit1");
    QLineEdit* Edit2 = control<QLineEdit>(form, "Edit2");
    QLineEdit* Edit4 = control<QLineEdit>(form, "Edit4");
    QCheckBox* CheckBox11 = control<QCheckBox>(form, "CheckBox11");
    QCheckBox* CheckBox2 = control<QCheckBox>(form, "CheckBox2");
    QCheckBox* CheckBox3 = control<QCheckBox>(form, "CheckBox3");
    QLabel* Label10 = control<QLabel>(form, "Label10");
    QPushButton* Button2 = control<QPushButton>(form, "Button2");
    QPushButton* Button1 = control<QPushButton>(form, "Button1");
    QPushButton* Button3 = control<QPushButton>(form, "Button3");
    EventGrid* StringGrid1 = control<EventGrid>(form, "StringGrid1");
    QMenu* N1 = control<QMenu>(form, "N1");
    QAction* N2 = control<QAction>(form, "N2");
    QAction* N3 = control<QAction>(form, "N3");
    QAction* N4 = control<QAction>(form, "N4");
    QTimer* Timer1 = control<QTimer>(form, "Timer1");
    QTimer* Timer2 = control<QTimer>(form, "Timer2");
    QTimer* Timer3 = control<QTimer>(form, "Timer3");
    QTemporaryDir folder;
};

TEST_F(MainWindowTest, starts_as_the_window_definition_says) {
    EXPECT_EQ(browser->visited, std::vector<QUrl>{calendarPage});
    EXPECT_EQ(browser->parent(), &form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Newsbell newsbell.example.net"));
    EXPECT_EQ(form.size(), QSize(1134, 667));
    EXPECT_EQ(Panel5->palette().color(QPalette::Window), QColor(255, 117, 117));
    EXPECT_EQ(Label2->text(), " newsbell.example.net");
    EXPECT_EQ(Label3->text(), Label2->text());

    EXPECT_EQ(Edit3->text(), "00");
    EXPECT_EQ(Edit1->text(), "30");
    EXPECT_EQ(Edit2->text(), "1");
    EXPECT_EQ(Edit4->text(), "10");
    EXPECT_EQ(Label10->text(), "");
    for (QCheckBox* box : form.findChildren<QCheckBox*>()) EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(form.findChildren<QCheckBox*>().size(), 13);
    EXPECT_EQ(CheckBox11->text(), "NZD");
    EXPECT_EQ(CheckBox3->text(), text("Высокая важность"));
    EXPECT_TRUE(CheckBox2->font().underline());
    EXPECT_TRUE(Button3->font().bold());
    EXPECT_EQ(Button1->toolTip(),
              text("Shift+курсор ВВЕРХ или ВНИЗ позволяет выделять несколько строк"));

    EXPECT_EQ(N1->title(), text("Меню"));
    EXPECT_EQ(N1->actions(), (QList<QAction*>{N2, N3}));
    EXPECT_EQ(N4->text(), text("Справка"));

    EXPECT_TRUE(Timer1->isActive());
    EXPECT_EQ(Timer1->interval(), 300000);
    EXPECT_FALSE(Timer2->isActive());
    EXPECT_FALSE(Timer3->isActive());
}

TEST_F(MainWindowTest, every_loaded_page_turns_the_header_blue_and_starts_the_blinking) {
    browser->finishLoad();
    EXPECT_EQ(Panel5->palette().color(QPalette::Window), QColor(207, 218, 254));
    EXPECT_TRUE(Timer2->isActive());

    Timer2->stop();
    emit browser->documentComplete();
    EXPECT_TRUE(Timer2->isActive());
    EXPECT_EQ(Panel5->palette().color(QPalette::Window), QColor(207, 218, 254));
}

TEST_F(MainWindowTest, blinking_alternates_between_exactly_bold_and_regular) {
    EXPECT_FALSE(Button2->font().bold());
    form.Timer2Timer();
    EXPECT_TRUE(Button2->font().bold());
    form.Timer2Timer();
    EXPECT_FALSE(Button2->font().bold());

    QFont boldItalic = Button3->font();
    boldItalic.setItalic(true);
    Button3->setFont(boldItalic);
    form.Timer3Timer();
    EXPECT_TRUE(Button3->font().bold()) << "bold italic is not exactly bold";
    EXPECT_FALSE(Button3->font().italic());
    form.Timer3Timer();
    EXPECT_FALSE(Button3->font().bold());
}

// A blink or a long status line must not move the controls under the mouse.
TEST_F(MainWindowTest, blinking_buttons_and_the_status_line_move_nothing) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const auto places = [this] {
        std::vector<QRect> rects;
        for (QWidget* widget :
             std::initializer_list<QWidget*>{Button2, Button1, Button3, StringGrid1, Label3})
            rects.emplace_back(widget->mapTo(&form, QPoint()), widget->size());
        return rects;
    };
    const std::vector<QRect> before = places();
    for (int blink = 0; blink < 3; ++blink) {
        form.Timer2Timer();
        form.Timer3Timer();
        QCoreApplication::processEvents();
        EXPECT_EQ(places(), before) << "blink " << blink;
    }
    Label10->setText(QString(300, 'x'));
    QCoreApplication::processEvents();
    EXPECT_EQ(places(), before);
    EXPECT_EQ(form.size(), QSize(1134, 667));
}

TEST_F(MainWindowTest, field_checks_put_back_their_text_and_tell_why) {
    Edit1->setText("75");
    EXPECT_EQ(Edit1->text(), "30");
    Edit3->setText("24");
    EXPECT_EQ(Edit3->text(), "00");
    Edit4->setText("45");
    EXPECT_EQ(Edit4->text(), "30");
    EXPECT_EQ(messages(), (QStringList{text("Значение \"минуты\" не может быть больше чем 59"),
                                       text("Значение \"часы\" не может быть больше чем 23"),
                                       text("Значение \"минуты\" не может быть больше чем 30")}));

    messages().clear();
    Edit4->setText("30");
    Edit1->setText("59");
    Edit3->setText("  23");
    EXPECT_EQ(Edit3->text(), "  23");
    EXPECT_TRUE(messages().isEmpty()) << messages().join("|").toStdString();
}

TEST_F(MainWindowTest, field_that_is_not_a_number_shows_the_conversion_error_and_stays) {
    Edit1->setText("");
    Edit4->setText("1a");
    EXPECT_EQ(messages(), (QStringList{"'' is not a valid integer value",
                                       "'1a' is not a valid integer value"}));
    EXPECT_EQ(Edit1->text(), "");
    EXPECT_EQ(Edit4->text(), "1a");

    messages().clear();
    Edit2->setText("x");
    EXPECT_TRUE(messages().isEmpty()) << "the interval field has no check";
}

TEST_F(MainWindowTest, menu_help_links_and_exit) {
    N4->trigger();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0],
              text("Программа помогает свести данные важных новостей с сайта forexpros\n\rв "
                   "текстовой формат представления, который удобочитаем для АТС-советников"));

    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(Label2, Qt::LeftButton);
    QTest::mouseClick(Label3, Qt::LeftButton);
    EXPECT_EQ(fake.links.opened, (std::vector<QUrl>(2, QUrl("https://newsbell.example.net/"))));

    QWidget weeks;
    form.setWeekWindow(&weeks);
    N2->trigger();
    EXPECT_TRUE(weeks.isVisible());
    N3->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindowTest, extraction_fills_the_table_and_moves_the_blinking_to_the_save_button) {
    browser->finishLoad();
    fillTable(8);
    EXPECT_EQ(tableText(table()), expectedWeekText(monday, 8));
    EXPECT_EQ(table().fixedRowCount(), 1);
    EXPECT_EQ(rowNumbers(table()), "1,2,3,4,5,6,7,8");
    EXPECT_FALSE(Timer2->isActive());
    EXPECT_TRUE(Button2->font().bold());
    EXPECT_TRUE(Timer3->isActive());

    browser->page = legacyWeekPage(monday, 3);
    Button2->click();
    EXPECT_EQ(rowNumbers(table()), "1,2,3") << "a new extraction starts the table afresh";
}

TEST_F(MainWindowTest, failing_browser_leaves_the_table_as_it_was) {
    fillTable(4);
    const std::string before = tableText(table());
    browser->failure = "Страница не отвечает";
    Button2->click();
    EXPECT_EQ(messages(), QStringList{text("Страница не отвечает")});
    EXPECT_EQ(tableText(table()), before);
    EXPECT_EQ(table().fixedRowCount(), 1);
    EXPECT_TRUE(Timer3->isActive());
}

TEST_F(MainWindowTest, a_page_without_events_leaves_the_title_row_alone) {
    fillTable(3);
    browser->page = legacyWeekPage(monday, 0);
    Button2->click();
    EXPECT_EQ(table().rowCount(), 1);
    EXPECT_EQ(table().fixedRowCount(), 0);
    EXPECT_EQ(table().row(0), columnTitles());
    EXPECT_TRUE(Timer3->isActive());
}

// The extraction lets the window answer during a long page; a second press arriving then must
// not start another extraction into the same table.
TEST_F(MainWindowTest, extraction_does_not_restart_inside_itself) {
    fake.clock.setSteadyStep(100); // every row takes long enough for the window to answer
    browser->page = legacyWeekPage(monday, 6);
    QTimer::singleShot(0, Button2, &QPushButton::click);
    Button2->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(rowNumbers(table()), "1,2,3,4,5,6");
    EXPECT_EQ(tableText(table()), expectedWeekText(monday, 6));

    Button2->click();
    EXPECT_EQ(rowNumbers(table()), "1,2,3,4,5,6") << "the guard is released afterwards";
}

// The window answers about once per 16 ms of work, not after every row (each answer repaints
// the whole window), and the table comes out the same however often it answered.
TEST_F(MainWindowTest, extraction_answers_by_time_and_fills_the_same_table) {
    constexpr int events = 40; // 41 steps: one per row and the search that finds no more
    const struct {
        qint64 msPerStep;
        int answers;
    } cases[] = {{0, 0}, {4, 41 * 4 / 16}, {16, 40}};
    for (const auto& c : cases) {
        fake.clock.setSteadyStep(c.msPerStep);
        browser->page = legacyWeekPage(monday, events);
        int answers = 0;
        QTimer everyAnswer;
        everyAnswer.setInterval(0);
        QObject::connect(&everyAnswer, &QTimer::timeout, [&] { ++answers; });
        everyAnswer.start();
        Button2->click();
        everyAnswer.stop();
        EXPECT_NEAR(answers, c.answers, 1) << c.msPerStep << " ms a row";
        EXPECT_EQ(tableText(table()), expectedWeekText(monday, events));
        EXPECT_EQ(rowNumbers(table()).substr(0, 6), "1,2,3,");
    }
}

TEST_F(MainWindowTest, deleting_a_selected_range_keeps_the_other_rows_and_their_numbers) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    fillTable(8);
    selectRows(3, 5);
    Button1->click();
    EXPECT_EQ(rowNumbers(table()), "1,2,6,7,8");
    EXPECT_EQ(table().fixedRowCount(), 1);
    EXPECT_EQ(tableText(table()), expectedWeekText(monday, 8, {1, 2, 6, 7, 8}));

    selectRows(1, 5);
    Button1->click();
    EXPECT_EQ(table().rowCount(), 1);
    EXPECT_EQ(table().fixedRowCount(), 0);
    EXPECT_EQ(table().row(0), columnTitles());

    Button1->click();
    EXPECT_EQ(table().rowCount(), 1) << "nothing to delete";
}

TEST_F(MainWindowTest, delete_without_a_focused_row_does_nothing) {
    fillTable(3);
    StringGrid1->setCurrentIndex({});
    Button1->click();
    EXPECT_EQ(rowNumbers(table()), "1,2,3");
}

TEST_F(MainWindowTest, saving_writes_the_table_and_ends_the_save_button_blinking) {
    fillTable(5);
    form.Timer3Timer(); // caught in the regular half of a blink
    const QString file = folder.filePath(QStringLiteral("week.txt"));
    fake.files.answers = {file};
    Button3->click();
    EXPECT_EQ(readFileBytes(file), expectedWeekText(monday, 5));
    EXPECT_FALSE(Timer3->isActive());
    EXPECT_TRUE(Button3->font().bold());
    EXPECT_EQ(fake.files.startPaths, QStringList{QCoreApplication::applicationFilePath()});

    browser->page = legacyWeekPage(monday, 2);
    Button2->click();
    fake.files.answers = {file};
    Button3->click();
    EXPECT_EQ(readFileBytes(file), expectedWeekText(monday, 2)) << "replaced, not appended";
}

TEST_F(MainWindowTest, cancelling_the_save_dialog_changes_nothing) {
    fillTable(2);
    fake.files.answers = {""};
    Button3->click();
    EXPECT_TRUE(Timer3->isActive());
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(MainWindowTest, failed_save_is_reported_and_the_save_button_keeps_blinking) {
    fillTable(2);
    fake.files.answers = {folder.filePath("missing/x.txt")};
    Button3->click();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("x.txt")) << messages()[0].toStdString();
    EXPECT_TRUE(Timer3->isActive());
}

TEST_F(MainWindowTest, edited_cells_are_saved_as_typed) {
    fillTable(1);
    StringGrid1->model()->setData(StringGrid1->model()->index(1, 8), text("5,0; €"));
    const QString file = folder.filePath("edited.txt");
    fake.files.answers = {file};
    Button3->click();
    const std::string line = readFileBytes(file);
    EXPECT_NE(line.find(";5,0; \x88;"), std::string::npos) << line;
}

} // namespace
} // namespace newsbell
