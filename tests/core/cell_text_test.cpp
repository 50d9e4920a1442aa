#include "core/CellText.h"

#include <gtest/gtest.h>
#include <memory>

using namespace newsbell;

namespace {

std::string plainCellText(std::string text) {
    makeCellTextPlain(text);
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

// The page sits in a buffer of exactly its size, so that the sanitizer build sees any read past
// its end; the cells start at every distance from that end.
TEST(CopiedCellText, is_the_cell_whole_wherever_it_sits_in_the_page) {
    const std::string text = "0123456789abcdefghij";
    const auto page = std::make_unique<char[]>(text.size());
    std::memcpy(page.get(), text.data(), text.size());
    const char* pageEnd = page.get() + text.size();
    std::string cell = "a cell that held a long text before";
    for (size_t start = 0; start < text.size(); ++start) {
        for (size_t length = 0; start + length <= text.size(); ++length) {
            copyCellText(cell, std::string_view(page.get() + start, length), pageEnd);
            ASSERT_EQ(cell, text.substr(start, length)) << start << " " << length;
            ASSERT_EQ(cell.c_str()[length], '\0');
        }
    }
    copyCellText(cell, {}, pageEnd); // the empty text of a cell with no end on the page
    EXPECT_EQ(cell, "");
}
