#ifdef HTMLTEXT_RENDER_PATH

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

struct ToolRun {
    int exitCode = -1;
    QJsonObject report;
    QString errors;
};

ToolRun runTool(const QByteArray& markup, const QStringList& options, QTemporaryDir& folder) {
    const QString input = folder.filePath("input.html");
    QFile file(input);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(markup);
    file.close();
    QProcess tool;
    tool.start(HTMLTEXT_RENDER_PATH, QStringList{input} + options);
    EXPECT_TRUE(tool.waitForFinished(30000));
    return {tool.exitCode(), QJsonDocument::fromJson(tool.readAllStandardOutput()).object(),
            QString::fromUtf8(tool.readAllStandardError())};
}

TEST(HtmltextRenderTool, reports_layout_and_the_link_under_a_point_with_fixed_metrics) {
    QTemporaryDir folder;
    // "Да " is three characters of 8 pixels; the link starts at x 25 (lines start at 1).
    const ToolRun run = runTool("\xC4\xE0 <a href=\"http://x/\xFF\">link</a><br>two",
                                {"--fixed-metrics", "--point", "30,8", "-o",
                                 folder.filePath("out.png"), "--width", "200", "--height", "50"},
                                folder);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.report["PlainText"].toString(), QString::fromUtf8("Да link\rtwo"));
    EXPECT_EQ(run.report["ExtentX"].toInt(), 7 * 8);
    EXPECT_EQ(run.report["ExtentY"].toInt(), 2 * 16);
    EXPECT_EQ(run.report["LinkCount"].toInt(), 1);
    EXPECT_TRUE(run.report["AnchorHit"].toBool());
    EXPECT_EQ(run.report["AnchorValue"].toString(), QString::fromUtf8("http://x/я"));
    EXPECT_EQ(run.report["MouseLink"].toInt(), 1);
    EXPECT_EQ(run.report["HoverRect"].toArray(), (QJsonArray{25, 0, 57, 16}));
    const QImage picture(folder.filePath("out.png"));
    EXPECT_EQ(picture.size(), QSize(200, 50));
    EXPECT_NE(picture.pixel(30, 8), picture.pixel(199, 49)) << "the link is drawn";
}

TEST(HtmltextRenderTool, leaves_out_the_hit_test_without_a_point_and_fails_plainly) {
    QTemporaryDir folder;
    const ToolRun run = runTool("<b>text</b>", {}, folder);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report["PlainText"].toString(), "text");
    EXPECT_GT(run.report["ExtentX"].toInt(), 0);
    EXPECT_FALSE(run.report.contains("AnchorHit"));

    EXPECT_EQ(runTool("x", {"--point", "3"}, folder).exitCode, 1);
    EXPECT_EQ(runTool("x", {"--width", "-5"}, folder).exitCode, 1);
    QProcess missing;
    missing.start(HTMLTEXT_RENDER_PATH, {folder.filePath("missing.html")});
    ASSERT_TRUE(missing.waitForFinished(30000));
    EXPECT_EQ(missing.exitCode(), 1);
    EXPECT_TRUE(missing.readAllStandardOutput().isEmpty());
}

} // namespace
} // namespace newsbell

#endif
