#include "core/CellText.h"

#include <gtest/gtest.h>

using namespace newsbell;

namespace {

std::string plainCellText(std::string text) {
    text.resize(makeCellTextPlain(text.data(), text.size()));
    return text;
}

} // namespace

TEST(PlainCellText, decodes_the_references_a_page_uses) {
    EXPECT_EQ(plainCellText("S&amp;P &lt;x&gt; &quot;q&quot;&nbsp;end"), "S&P <x> \"q\" end");
    EXPECT_EQ(plainCellText("&#65;&#x42;&#X43;"), "ABC");
    EXPECT_EQ(plainCellText("&#8364;&#128;"), "\x88\x88"); // the euro sign, either way
    EXPECT_EQ(plainCellText("&#1044;"), "\xC4");           // Cyrillic capital De
    EXPECT_EQ(plainCellText("&#160;&#x2212;&#0;"), " ??"); // blank, no minus, no NUL
    EXPECT_EQ(plainCellText("&#99999999999999999999;"), "?");
}

TEST(PlainCellText, leaves_what_is_not_a_reference_it_knows) {
    EXPECT_EQ(plainCellText("&euro &#; &#12 &#x; &unknown; &"), "&euro &#, &#12 &#x, &unknown, &");
}

TEST(PlainCellText, nothing_in_a_cell_can_break_a_line_of_the_file) {
    EXPECT_EQ(plainCellText("a;b\r\nc\td&#59;e&#13;&#10;"), "a,b  c d,e  ");
}
