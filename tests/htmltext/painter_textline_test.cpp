#include "htmltext/TextLine.h"
#include "picture_testdata.h"

#include <QFont>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

class TextLineTest : public ::testing::Test {
protected:
    void SetUp() override { font = QFont(QString::fromLatin1(testing::dejaVuSans()), 12); }

    QFontMetrics metrics() const { return QFontMetrics(font); }
    int advance(const QString& text) const { return metrics().horizontalAdvance(text); }

    QFont font;
};

TEST_F(TextLineTest, ampersands_show_doubled_and_underline_when_single) {
    const TextLine doubled("a&&b", metrics());
    ASSERT_EQ(doubled.pieces().size(), 1u);
    EXPECT_EQ(doubled.pieces()[0].text, QStringLiteral("a&b"));
    EXPECT_TRUE(doubled.underlines().empty());

    const TextLine mnemonic("O&pen", metrics());
    EXPECT_EQ(mnemonic.pieces()[0].text, QStringLiteral("Open"));
    ASSERT_EQ(mnemonic.underlines().size(), 1u);
    EXPECT_EQ(mnemonic.underlines()[0].x, advance(QStringLiteral("O")));
    EXPECT_EQ(mnemonic.underlines()[0].width, advance(QStringLiteral("p")));

    const TextLine mixed("&&&x&", metrics());
    EXPECT_EQ(mixed.pieces()[0].text, QStringLiteral("&x")) << "a trailing ampersand shows nothing";
    ASSERT_EQ(mixed.underlines().size(), 1u);
    EXPECT_EQ(mixed.underlines()[0].x, advance(QStringLiteral("&")));
}

TEST_F(TextLineTest, cyrillic_bytes_and_marks_stay_in_step) {
    const TextLine line("\xC4&\xE0", metrics()); // "Да" with the "а" marked
    EXPECT_EQ(line.pieces()[0].text, QString::fromUtf8("Да"));
    ASSERT_EQ(line.underlines().size(), 1u);
    EXPECT_EQ(line.underlines()[0].x, advance(QString::fromUtf8("Д")));
    EXPECT_EQ(line.width(), advance(QString::fromUtf8("Да")));
}

TEST_F(TextLineTest, tabs_jump_to_stops_of_eight_average_characters) {
    const int stop = 8 * metrics().averageCharWidth();
    const TextLine line("a\tbb\t\tc", metrics());
    ASSERT_EQ(line.pieces().size(), 4u);
    EXPECT_EQ(line.pieces()[1].x, stop);
    EXPECT_EQ(line.pieces()[1].text, QStringLiteral("bb"));
    EXPECT_EQ(line.pieces()[3].x, 3 * stop);
    EXPECT_EQ(line.width(), 3 * stop + advance(QStringLiteral("c")));

    const TextLine marked("\t&x", metrics());
    ASSERT_EQ(marked.underlines().size(), 1u);
    EXPECT_EQ(marked.underlines()[0].x, stop);
}

TEST_F(TextLineTest, text_too_wide_ends_in_an_ellipsis_within_the_limit) {
    TextLine line("Starts in 0:25:00 from now", metrics());
    const int full = line.width();
    line.elide(full);
    EXPECT_EQ(line.width(), full) << "text that fits is left alone";

    const int limit = full / 2;
    line.elide(limit);
    EXPECT_LE(line.width(), limit);
    EXPECT_GT(line.width(), limit - advance(QStringLiteral("W...")))
        << "as much text as fits stays";
    EXPECT_EQ(line.pieces().back().text, QStringLiteral("..."));
}

TEST_F(TextLineTest, ellipsis_cuts_across_tab_stops) {
    TextLine line("abc\tdefghijklmnopqrstuvwxyz", metrics());
    const int stop = 8 * metrics().averageCharWidth();
    line.elide(stop + advance(QStringLiteral("de")) + advance(QStringLiteral("...")));
    ASSERT_EQ(line.pieces().size(), 3u);
    EXPECT_EQ(line.pieces()[1].text, QStringLiteral("de"));
    EXPECT_EQ(line.pieces()[2].x, stop + advance(QStringLiteral("de")));
}

TEST_F(TextLineTest, the_symbol_face_draws_its_bullet) {
    EXPECT_EQ(TextLine("\xB7", metrics(), true).pieces()[0].text, QString(QChar(0x2022)));
    EXPECT_EQ(TextLine("\xB7", metrics(), false).pieces()[0].text, QString(QChar(0xB7)));
}

} // namespace
} // namespace newsbell
