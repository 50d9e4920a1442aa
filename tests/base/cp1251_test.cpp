#include "base/Cp1251.h"

#include <gtest/gtest.h>

using namespace newsbell;

TEST(Cp1251, converts_cyrillic_both_ways) {
    const QString text = QString::fromUtf8("Дата ёЁ №");
    EXPECT_EQ(toCp1251(text), "\xC4\xE0\xF2\xE0 \xB8\xA8 \xB9");
    EXPECT_EQ(fromCp1251(toCp1251(text)), text);
}

TEST(Cp1251, characters_the_code_page_lacks_become_question_marks) {
    EXPECT_EQ(toCp1251(QString::fromUtf8("a日b😀c€")), "a?b?c\x88");
    EXPECT_EQ(toCp1251(QString::fromUtf8("x\u001Ay日")),
              "x\x1Ay?"); // a real control character stays
}
