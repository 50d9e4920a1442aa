#include "base/Cp1251.h"

#include <gtest/gtest.h>

using namespace newsbell;

TEST(Cp1251, converts_cyrillic_both_ways) {
    const QString text = QString::fromUtf8("Дата ёЁ №");
    EXPECT_EQ(toCp1251(text), "\xC4\xE0\xF2\xE0 \xB8\xA8 \xB9");
    EXPECT_EQ(fromCp1251(toCp1251(text)), text);
}

// Every character the code page has comes back as it was; none of them is folded.
TEST(Cp1251, characters_the_code_page_has_go_both_ways_unchanged) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string bytes(1, char(byte));
        EXPECT_EQ(toCp1251(fromCp1251(bytes)), bytes) << byte;
    }
}

TEST(Cp1251, characters_the_code_page_lacks_become_their_base_letters_or_a_question_mark) {
    struct Case {
        const char* utf8;
        const char* cp1251;
    } cases[] = {
        {"Repair-Café für Straße", "Repair-Cafe fur Strasse"},
        {"ñ Å Ḱ ệ ǘ", "n A K e u"}, // marks dropped, however many
        {"ß ł Ł ø Ø đ Đ æ Æ œ Œ ı", "ss l L o O d D ae AE oe OE i"},
        {"й Й ё Ё € № «»", "\xE9 \xC9 \xB8 \xA8 \x88 \xB9 \xAB\xBB"}, // the code page has them
        {"ѐ ѝ Ӂ", "\xE5 \xE8 \xC6"},                // Cyrillic letters it lacks fold to its own
        {"a日b😀c", "a?b?c"},                        // one "?" for two UTF-16 units too
        {"α ά ħ þ ĳ ﬁ", "? ? ? ? ? ?"},             // no base letter it has
        {"\u226E \u2260 \u037E \u00B4", "? ? ? ?"}, // letters only, never "<" or ";" (≮, Greek ";")
        {"x\u001Ay\u200Bz", "x\x1Ay?z"},            // controls stay, invisible ones are marked
    };
    for (const Case& c : cases) EXPECT_EQ(toCp1251(QString::fromUtf8(c.utf8)), c.cp1251) << c.utf8;
    EXPECT_EQ(toCp1251(QString(QChar(0xD800)) + u'x'), "?x"); // a lone half of a pair
}
