#include "core/TableTextFile.h"
#include "mainwindow/TForm1.h"
#include "program/KeptSettings.h"
#include "program/RobotFiles.h"
#include "program/RobotFilesDialog.h"
#include "program/RobotFilesItem.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FileBytes.h"
#include "tests/support/WeekPages.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using namespace testing;

// Answers the folder dialog with the next prepared answer; none cancels.
class ScriptedFolderChooser final : public FolderChooser {
public:
    std::optional<QString> chooseFolder(QWidget*, const QString& start) override {
        starts << start;
        if (answers.empty()) return std::nullopt;
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<QString> answers;
    QStringList starts;
};

TEST(RobotFilesDialog, offers_ok_only_with_a_folder_that_exists_while_switched_on) {
    QTemporaryDir folder;
    ScriptedFolderChooser folders;
    RobotFilesDialog dialog(RobotFilesSettings{}, folders);
    QPushButton* ok = dialog.buttons->button(QDialogButtonBox::Ok);
    EXPECT_TRUE(ok->isEnabled()) << "switched off, nothing is needed";
    EXPECT_EQ(dialog.settings(), RobotFilesSettings{}) << "30 and 30 minutes, importance 3 only";

    dialog.enabledBox->setChecked(true);
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(dialog.problemLabel->text().isEmpty());
    dialog.folderField->setText(folder.filePath("missing"));
    EXPECT_FALSE(ok->isEnabled());

    folders.answers = {folder.path()};
    dialog.chooseButton->click();
    EXPECT_EQ(folders.starts, QStringList{folder.filePath("missing")});
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(dialog.problemLabel->text().isEmpty());
    dialog.chooseButton->click(); // cancelled: the folder stays
    dialog.beforeField->setValue(5);
    dialog.afterField->setValue(1440);
    dialog.importanceBoxes[0]->setChecked(true);

    RobotFilesSettings expected{true, folder.path(), {}};
    expected.gate.beforeMinutes = 5;
    expected.gate.afterMinutes = 1440;
    expected.gate.importances = {true, false, true};
    EXPECT_EQ(dialog.settings(), expected);
}

const QDate monday(2010, 5, 24);
const QUrl page("http://127.0.0.1:9/e_cal.php?duration=weekly&timezone_panel=show");

// The main window on a page of six events (importance 3: Monday 08:20 and Wednesday 08:50, all
// USD), at Wednesday 08:30, and the writer beside it.
class RobotFilesTest : public ::testing::Test {
protected:
    RobotFilesTest() {
        browser->page = legacyWeekPage(monday, 6);
        fake.clock.set(QDateTime(QDate(2010, 5, 26), QTime(8, 30)));
    }

    RobotFilesSettings switchedOn(const QString& into) const {
        RobotFilesSettings settings;
        settings.enabled = true;
        settings.folder = into;
        return settings;
    }
    QString week() const { return folder.filePath("newsbell_week.txt"); }
    QString gate() const { return folder.filePath("newsbell_gate.txt"); }
    // Marks a file as written long ago, so that a rewrite shows in its time.
    static void age(const QString& file) {
        QFile aged(file);
        ASSERT_TRUE(aged.open(QIODevice::ReadWrite));
        ASSERT_TRUE(aged.setFileTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)),
                                     QFileDevice::FileModificationTime));
    }
    static bool rewritten(const QString& file) {
        return QFileInfo(file).lastModified().date().year() != 2000;
    }

    QTemporaryDir folder;
    FakeDesktop fake;
    ErrorReporter errors{fake.messages};
    FakeBrowser* browser = new FakeBrowser;
    TForm1 form{browser, fake.desktop(), errors, page};
    RobotFilesWriter writer{form, fake.clock, errors};
};

const std::string gateAtHalfPastEight = "EUR;0;;;;;\r\n"
                                        "USD;1;3000;2010.05.26;08:50;3;Index 5\r\n"
                                        "CHF;0;;;;;\r\nJPY;0;;;;;\r\nGBP;0;;;;;\r\n"
                                        "AUD;0;;;;;\r\nCAD;0;;;;;\r\nNZD;0;;;;;\r\n";

TEST_F(RobotFilesTest, every_extraction_writes_the_saved_table_and_the_gate_then_each_minute) {
    writer.setSettings(switchedOn(folder.path()));
    EXPECT_FALSE(QFile::exists(week())) << "nothing before the table is read";
    form.collectTable();
    ASSERT_TRUE(fake.messages.shown.isEmpty()) << fake.messages.shown.join('\n').toStdString();
    EXPECT_EQ(readFileBytes(week()), expectedWeekText(monday, 6));
    EXPECT_EQ(readFileBytes(gate()), gateAtHalfPastEight);

    // The gate follows the clock and the window's currency boxes.
    fake.clock.set(QDateTime(QDate(2010, 5, 26), QTime(9, 20)));
    control<QCheckBox>(form, "CheckBox4")->setChecked(false); // EUR
    writer.writeGate();
    EXPECT_EQ(readFileBytes(gate()).substr(0, 20), "USD;0;;;;;\r\nCHF;0;;;");
}

