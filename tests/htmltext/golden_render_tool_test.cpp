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
    const QString input = folder.filePath(QStringLiteral("input.html"));
    QFile file(input);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(markup);
    file.close();
    QProcess tool;
    tool.start(QStringLiteral(HTMLTEXT_RENDER_PATH), QStringList{input} + options);
    EXPECT_TRUE(tool.waitForFinished(30000));
    return {tool.exitCode(), QJsonDocument::fromJson(tool.readAllStandardOutput()).object(),
            QString::fromUtf8(tool.readAllStandardError())};
}

TEST(HtmltextRenderTool, reports_layout_and_the_link_under_a_point_with_fixed_metrics) {
    QTemporaryDir folder;
    // "Да " is three characters of 8 pixels; the link starts at x 25 (lines start at 1).
    const ToolRun run =
        runTool("\xC4\xE0 <a href=\"http://x/\xFF\">link</a><br>two",
                {QStringLiteral("--fixed-metrics"), QStringLiteral("--point"),
                 QStringLiteral("30,8"), QStringLiteral("-o"),
                 folder.filePath(QStringLiteral("out.png")), QStringLiteral("--width"),
                 QStringLiteral("200"), QStringLiteral("--height"), QStringLiteral("50")},
                folder);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.report[QStringLiteral("PlainText")].toString(),
              QString::fromUtf8("Да link\rtwo"));
    EXPECT_EQ(run.report[QStringLiteral("ExtentX")].toInt(), 7 * 8);
    EXPECT_EQ(run.report[QStringLiteral("ExtentY")].toInt(), 2 * 16);
    EXPECT_EQ(run.report[QStringLiteral("LinkCount")].toInt(), 1);
    EXPECT_TRUE(run.report[QStringLiteral("AnchorHit")].toBool());
    EXPECT_EQ(run.report[QStringLiteral("AnchorValue")].toString(),
              QString::fromUtf8("http://x/я"));
    EXPECT_EQ(run.report[QStringLiteral("MouseLink")].toInt(), 1);
    EXPECT_EQ(run.report[QStringLiteral("HoverRect")].toArray(), (QJsonArray{25, 0, 57, 16}));
    const QImage picture(folder.filePath(QStringLiteral("out.png")));
    EXPECT_EQ(picture.size(), QSize(200, 50));
    EXPECT_NE(picture.pixel(30, 8), picture.pixel(199, 49)) << "the link is drawn";
}

TEST(HtmltextRenderTool, leaves_out_the_hit_test_without_a_point_and_fails_plainly) {
    QTemporaryDir folder;
    const ToolRun run = runTool("<b>text</b>", {}, folder);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report[QStringLiteral("PlainText")].toString(), QStringLiteral("text"));
    EXPECT_GT(run.report[QStringLiteral("ExtentX")].toInt(), 0);
    EXPECT_FALSE(run.report.contains(QStringLiteral("AnchorHit")));

    EXPECT_EQ(runTool("x", {QStringLiteral("--point"), QStringLiteral("3")}, folder).exitCode, 1);
    EXPECT_EQ(runTool("x", {QStringLiteral("--width"), QStringLiteral("-5")}, folder).exitCode, 1);
    QProcess missing;
    missing.start(QStringLiteral(HTMLTEXT_RENDER_PATH),
                  {folder.filePath(QStringLiteral("missing.html"))});
    ASSERT_TRUE(missing.waitForFinished(30000));
    EXPECT_EQ(missing.exitCode(), 1);
    EXPECT_TRUE(missing.readAllStandardOutput().isEmpty());
}

} // namespace
} // namespace newsbell

#endif
