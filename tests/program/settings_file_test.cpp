#include "program/SettingsFile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace newsbell {
namespace {

using testing::readFileBytes;
using testing::setImmutable;

const QByteArray good = "[alert]\nleadMinutes=45\nafterMinutes=15\n";

QByteArray utf16(const QByteArray& utf8) {
    QStringEncoder encode(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encode(QString::fromUtf8(utf8));
}

struct TextCase {
    const char* name;
    QByteArray bytes;
    const char* problem; // a part of it; empty when the file reads whole
    QByteArray readable; // when it does not
};

TEST(SettingsText, tells_what_does_not_read_and_keeps_the_rest_under_their_own_sections) {
    const TextCase cases[] = {
        {"as QSettings writes it",
         "\xEF\xBB\xBF[General]\nweird%20key%3D%3B=v\r\n\n; note\n[alert]\n"
         "bytes=@ByteArray(\\x1\\xff\\\"\\n[)\npath=C:\\\\dir\\\\\nquote=\"say \\\"hi\\\"; "
         "there\"\n"
         "utf=\xD0\x9F\xD1\x80\xD0\xB8 ; a comment \"\n",
         "",
         {}},
        {"a section without its bracket",
         good + "[unterminated\nleadHours=5\n[calendar]\naddress=x\n", "строка 4 не читается",
         good + "[calendar]\naddress=x\n"},
        {"a quote that swallows the lines after it", "[alert]\nleadMinutes=\"45\nafterMinutes=15\n",
         "строка 2 не читается", "[alert]\nafterMinutes=15\n"},
        {"a line that goes on in the next", "[alert]\nleadMinutes=4\\\nafterMinutes=15\n",
         "строка 2 не читается", "[alert]\nafterMinutes=15\n"},
        {"no key", "[alert]\n=45\ngarbage\nafterMinutes=15\n", "строки 2, 3 не читаются",
         "[alert]\nafterMinutes=15\n"},
        {"not UTF-8, or a byte-order mark inside",
         QByteArrayLiteral(
             "[alert]\nleadMinutes=\xFF\xFE\nafter\0Minutes=1\n\xEF\xBB\xBF=5\nsound=true\n"),
         "строки 2, 3, 4 не читаются", "[alert]\nsound=true\n"},
        {"many at once", "a\nb\nc\nd\ne\nf\n[x]\ny=1\n", "строки 1, 2, 3, 4, 5, …", "[x]\ny=1\n"},
        {"UTF-16", utf16(good), "в кодировке UTF-16LE", good},
        {"too large", good + QByteArray(largestSettingsFile, 'x'), "больше 1 МБ", ""},
    };
    for (const TextCase& c : cases) {
        const SettingsText text = readSettingsText(c.bytes);
        if (*c.problem == '\0') {
            EXPECT_EQ(text.problem, QString()) << c.name;
            continue;
        }
        EXPECT_TRUE(text.problem.contains(QString::fromUtf8(c.problem)))
            << c.name << ": " << text.problem.toStdString();
        EXPECT_EQ(text.readable, c.readable) << c.name;
    }
}

class SettingsFileTest : public ::testing::Test {
protected:
    void TearDown() override { setImmutable(file, false); }

    void write(const QByteArray& bytes) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    static QString leadMinutes(const OpenedSettings& opened) {
        return opened.store ? opened.store->value(QStringLiteral("alert/leadMinutes")).toString()
                            : QStringLiteral("<refused>");
    }

    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("newsbell.ini"));
};

TEST_F(SettingsFileTest, a_file_that_reads_whole_is_used_as_it_stands_and_none_is_made) {
    write(good);
    OpenedSettings opened = openSettingsFile(file);
    EXPECT_EQ(leadMinutes(opened), QStringLiteral("45"));
    EXPECT_EQ(opened.notice, QString());
    EXPECT_EQ(opened.store->fileName(), file);
    opened = openSettingsFile(folder.filePath(QStringLiteral("new/newsbell.ini")));
    EXPECT_EQ(opened.notice, QString());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("newsbell.ini")});
}

TEST_F(SettingsFileTest, a_file_with_a_bad_line_is_kept_aside_and_its_good_values_go_on) {
    const QByteArray first = good + "[unterminated\n", second = "[alert]\nleadMinutes=\"5\n";
    write(first);
    OpenedSettings opened = openSettingsFile(file);
    EXPECT_EQ(leadMinutes(opened), QStringLiteral("45"));
    EXPECT_TRUE(opened.notice.contains(QStringLiteral("newsbell.ini.bad")))
        << opened.notice.toStdString();
    EXPECT_EQ(opened.store->fileName(), file);
    EXPECT_EQ(readFileBytes(file + QStringLiteral(".bad")), first.toStdString());
    EXPECT_EQ(readFileBytes(file), good.toStdString());

    write(second); // an earlier file kept aside stays as it was
    opened = openSettingsFile(file);
    EXPECT_TRUE(opened.notice.contains(QStringLiteral("newsbell.ini.bad.2")))
        << opened.notice.toStdString();
    EXPECT_EQ(readFileBytes(file + QStringLiteral(".bad")), first.toStdString());
    EXPECT_EQ(readFileBytes(file + QStringLiteral(".bad.2")), second.toStdString());
}

TEST_F(SettingsFileTest, a_utf16_file_is_read_and_written_anew_in_utf8) {
    write(utf16(good));
    OpenedSettings opened = openSettingsFile(file);
    EXPECT_EQ(leadMinutes(opened), QStringLiteral("45"));
    EXPECT_TRUE(opened.notice.contains(QStringLiteral("UTF-16"))) << opened.notice.toStdString();
    EXPECT_EQ(readFileBytes(file + QStringLiteral(".bad")), utf16(good).toStdString());
    EXPECT_EQ(readFileBytes(file), good.toStdString());
}

// A FIFO nobody writes would hold the start for ever.
TEST_F(SettingsFileTest, a_path_that_is_not_a_regular_file_is_refused_at_once) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.ini")));
    for (const QString& path :
         {file, folder.filePath(QStringLiteral("folder.ini")), QStringLiteral("/dev/zero")}) {
        const OpenedSettings opened = openSettingsFile(path);
        EXPECT_EQ(opened.store, nullptr) << path.toStdString();
        EXPECT_TRUE(opened.notice.contains(QStringLiteral("не обычный файл")))
            << opened.notice.toStdString();
    }
}

TEST_F(SettingsFileTest, a_bad_file_that_cannot_be_put_aside_is_left_alone_and_nothing_is_kept) {
    const QByteArray bad = good + "[unterminated\n";
    write(bad);
    if (!setImmutable(file, true)) GTEST_SKIP() << "the file system cannot make a file immutable";
    OpenedSettings opened = openSettingsFile(file);
    EXPECT_EQ(leadMinutes(opened), QStringLiteral("45"));
    EXPECT_TRUE(opened.notice.contains(QStringLiteral("не сохранятся")))
        << opened.notice.toStdString();
    opened.store->setValue(QStringLiteral("alert/leadMinutes"), 50);
    opened.store.reset();
    EXPECT_EQ(readFileBytes(file), bad.toStdString());
    EXPECT_FALSE(QFile::exists(file + QStringLiteral(".bad")));
}

} // namespace
} // namespace newsbell
