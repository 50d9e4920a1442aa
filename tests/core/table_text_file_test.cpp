#include "base/Error.h"
#include "core/TableTextFile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace newsbell;

namespace {

EventTable tableWith(std::initializer_list<Row> rows) {
    EventTable table;
    table.writeTitles();
    for (const Row& row : rows) table.appendRow(row);
    return table;
}

TEST(TableText, writes_columns_one_to_nine_as_they_stand_with_crlf_after_every_line) {
    EventTable table = tableWith({
        {"1", "2010.05.24", "1", "01:30", "AUD", "1", " Name", "", "", ""},
        {"7", "a;b", "", "", "", "", "line\nbreak", "x", "", "z"},
    });
    EXPECT_EQ(tableText(table), "2010.05.24;1;01:30;AUD;1; Name;;;\r\n"
                                "a;b;;;;;line\nbreak;x;;z\r\n");
}

TEST(TableText, a_title_only_table_gives_no_bytes) {
    EXPECT_EQ(tableText(tableWith({})), "");
}

class TableTextFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

TEST_F(TableTextFile, saving_again_replaces_the_whole_file) {
    WriteTableTextFile(tableWith({{"1", "a"}, {"2", "b"}}), path("news.txt"));
    WriteTableTextFile(tableWith({{"1", "c"}}), path("news.txt"));
    EXPECT_EQ(newsbell::testing::readFileBytes(path("news.txt")), "c;;;;;;;;\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("news.txt")});
}

TEST_F(TableTextFile, a_failed_save_names_the_file_and_leaves_the_old_one_whole) {
    WriteTableTextFile(tableWith({{"1", "old"}}), path("news.txt"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool directoryIsReadOnly = !QFile(path("probe")).open(QIODevice::WriteOnly);
    try {
        WriteTableTextFile(tableWith({{"1", "new"}}), path("news.txt"));
        EXPECT_FALSE(directoryIsReadOnly) << "a save into a read-only folder reported success";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("news.txt"), std::string::npos) << e.what();
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (directoryIsReadOnly) {
        EXPECT_EQ(newsbell::testing::readFileBytes(path("news.txt")), "old;;;;;;;;\r\n");
    }
}

TEST_F(TableTextFile, a_save_into_a_missing_folder_fails_with_the_reason) {
    try {
        WriteTableTextFile(tableWith({{"1", "x"}}), path("no/such/folder/news.txt"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("no/such/folder/news.txt"), std::string::npos);
    }
}

} // namespace
