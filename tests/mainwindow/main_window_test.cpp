#include "core/TableTextFile.h"
#include "mainwindow/TForm1.h"
#include "tests/support/GuiTestSupport.h"
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
        form.Button2->click();
        ASSERT_EQ(form.StringGrid1->table().rowCount(), events + 1)
            << messages().join(QLatin1Char('\n')).toStdString();
    }

    void selectRows(int top, int bottom) {
        EventGrid* grid = form.StringGrid1;
        grid->setCurrentIndex(grid->model()->index(top, 2));
        for (int row = top; row < bottom; ++row)
            QTest::keyClick(grid->viewport(), Qt::Key_Down, Qt::ShiftModifier);
    }

    QStringList& messages() { return fake.messages.shown; }
    const EventTable& table() { return form.StringGrid1->table(); }

    FakeDesktop fake;
    ErrorReporter errors{fake.messages};
    FakeBrowser* browser = new FakeBrowser;
    TForm1 form{browser, fake.desktop(), errors, calendarPage};
    QTemporaryDir folder;
};

TEST_F(MainWindowTest, starts_as_the_window_definition_says) {
    EXPECT_EQ(browser->visited, std::vector<QUrl>{calendarPage});
    EXPECT_EQ(browser->parent(), &form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Newsbell newsbell.example.net"));
    EXPECT_EQ(form.size(), QSize(1134, 667));
    EXPECT_EQ(form.Panel5->palette().color(QPalette::Window), QColor(255, 117, 117));
    EXPECT_EQ(form.Label2->text(), QStringLiteral(" newsbell.example.net"));
    EXPECT_EQ(form.Label3->text(), form.Label2->text());

    EXPECT_EQ(form.Edit3->text(), QStringLiteral("00"));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("30"));
    EXPECT_EQ(form.Edit2->text(), QStringLiteral("1"));
    EXPECT_EQ(form.Edit4->text(), QStringLiteral("10"));
    EXPECT_EQ(form.Label10->text(), QStringLiteral(""));
    for (QCheckBox* box : form.findChildren<QCheckBox*>()) EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(form.findChildren<QCheckBox*>().size(), 13);
    EXPECT_EQ(form.CheckBox11->text(), QStringLiteral("NZD"));
    EXPECT_EQ(form.CheckBox3->text(), text("Высокая важность"));
    EXPECT_TRUE(form.CheckBox2->font().underline());
    EXPECT_TRUE(form.Button3->font().bold());
    EXPECT_EQ(form.Button1->toolTip(),
              text("Shift+курсор ВВЕРХ или ВНИЗ позволяет выделять несколько строк"));

    EXPECT_EQ(form.N1->title(), text("Меню"));
    EXPECT_EQ(form.N1->actions(), (QList<QAction*>{form.N2, form.N3}));
    EXPECT_EQ(form.N4->text(), text("Справка"));

    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 300000);
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_FALSE(form.Timer3->isActive());
    EXPECT_EQ(form.findChild<QPushButton*>(QStringLiteral("Button2")), form.Button2);
    EXPECT_EQ(form.findChild<EventGrid*>(QStringLiteral("StringGrid1")), form.StringGrid1);
}

TEST_F(MainWindowTest, every_loaded_page_turns_the_header_blue_and_starts_the_blinking) {
    browser->finishLoad();
    EXPECT_EQ(form.Panel5->palette().color(QPalette::Window), QColor(207, 218, 254));
    EXPECT_TRUE(form.Timer2->isActive());

    form.Timer2->stop();
    emit browser->documentComplete();
    EXPECT_TRUE(form.Timer2->isActive());
    EXPECT_EQ(form.Panel5->palette().color(QPalette::Window), QColor(207, 218, 254));
}

TEST_F(MainWindowTest, blinking_alternates_between_exactly_bold_and_regular) {
    EXPECT_FALSE(form.Button2->font().bold());
    form.Timer2Timer();
    EXPECT_TRUE(form.Button2->font().bold());
    form.Timer2Timer();
    EXPECT_FALSE(form.Button2->font().bold());

    QFont boldItalic = form.Button3->font();
    boldItalic.setItalic(true);
    form.Button3->setFont(boldItalic);
    form.Timer3Timer();
    EXPECT_TRUE(form.Button3->font().bold()) << "bold italic is not exactly bold";
    EXPECT_FALSE(form.Button3->font().italic());
    form.Timer3Timer();
    EXPECT_FALSE(form.Button3->font().bold());
}

