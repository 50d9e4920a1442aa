#include "mainwindow/TForm1.h"
#include "program/KeptSettings.h"
#include "program/SettingsFile.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FileBytes.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace newsbell {
namespace {

using namespace testing;

class KeptSettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<KeptSettings> open() {
        OpenedSettings opened = openSettingsFile(file);
        notice = opened.notice;
        return std::make_unique<KeptSettings>(std::move(opened.store),
                                              [this](const QString& line) { lines << line; });
    }
    void writeRaw(const QByteArray& ini) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(ini);
    }
    // A main window as it opens at the next start.
    std::unique_ptr<TForm1> window() {
        return std::make_unique<TForm1>(new FakeBrowser, fake.desktop(), errors,
                                        QUrl("http://127.0.0.1:9/e_cal.php"));
    }
    static QLineEdit* field(TForm1& form, const char* name) {
        return control<QLineEdit>(form, name);
    }
    static QCheckBox* box(TForm1& form, const char* name) { return control<QCheckBox>(form, name); }
    // Every key of the file with its value, as read now.
    QMap<QString, QVariant> fileNow() const {
        const QSettings store(file, QSettings::IniFormat);
        QMap<QString, QVariant> values;
        for (const QString& key : store.allKeys()) values.insert(key, store.value(key));
        return values;
    }

    QTemporaryDir folder;
    QString file = folder.filePath("newsbell.ini");
    const DataSource chosenFeed{DataSource::Feed, QUrl("http://127.0.0.1:8080/e_cal.php"),
                                folder.filePath("week.xml"), "Europe/London", "Asia/Tokyo"};
    QStringList lines;
    QString notice;
    FakeDesktop fake;
    ErrorReporter errors{fake.messages};
};

TEST_F(KeptSettingsTest, what_the_trader_set_comes_back_at_the_next_start) {
    {
        auto settings = open();
        auto form = window();
        settings->keepMainWindow(*form);
        field(*form, "Edit3")->setText("1");
        field(*form, "Edit1")->setText("15");
        field(*form, "Edit4")->setText(""); // emptied while typing: not kept
        box(*form, "CheckBox4")->setChecked(false);
        settings->setDataSource(chosenFeed);
        settings->setSaveFolder("mainWindow", folder.path());
    }
    auto settings = open();
    auto form = window();
    settings->keepMainWindow(*form);
    EXPECT_EQ(field(*form, "Edit3")->text(), "1");
    EXPECT_EQ(field(*form, "Edit1")->text(), "15");
    EXPECT_EQ(field(*form, "Edit4")->text(), "10");
    EXPECT_FALSE(box(*form, "CheckBox4")->isChecked());
    EXPECT_TRUE(box(*form, "CheckBox12")->isChecked());
    EXPECT_EQ(settings->dataSource(), chosenFeed);
    EXPECT_EQ(settings->saveFolder("mainWindow"), folder.path());
    EXPECT_TRUE(lines.isEmpty()) << lines.join('\n').toStdString();
}

TEST_F(KeptSettingsTest, an_unusable_value_leaves_the_default_with_one_line_each) {
    writeRaw("[alert]\nleadMinutes=75\nintervalMinutes=-1\nleadHours=" + QByteArray(100000, 'x') +
             "\nafterMinutes=30\ncurrencies\\EUR=maybe\n[mainWindow]\n"
             "geometry=@ByteArray(nonsense)\n[calendar]\naddress=ftp://old.example/\n");
    auto settings = open();
    auto form = window();
    settings->keepMainWindow(*form);
    EXPECT_EQ(field(*form, "Edit1")->text(), "30");
    EXPECT_EQ(field(*form, "Edit2")->text(), "1");
    EXPECT_EQ(field(*form, "Edit3")->text(), "00");
    EXPECT_EQ(field(*form, "Edit4")->text(), "30");
    EXPECT_TRUE(box(*form, "CheckBox4")->isChecked());
    EXPECT_EQ(settings->dataSource(), DataSource{});
    EXPECT_EQ(lines.size(), 6) << lines.join('\n').toStdString();
    // A value as long as the file is told cut short.
    for (const QString& line : lines) EXPECT_LT(line.size(), 300) << line.toStdString();
}

