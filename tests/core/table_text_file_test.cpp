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
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
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
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

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
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("news.txt")});
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

// What stands at a path, links not followed.
std::string kindAt(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) return "nothing";
    if (S_ISLNK(status.st_mode)) return "link";
    if (S_ISDIR(status.st_mode)) return "folder";
    if (S_ISFIFO(status.st_mode)) return "fifo";
    if (S_ISCHR(status.st_mode)) return "device";
    return "file";
}

// Standard output is fd 1 for the time of one write.
struct StandardOutputRedirected {
    explicit StandardOutputRedirected(int descriptor) {
        std::fflush(stdout);
        ::dup2(descriptor, STDOUT_FILENO);
    }
    ~StandardOutputRedirected() {
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
    }
    int saved = ::dup(STDOUT_FILENO);
};

TEST_F(TableTextFile,
       outputs_are_replaced_written_in_place_or_refused_but_never_turned_into_files) {
    using newsbell::testing::readFileBytes;
    const QString file = path("file.txt");
    struct Case {
        const char* name;
        QString output;             // what the write is told
        std::function<void()> make; // what stands there before
        const char* reason;         // of the failure; nullptr when the write succeeds
        QString checked;            // the path whose kind and bytes are checked after
        std::string kind, bytes;    // what stands there after
    };
    const auto write = [](const QString& name, const char* bytes) {
        QFile out(name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    };
    const auto makeFifo = [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")), 0600), 0); };
    // clang-format off
    for (const Case& c : std::initializer_list<Case>{
             {"a link to a file", path("link"),
              [&] { write(file, "old"); QFile::link(file, path("link")); },
              nullptr, path("link"), "link", "new"},
             {"a link to a file that is not there yet", path("dangling"),
              [&] { QFile::link(path("later.txt"), path("dangling")); },
              nullptr, path("later.txt"), "file", "new"},
             {"a loop of links", path("loop1"),
              [&] { QFile::link(path("loop2"), path("loop1")); QFile::link(path("loop1"), path("loop2")); },
              "", path("loop1"), "link", "<missing>"},
             {"a folder", path("folder"), [&] { QDir(dir.path()).mkdir(QStringLiteral("folder")); },
              "это папка", path("folder"), "folder", "<missing>"},
             {"a missing folder", path("no/such/news.txt"), [] {},
              "нет папки", path("no"), "nothing", "<missing>"},
             {"a fifo nobody reads", path("fifo"), makeFifo,
              "канал никто не читает", path("fifo"), "fifo", "<missing>"},
             {"the null device", QStringLiteral("/dev/null"), [] {}, nullptr, QStringLiteral("/dev/null"), "device", ""},
             {"a full device", QStringLiteral("/dev/full"), [] {},
              "нет места на устройстве", QStringLiteral("/dev/full"), "device", "<missing>"},
         }) {
        // clang-format on
        SCOPED_TRACE(c.name);
        if (c.output.startsWith(QLatin1String("/dev/")) && !QFile::exists(c.output))
            continue; // not here
        c.make();
        try {
            writeFileAtomically(c.output, "new");
            EXPECT_EQ(c.reason, nullptr) << "a write that must fail went through";
        } catch (const Error& e) {
            const QString message = QString::fromUtf8(e.what());
            EXPECT_NE(c.reason, nullptr) << e.what();
            EXPECT_TRUE(message.contains(c.output) && message.contains(QString::fromUtf8(c.reason)))
                << e.what();
        }
        EXPECT_EQ(kindAt(c.checked), c.kind);
        if (c.kind != "device" && c.kind != "fifo") {
            EXPECT_EQ(readFileBytes(c.checked), c.bytes);
        }
    }
}

TEST_F(TableTextFile, fifos_and_standard_output_get_the_bytes_in_place) {
    using newsbell::testing::readWaiting;
    const QString fifo = path("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    writeFileAtomically(fifo, "to the robot\r\n");
    EXPECT_EQ(readWaiting(reader), "to the robot\r\n");
    EXPECT_EQ(kindAt(fifo), "fifo");
    ::close(reader);

    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_NONBLOCK), 0);
    {
        const StandardOutputRedirected redirected(ends[1]);
        writeFileAtomically(QStringLiteral("-"), "to standard output\r\n");
    }
    EXPECT_EQ(readWaiting(ends[0]), "to standard output\r\n");
    EXPECT_FALSE(QFile::exists(QStringLiteral("-"))) << "no file named -";

    ::close(ends[0]); // the reader went away: a failure, not the end of the program
    try {
        const StandardOutputRedirected redirected(ends[1]);
        writeFileAtomically(QStringLiteral("-"), "lost");
        ADD_FAILURE() << "a write nobody read went through";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Не удалось записать в стандартный вывод: читатель закрыл канал");
    }
    ::close(ends[1]);
}

} // namespace
