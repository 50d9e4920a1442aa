#include "base/Error.h"
#include "core/TableTextFile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

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
    QString path(const QString& name) const { return dir.filePath(name); }

    void saveOld() { WriteTableTextFile(tableWith({{"1", "old"}}), path("news.txt")); }

    // Saving table over the old save fails with an error that names the file and the reason,
    // and leaves the old save byte for byte and no file beside it.
    void expectFailedSave(const EventTable& table, const std::string& reason) {
        try {
            WriteTableTextFile(table, path("news.txt"));
            ADD_FAILURE() << "the failed save reported success";
        } catch (const Error& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(path("news.txt").toStdString()), std::string::npos) << message;
            EXPECT_NE(message.find(reason), std::string::npos) << message;
        }
        EXPECT_EQ(newsbell::testing::readFileBytes(path("news.txt")), "old;;;;;;;;\r\n");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"news.txt"});
    }
};

// Files of this process may grow to bytes, no further, while it stands: past that a write
// fails with "File too large", for root too, as it would on a full disk. The signal the
// kernel would send with it is ignored meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : signalBefore_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &before_);
        rlimit lowered = before_;
        lowered.rlim_cur = std::min(bytes, before_.rlim_max);
        set_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, signalBefore_);
    }
    bool set() const { return set_; }

private:
    void (*signalBefore_)(int);
    rlimit before_{};
    bool set_ = false;
};

TEST_F(TableTextFile, saving_again_replaces_the_whole_file) {
    WriteTableTextFile(tableWith({{"1", "a"}, {"2", "b"}}), path("news.txt"));
    WriteTableTextFile(tableWith({{"1", "c"}}), path("news.txt"));
    EXPECT_EQ(newsbell::testing::readFileBytes(path("news.txt")), "c;;;;;;;;\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"news.txt"});
}

TEST_F(TableTextFile, a_save_into_a_read_only_folder_fails_and_leaves_the_old_file_whole) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into a read-only folder; the full disk case below runs as "
                        "root";
    const auto writable = qScopeGuard([this] {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    saveOld();
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    expectFailedSave(tableWith({{"1", "new"}}), std::strerror(EACCES));
}

TEST_F(TableTextFile, a_disk_that_fills_while_saving_fails_and_leaves_the_old_file_whole) {
    const std::string tooLarge = std::strerror(EFBIG);
    const struct {
        rlim_t limit;
        size_t bytes;
    } cases[] = {
        {0, 20},         // not a byte goes in
        {8, 20},         // the first write goes in part of the way
        {20000, 100000}, // a long file, cut in the middle
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        saveOld();
        const EventTable table = tableWith({{"1", std::string(c.bytes, 'n')}});
        const FileSizeLimit limit(c.limit);
        ASSERT_TRUE(limit.set());
        expectFailedSave(table, tooLarge);
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