TEST_F(KeptSettingsTest, a_file_with_one_bad_line_keeps_its_good_values_and_is_kept_aside) {
    const QByteArray bad = "[alert]\nleadMinutes=15\n[unterminated\nafterMinutes=\"20\n";
    writeRaw(bad);
    {
        auto settings = open();
        auto form = window();
        settings->keepMainWindow(*form);
        EXPECT_EQ(field(*form, "Edit1")->text(), "15");
        EXPECT_EQ(field(*form, "Edit4")->text(), "10");
        EXPECT_TRUE(notice.contains(file + ".bad")) << notice.toStdString();
        field(*form, "Edit4")->setText("25");
    }
    EXPECT_EQ(readFileBytes(file + ".bad"), bad.toStdString());
    EXPECT_EQ(fileNow().value("alert/leadMinutes"), "15");
    EXPECT_EQ(fileNow().value("alert/afterMinutes"), "25");
    EXPECT_TRUE(lines.isEmpty()) << lines.join('\n').toStdString();
}

TEST_F(KeptSettingsTest, a_file_that_cannot_be_written_is_told_once) {
    writeRaw("[alert]\nleadMinutes=15\n");
    if (!setImmutable(file, true)) GTEST_SKIP() << "the file system cannot make a file immutable";
    {
        auto settings = open();
        QSignalSpy told(settings.get(), &KeptSettings::notSaved);
        auto form = window();
        settings->keepMainWindow(*form);
        field(*form, "Edit1")->setText("20");
        ASSERT_TRUE(told.wait(5000));
        field(*form, "Edit4")->setText("25");
        QTest::qWait(50);
        EXPECT_EQ(told.count(), 1);
    }
    setImmutable(file, false);
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].contains("не сохранены")) << lines[0].toStdString();
}

// The file below was written by the versions that kept the alert fields and boxes under their
// control names, with every one of them changed; nobody may lose a setting in the upgrade.
TEST_F(KeptSettingsTest, a_file_of_control_name_keys_keeps_every_value_under_readable_keys) {
    ASSERT_TRUE(QFile::copy(SETTINGS_FIXTURES "/control-name-keys.ini", file));
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    const QMap<QString, QVariant> before = fileNow();
    const std::pair<const char*, const char*> renamed[] = {
        {"Edit3", "alert/leadHours"},           {"Edit1", "alert/leadMinutes"},
        {"Edit2", "alert/intervalMinutes"},     {"Edit4", "alert/afterMinutes"},
        {"CheckBox4", "alert/currencies/EUR"},  {"CheckBox5", "alert/currencies/USD"},
        {"CheckBox6", "alert/currencies/CHF"},  {"CheckBox7", "alert/currencies/JPY"},
        {"CheckBox8", "alert/currencies/GBP"},  {"CheckBox9", "alert/currencies/AUD"},
        {"CheckBox10", "alert/currencies/CAD"}, {"CheckBox11", "alert/currencies/NZD"},
        {"CheckBox1", "alert/importance/1"},    {"CheckBox2", "alert/importance/2"},
        {"CheckBox3", "alert/importance/3"},    {"CheckBox12", "alert/popup"},
        {"CheckBox13", "alert/sound"}};
    const char* kept[] = {"mainWindow/geometry", "mainWindow/saveFolder", "weekWindow/geometry",
                          "weekWindow/saveFolder", "calendar/address"};
    ASSERT_EQ(before.size(), int(std::size(renamed) + std::size(kept)));

    auto form = window();
    QWidget weekWindow;
    {
        auto settings = open();
        settings->keepMainWindow(*form);
        settings->keepWeekWindow(weekWindow);
    }
    const QMap<QString, QVariant> after = fileNow();
    for (const auto& [name, key] : renamed) {
        const QString old = QStringLiteral("mainWindow/") + name;
        const QString value = before.value(old).toString();
        EXPECT_EQ(after.value(key).toString(), value) << key;
        EXPECT_FALSE(after.contains(old)) << name;
        const QString shown = QString(name).startsWith("Edit")
                                  ? field(*form, name)->text()
                                  : (box(*form, name)->isChecked() ? "true" : "false");
        EXPECT_EQ(shown, value) << name;
    }
    for (const char* key : kept) EXPECT_EQ(after.value(key), before.value(key)) << key;
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(lines.isEmpty()) << lines.join('\n').toStdString();
}