// A blink or a long status line must not move the controls under the mouse.
TEST_F(MainWindowTest, blinking_buttons_and_the_status_line_move_nothing) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const auto places = [this] {
        std::vector<QRect> rects;
        for (QWidget* widget : std::initializer_list<QWidget*>{
                 form.Button2, form.Button1, form.Button3, form.StringGrid1, form.Label3})
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
    form.Label10->setText(QString(300, QLatin1Char('x')));
    QCoreApplication::processEvents();
    EXPECT_EQ(places(), before);
    EXPECT_EQ(form.size(), QSize(1134, 667));
}

TEST_F(MainWindowTest, field_checks_put_back_their_text_and_tell_why) {
    form.Edit1->setText(QStringLiteral("75"));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("30"));
    form.Edit3->setText(QStringLiteral("24"));
    EXPECT_EQ(form.Edit3->text(), QStringLiteral("00"));
    form.Edit4->setText(QStringLiteral("45"));
    EXPECT_EQ(form.Edit4->text(), QStringLiteral("30"));
    EXPECT_EQ(messages(), (QStringList{text("Значение \"минуты\" не может быть больше чем 59"),
                                       text("Значение \"часы\" не может быть больше чем 23"),
                                       text("Значение \"минуты\" не может быть больше чем 30")}));

    messages().clear();
    form.Edit4->setText(QStringLiteral("30"));
    form.Edit1->setText(QStringLiteral("59"));
    form.Edit3->setText(QStringLiteral("  23"));
    EXPECT_EQ(form.Edit3->text(), QStringLiteral("  23"));
    EXPECT_TRUE(messages().isEmpty()) << messages().join(QLatin1Char('|')).toStdString();
}

TEST_F(MainWindowTest, field_that_is_not_a_number_shows_the_conversion_error_and_stays) {
    form.Edit1->setText(QStringLiteral(""));
    form.Edit4->setText(QStringLiteral("1a"));
    EXPECT_EQ(messages(), (QStringList{QStringLiteral("'' is not a valid integer value"),
                                       QStringLiteral("'1a' is not a valid integer value")}));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral(""));
    EXPECT_EQ(form.Edit4->text(), QStringLiteral("1a"));

    messages().clear();
    form.Edit2->setText(QStringLiteral("x"));
    EXPECT_TRUE(messages().isEmpty()) << "the interval field has no check";
}

TEST_F(MainWindowTest, menu_help_links_and_exit) {
    form.N4->trigger();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0],
              text("Программа помогает свести данные важных новостей с сайта forexpros\n\rв "
                   "текстовой формат представления, который удобочитаем для АТС-советников"));

    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Label2, Qt::LeftButton);
    QTest::mouseClick(form.Label3, Qt::LeftButton);
    EXPECT_EQ(fake.links.opened,
              (std::vector<QUrl>(2, QUrl(QStringLiteral("https://newsbell.example.net/")))));

    QWidget weeks;
    form.setWeekWindow(&weeks);
    form.N2->trigger();
    EXPECT_TRUE(weeks.isVisible());
    form.N3->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindowTest, extraction_fills_the_table_and_moves_the_blinking_to_the_save_button) {
    browser->finishLoad();
    fillTable(8);
    EXPECT_EQ(tableText(table()), expectedWeekText(monday, 8));
    EXPECT_EQ(table().fixedRowCount(), 1);
    EXPECT_EQ(rowNumbers(table()), "1,2,3,4,5,6,7,8");
    EXPECT_FALSE(form.Timer2->isActive());
    EXPECT_TRUE(form.Button2->font().bold());
    EXPECT_TRUE(form.Timer3->isActive());

    browser->page = legacyWeekPage(monday, 3);
    form.Button2->click();
    EXPECT_EQ(rowNumbers(table()), "1,2,3") << "a new extraction starts the table afresh";
}

TEST_F(MainWindowTest, failing_browser_leaves_the_table_as_it_was) {
    fillTable(4);
    const std::string before = tableText(table());
    browser->failure = "Страница не отвечает";
    form.Button2->click();
    EXPECT_EQ(messages(), QStringList{text("Страница не отвечает")});
    EXPECT_EQ(tableText(table()), before);
    EXPECT_EQ(table().fixedRowCount(), 1);
    EXPECT_TRUE(form.Timer3->isActive());
}

