#include "htmltext/QPainterSurface.h"
#include "htmltext/RenderHtmlText.h"
#include "picture_testdata.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <filesystem>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

// Alert messages and other markup drawn as the popup draws them, compared with pictures
// kept beside each input (NAME.html, cp1251, and NAME.png). Fonts are rasterised a little
// differently from one library version to the next, so a few pixels may differ. Set
// NEWSBELL_UPDATE_GOLDENS=1 to write the pictures anew after a deliberate change.

constexpr int popupWidth = 300;
constexpr int popupHeight = 100;
constexpr int channelTolerance = 48;
constexpr double differingShare = 0.0005; // 15 pixels of a popup; one changed digit is 40

const std::filesystem::path goldenFolder = GOLDEN_DIR;

QImage render(const QByteArray& markup) {
    QImage image(popupWidth, popupHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    Font font;
    font.face = testing::dejaVuSans();
    surface.setFont(font);
    surface.setBrushColor(0xFFFFFF);
    HtmlRenderInput input;
    input.Text = std::string_view(markup.constData(), std::size_t(markup.size()));
    input.Rect = TRect{0, 0, popupWidth, popupHeight};
    HtmlRenderOutput output;
    RenderHtmlText(surface, input, output);
    return image;
}

bool samePixel(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= channelTolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= channelTolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= channelTolerance;
}

// Empty when the pictures match; otherwise what differs.
std::string compare(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size()) return "the sizes differ";
    const QImage want = expected.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            differing += !samePixel(actual.pixel(x, y), want.pixel(x, y));
    if (differing <= differingShare * actual.width() * actual.height()) return {};
    return std::to_string(differing) + " pixels differ";
}

std::vector<std::filesystem::path> goldenInputs() {
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(goldenFolder))
        if (entry.path().extension() == ".html") inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

QByteArray readAll(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return file.readAll();
}

TEST(GoldenPictures, messages_look_as_they_did) {
    testing::ensureGuiApplication();
    const bool update = qEnvironmentVariableIntValue("NEWSBELL_UPDATE_GOLDENS") == 1;
    const std::vector<std::filesystem::path> inputs = goldenInputs();
    ASSERT_FALSE(inputs.empty()) << goldenFolder;
    for (const std::filesystem::path& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        const QImage actual = render(readAll(input));
        const QString expectedPath =
            QString::fromStdString(std::filesystem::path(input).replace_extension(".png").string());
        if (update) {
            EXPECT_TRUE(actual.save(expectedPath));
            continue;
        }
        const QImage expected(expectedPath);
        ASSERT_FALSE(expected.isNull()) << "no picture at " << expectedPath.toStdString();
        const std::string difference = compare(actual, expected);
        if (difference.empty()) continue;
        QDir().mkpath(QStringLiteral("golden-actual"));
        const QString actualPath =
            QDir(QStringLiteral("golden-actual"))
                .absoluteFilePath(QString::fromStdString(input.stem().string()) +
                                  QStringLiteral(".png"));
        actual.save(actualPath);
        ADD_FAILURE() << difference << "; the picture drawn now is " << actualPath.toStdString();
    }
}

TEST(GoldenPictures, the_comparison_tells_a_changed_message_apart) {
    testing::ensureGuiApplication();
    const QByteArray bold = "<b>2026.12.07</b> 14:30 USD";
    const QByteArray plain = "2026.12.07 14:30 USD";
    EXPECT_EQ(compare(render(bold), render(bold)), "");
    EXPECT_NE(compare(render(bold), render(plain)), "");
    EXPECT_NE(compare(render(bold), render("<b>2026.12.07</b> 14:31 USD")), "");
}

} // namespace
} // namespace newsbell