// The versions before "Источник данных..." kept a page's address alone, empty for the built-in
// calendar: it is read once into the source's keys.
TEST_F(KeptSettingsTest, the_calendar_address_of_earlier_versions_becomes_the_data_source) {
    const struct {
        QByteArray kept;
        DataSource::Kind kind;
    } cases[] = {{"http://127.0.0.1:8080/e_cal.php?duration=weekly", DataSource::Page},
                 {"", DataSource::Demo}};
    for (const auto& c : cases) {
        writeRaw("[calendar]\naddress=" + c.kept + "\n[robots]\nenabled=true\n");
        DataSource expected;
        expected.kind = c.kind;
        if (!c.kept.isEmpty()) expected.page = QUrl(c.kept);
        EXPECT_EQ(open()->dataSource(), expected) << c.kept.constData();
        EXPECT_EQ(open()->dataSource(), expected) << "again: " << c.kept.constData();
        const QMap<QString, QVariant> now = fileNow();
        EXPECT_FALSE(now.contains("calendar/address"));
        EXPECT_EQ(now.value("source/kind"), c.kind == DataSource::Page ? "page" : "demo");
        EXPECT_EQ(now.value("robots/enabled"), "true");
    }
    EXPECT_TRUE(lines.isEmpty()) << lines.join('\n').toStdString();
}

TEST_F(KeptSettingsTest, a_source_that_does_not_do_leaves_the_demonstration_with_a_line_each) {
    writeRaw("[source]\nkind=feed\nfeed=ftp://old.example/week.xml\nfeedZone=Mars/Olympus\n"
             "tableZone=UTC+03:00\naddress=http://127.0.0.1:8080/e_cal.php\n");
    DataSource expected;
    expected.page = QUrl("http://127.0.0.1:8080/e_cal.php");
    EXPECT_EQ(open()->dataSource(), expected);
    EXPECT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
    writeRaw("[source]\nkind=radio\n");
    EXPECT_EQ(open()->dataSource(), DataSource{});
    EXPECT_EQ(lines.size(), 4) << lines.join('\n').toStdString();
}

TEST_F(KeptSettingsTest, each_window_saves_where_it_saved_last) {
    auto settings = open();
    ScriptedFileChooser dialog;
    FolderKeepingFileChooser main(dialog, *settings, QStringLiteral("mainWindow"));
    FolderKeepingFileChooser weeks(dialog, *settings, QStringLiteral("weekWindow"));
    dialog.answers = {folder.filePath(QStringLiteral("week.txt")), QStringLiteral(""),
                      QStringLiteral("")};
    EXPECT_EQ(main.chooseFileToSave(nullptr, QStringLiteral("/usr/bin/newsbell")),
              folder.filePath(QStringLiteral("week.txt")));
    EXPECT_EQ(main.chooseFileToSave(nullptr, QStringLiteral("/usr/bin/newsbell")), std::nullopt);
    EXPECT_EQ(weeks.chooseFileToSave(nullptr, QStringLiteral("/usr/bin/newsbell")), std::nullopt);
    EXPECT_EQ(dialog.startPaths, QStringList({QStringLiteral("/usr/bin/newsbell"),
                                              folder.filePath(QStringLiteral(".")),
                                              QStringLiteral("/usr/bin/newsbell")}));
}

} // namespace
} // namespace newsbell