TEST_F(RobotFilesTest, files_are_replaced_only_when_their_bytes_change) {
    writer.setSettings(switchedOn(folder.path()));
    form.collectTable();
    age(week());
    age(gate());
    form.collectTable();
    writer.writeGate();
    EXPECT_FALSE(rewritten(week()));
    EXPECT_FALSE(rewritten(gate()));

    fake.clock.advance(std::chrono::seconds(60));
    writer.writeGate();
    EXPECT_FALSE(rewritten(week()));
    EXPECT_TRUE(rewritten(gate()));
    browser->page = legacyWeekPage(monday, 7);
    form.collectTable();
    EXPECT_EQ(readFileBytes(week()), expectedWeekText(monday, 7));
}

TEST_F(RobotFilesTest, a_failed_extraction_leaves_both_files_until_one_succeeds) {
    writer.setSettings(switchedOn(folder.path()));
    form.collectTable();
    age(week());
    age(gate());
    browser->failure = "no answer";
    form.collectTable();
    EXPECT_EQ(fake.messages.shown, QStringList{"no answer"});
    fake.clock.advance(std::chrono::seconds(60));
    writer.writeGate();
    EXPECT_FALSE(rewritten(week()));
    EXPECT_FALSE(rewritten(gate())) << "the gate's time tells how old the table is";
    EXPECT_EQ(readFileBytes(gate()), gateAtHalfPastEight);

    browser->failure.clear();
    form.collectTable();
    EXPECT_TRUE(rewritten(gate()));
}

TEST_F(RobotFilesTest, a_folder_that_cannot_be_written_is_told_once_until_a_write_succeeds) {
    const QString missing = folder.filePath("terminal/Files");
    writer.setSettings(switchedOn(missing));
    form.collectTable();
    for (int minute = 1; minute <= 3; ++minute) {
        fake.clock.advance(std::chrono::seconds(60));
        writer.writeGate();
    }
    form.collectTable();
    QCoreApplication::processEvents(); // the message waits for the pass to end
    ASSERT_EQ(fake.messages.shown.size(), 1);
    EXPECT_TRUE(fake.messages.shown[0].startsWith("Файлы для советников не записаны: "))
        << fake.messages.shown[0].toStdString();
    EXPECT_TRUE(fake.messages.shown[0].contains("terminal/Files"));

    ASSERT_TRUE(QDir().mkpath(missing));
    writer.writeGate();
    EXPECT_TRUE(QFile::exists(QDir(missing).filePath("newsbell_gate.txt")));
    ASSERT_TRUE(QDir(missing).removeRecursively());
    writer.writeGate();
    QCoreApplication::processEvents();
    EXPECT_EQ(fake.messages.shown.size(), 2) << "told again after a write went through";
}

TEST_F(RobotFilesTest, the_menu_item_switches_on_reads_the_page_at_once_and_keeps_the_choice) {
    KeptSettings kept(
        std::make_unique<QSettings>(folder.filePath("newsbell.ini"), QSettings::IniFormat),
        [](const QString&) {});
    ScriptedFolderChooser folders;
    RobotFilesItem item(form, folders, writer, &kept);
    ASSERT_TRUE(form.findChild<QMenu*>()->actions().contains(item.action));
    EXPECT_EQ(item.action->text(), QString("Файлы для советников..."));

    RobotFilesSettings chosen = switchedOn(folder.path());
    chosen.gate.beforeMinutes = 0;
    item.useSettings(chosen);
    EXPECT_EQ(readFileBytes(week()), expectedWeekText(monday, 6));
    EXPECT_TRUE(QFile::exists(gate()));
    EXPECT_EQ(kept.robotFiles(), chosen);
}

TEST(RobotFilesSettings, are_kept_under_readable_keys_and_unusable_values_keep_defaults) {
    QTemporaryDir folder;
    const QString file = folder.filePath("newsbell.ini");
    {
        QSettings raw(file, QSettings::IniFormat);
        raw.setValue("robots/enabled", "yes");
        raw.setValue("robots/folder", "/srv/terminal/Files");
        raw.setValue("robots/beforeMinutes", "1441");
        raw.setValue("robots/afterMinutes", "15");
        raw.setValue("robots/importance/2", "true");
        raw.setValue("robots/importance/3", "maybe");
    }
    QStringList lines;
    KeptSettings kept(std::make_unique<QSettings>(file, QSettings::IniFormat),
                      [&lines](const QString& line) { lines << line; });
    RobotFilesSettings expected;
    expected.folder = "/srv/terminal/Files";
    expected.gate.afterMinutes = 15;
    expected.gate.importances = {false, true, true};
    EXPECT_EQ(kept.robotFiles(), expected);
    EXPECT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
}

} // namespace
} // namespace newsbell
