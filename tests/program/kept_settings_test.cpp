#include "program/KeptSettings.h"
#include "tests/support/GuiTestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace newsbell {
namespace {

using namespace testing;

// The controls the settings look for, named as in the main window, with its defaults.
struct AlertFields : QWidget {
    AlertFields() {
        for (auto [name, initial] :
             {std::pair{"Edit1", "30"}, {"Edit2", "1"}, {"Edit3", "00"}, {"Edit4", "10"}}) {
            auto* field = new QLineEdit(QString::fromLatin1(initial), this);
            field->setObjectName(QString::fromLatin1(name));
        }
        for (const char* name : {"CheckBox4", "CheckBox12"}) {
            auto* box = new QCheckBox(this);
            box->setObjectName(QString::fromLatin1(name));
            box->setChecked(true);
        }
    }
    QLineEdit* field(const char* name) { return findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QCheckBox* box(const char* name) { return findChild<QCheckBox*>(QString::fromLatin1(name)); }
};

class KeptSettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<KeptSettings> open() {
        auto store = std::make_unique<QSettings>(folder.filePath(QStringLiteral("newsbell.ini")),
                                                 QSettings::IniFormat);
        return std::make_unique<KeptSettings>(std::move(store),
                                              [this](const QString& line) { lines << line; });
    }
    void writeRaw(const QByteArray& ini) {
        QFile file(folder.filePath(QStringLiteral("newsbell.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ini);
    }

    QTemporaryDir folder;
    QStringList lines;
};

TEST_F(KeptSettingsTest, what_the_trader_set_comes_back_at_the_next_start) {
    {
        auto settings = open();
        AlertFields window;
        settings->keepMainWindow(window);
        window.field("Edit3")->setText(QStringLiteral("1"));
        window.field("Edit1")->setText(QStringLiteral("15"));
        window.field("Edit4")->setText(QStringLiteral("")); // emptied while typing: not kept
        window.box("CheckBox4")->setChecked(false);
        settings->setCalendarAddress(QUrl(QStringLiteral("http://127.0.0.1:8080/e_cal.php")));
        settings->setSaveFolder(QStringLiteral("mainWindow"), folder.path());
    }
    auto settings = open();
    AlertFields window;
    settings->keepMainWindow(window);
    EXPECT_EQ(window.field("Edit3")->text(), QStringLiteral("1"));
    EXPECT_EQ(window.field("Edit1")->text(), QStringLiteral("15"));
    EXPECT_EQ(window.field("Edit4")->text(), QStringLiteral("10"));
    EXPECT_FALSE(window.box("CheckBox4")->isChecked());
    EXPECT_TRUE(window.box("CheckBox12")->isChecked());
    EXPECT_EQ(settings->calendarAddress(), QUrl(QStringLiteral("http://127.0.0.1:8080/e_cal.php")));
    EXPECT_EQ(settings->saveFolder(QStringLiteral("mainWindow")), folder.path());
    EXPECT_TRUE(lines.isEmpty()) << lines.join(QLatin1Char('\n')).toStdString();
}

TEST_F(KeptSettingsTest, an_unusable_value_leaves_the_default_with_one_line_each) {
    writeRaw("[mainWindow]\nEdit1=75\nEdit2=-1\nEdit3=abc\nEdit4=30\nCheckBox4=maybe\n"
             "geometry=@ByteArray(nonsense)\n[calendar]\naddress=ftp://old.example/\n");
    auto settings = open();
    AlertFields window;
    settings->keepMainWindow(window);
    EXPECT_EQ(window.field("Edit1")->text(), QStringLiteral("30"));
    EXPECT_EQ(window.field("Edit2")->text(), QStringLiteral("1"));
    EXPECT_EQ(window.field("Edit3")->text(), QStringLiteral("00"));
    EXPECT_EQ(window.field("Edit4")->text(), QStringLiteral("30"));
    EXPECT_TRUE(window.box("CheckBox4")->isChecked());
    EXPECT_EQ(settings->calendarAddress(), QUrl());
    EXPECT_EQ(lines.size(), 6) << lines.join(QLatin1Char('\n')).toStdString();
}

TEST_F(KeptSettingsTest, an_unreadable_file_gives_the_defaults_and_one_line) {
    writeRaw("[mainWindow\nEdit1=\"15\n\xff\xfe");
    auto settings = open();
    AlertFields window;
    settings->keepMainWindow(window);
    EXPECT_EQ(window.field("Edit1")->text(), QStringLiteral("30"));
    EXPECT_EQ(lines.size(), 1) << lines.join(QLatin1Char('\n')).toStdString();
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