TEST_F(MainWindowTest, a_page_without_events_leaves_the_title_row_alone) {
    fillTable(3);
    browser->page = legacyWeekPage(monday, 0);
    form.Button2->click();
    EXPECT_EQ(table().rowCount(), 1);
    EXPECT_EQ(table().fixedRowCount(), 0);
    EXPECT_EQ(table().row(0), columnTitles());
    EXPECT_TRUE(form.Timer3->isActive());
}

// The extraction yields to the window once per event; a second press arriving then must not
// start another extraction into the same table.
TEST_F(MainWindowTest, extraction_does_not_restart_inside_itself) {
    browser->page = legacyWeekPage(monday, 6);
    QTimer::singleShot(0, form.Button2, &QPushButton::click);
    form.Button2->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(rowNumbers(table()), "1,2,3,4,5,6");
    EXPECT_EQ(tableText(table()), expectedWeekText(monday, 6));

    form.Button2->click();
    EXPECT_EQ(rowNumbers(table()), "1,2,3,4,5,6") << "the guard is released afterwards";
}

TEST_F(MainWindowTest, deleting_a_selected_range_keeps_the_other_rows_and_their_numbers) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    fillTable(8);
    selectRows(3, 5);
    form.Button1->click();
    EXPECT_EQ(rowNumbers(table()), "1,2,6,7,8");
    EXPECT_EQ(table().fixedRowCount(), 1);
    EXPECT_EQ(tableText(table()), expectedWeekText(monday, 8, {1, 2, 6, 7, 8}));

    selectRows(1, 5);
    form.Button1->click();
    EXPECT_EQ(table().rowCount(), 1);
    EXPECT_EQ(table().fixedRowCount(), 0);
    EXPECT_EQ(table().row(0), columnTitles());

    form.Button1->click();
    EXPECT_EQ(table().rowCount(), 1) << "nothing to delete";
}

TEST_F(MainWindowTest, delete_without_a_focused_row_does_nothing) {
    fillTable(3);
    form.StringGrid1->setCurrentIndex({});
    form.Button1->click();
    EXPECT_EQ(rowNumbers(table()), "1,2,3");
}

TEST_F(MainWindowTest, saving_writes_the_table_and_ends_the_save_button_blinking) {
    fillTable(5);
    form.Timer3Timer(); // caught in the regular half of a blink
    const QString file = folder.filePath(QStringLiteral("week.txt"));
    fake.files.answers = {file};
    form.Button3->click();
    EXPECT_EQ(readFileBytes(file), expectedWeekText(monday, 5));
    EXPECT_FALSE(form.Timer3->isActive());
    EXPECT_TRUE(form.Button3->font().bold());
    EXPECT_EQ(fake.files.startPaths, QStringList{QCoreApplication::applicationFilePath()});

    browser->page = legacyWeekPage(monday, 2);
    form.Button2->click();
    fake.files.answers = {file};
    form.Button3->click();
    EXPECT_EQ(readFileBytes(file), expectedWeekText(monday, 2)) << "replaced, not appended";
}

TEST_F(MainWindowTest, cancelling_the_save_dialog_changes_nothing) {
    fillTable(2);
    fake.files.answers = {QStringLiteral("")};
    form.Button3->click();
    EXPECT_TRUE(form.Timer3->isActive());
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(MainWindowTest, failed_save_is_reported_and_the_save_button_keeps_blinking) {
    fillTable(2);
    fake.files.answers = {folder.filePath(QStringLiteral("missing/x.txt"))};
    form.Button3->click();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains(QStringLiteral("x.txt"))) << messages()[0].toStdString();
    EXPECT_TRUE(form.Timer3->isActive());
}

TEST_F(MainWindowTest, edited_cells_are_saved_as_typed) {
    fillTable(1);
    form.StringGrid1->model()->setData(form.StringGrid1->model()->index(1, 8), text("5,0; €"));
    const QString file = folder.filePath(QStringLiteral("edited.txt"));
    fake.files.answers = {file};
    form.Button3->click();
    const std::string line = readFileBytes(file);
    EXPECT_NE(line.find(";5,0; \x88;"), std::string::npos) << line;
}

} // namespace
} // namespace newsbell
