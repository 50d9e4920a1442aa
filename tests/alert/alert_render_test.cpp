#include "alert_window_support.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

struct ToolRun {
    int exitCode = -1;
    QString errors;
};

ToolRun runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(ALERT_RENDER_PATH), arguments);
    EXPECT_TRUE(tool.waitForFinished(30000));
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
}

TEST(AlertRenderTool, paints_the_popup_in_the_main_windows_colours) {
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("popup.png"));
    const ToolRun run = runTool(
        {out, QStringLiteral("--width"), QStringLiteral("320"), QStringLiteral("--height"),
         QStringLiteral("110"), QStringLiteral("--position"), QStringLiteral("2"),
         QStringLiteral("--press"), QStringLiteral("close"), QStringLiteral("<b>Первое</b>"),
         QStringLiteral("Второе"), QStringLiteral("Третье")});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QImage picture(out);
    ASSERT_EQ(picture.size(), QSize(320, 110));
    EXPECT_EQ(picture.pixel(0, 0), testing::rgbOf(testing::borderColor));
    EXPECT_EQ(picture.pixel(5, 1),
              testing::gradientRow(testing::captionColor, testing::captionColorTo, 1, 6, 16, 1));
    EXPECT_EQ(picture.pixel(2, 8),
              testing::gradientRow(testing::windowColor, testing::windowColorTo, 0, 110, 80, 8));
    EXPECT_EQ(picture.pixel(320 - 21, 8), qRgb(0, 0, 0)) << "the pressed close button's frame";
}

TEST(AlertRenderTool, refuses_bad_arguments_plainly) {
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("popup.png"));
    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{out}, "at least one MESSAGE"},
        {{out, QStringLiteral("--width"), QStringLiteral("0"), QStringLiteral("m")},
         "--width wants a number from 1 to 10000"},
        {{out, QStringLiteral("--height"), QStringLiteral("x"), QStringLiteral("m")},
         "--height wants"},
        {{out, QStringLiteral("--position"), QStringLiteral("3"), QStringLiteral("a"),
          QStringLiteral("b")},
         "--position wants a number from 1 to 2"},
        {{out, QStringLiteral("--hover"), QStringLiteral("help"), QStringLiteral("m")},
         "--hover wants close, prev, next, delete or popup"},
        {{folder.filePath(QStringLiteral("missing/popup.png")), QStringLiteral("m")},
         "cannot write"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.message;
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.message))) << run.errors.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}

} // namespace
} // namespace newsbell
