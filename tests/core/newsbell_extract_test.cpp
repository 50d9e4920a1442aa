// The command-line extractor, run as a user would run it.
#include "tests/support/FileBytes.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode;
    QByteArray standardError;
};

Outcome extract(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(NEWSBELL_EXTRACT), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardError()};
}

const QString pages = QStringLiteral(PAGES_DIR);

TEST(NewsbellExtract, joins_weeks_into_the_file_and_the_grid) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("news.txt")),
                  grid = dir.filePath(QStringLiteral("grid.txt"));
    Outcome run = extract({pages + QStringLiteral("/joined-weeks/page1.html"),
                           pages + QStringLiteral("/joined-weeks/page2.html"), QStringLiteral("-o"),
                           out, QStringLiteral("--grid"), grid});
    EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(
        newsbell::testing::readFileBytes(out),
        newsbell::testing::readFileBytes(pages + QStringLiteral("/joined-weeks/expected.txt")));
    EXPECT_EQ(newsbell::testing::readFileBytes(grid),
              newsbell::testing::readFileBytes(pages +
                                               QStringLiteral("/joined-weeks/expected-grid.txt")));
}

TEST(NewsbellExtract, a_failing_page_writes_nothing_and_says_why) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("news.txt"));
    Outcome run = extract({pages + QStringLiteral("/normal-week/page1.html"),
                           pages + QStringLiteral("/fails-on-bad-day/page1.html"),
                           QStringLiteral("-o"), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.standardError.contains("' 2x' is not a valid integer value"))
        << run.standardError.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

TEST(NewsbellExtract, usage_errors_and_unreadable_pages_fail) {
    QTemporaryDir dir;
    EXPECT_EQ(extract({}).exitCode, 1);
    EXPECT_EQ(extract({pages + QStringLiteral("/normal-week/page1.html")}).exitCode, 1);
    Outcome missing = extract({dir.filePath(QStringLiteral("nothing.html")), QStringLiteral("-o"),
                               dir.filePath(QStringLiteral("news.txt"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.standardError.contains("nothing.html"));
}

} // namespace
