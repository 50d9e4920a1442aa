#include "BrowserTestSupport.h"

#include <gtest/gtest.h>

namespace newsbell::testing {
namespace {

// The body of an inline page as the host gives it.
std::string bodyOf(const char* body) {
    WebEngineBrowserHost host;
    EXPECT_TRUE(load(host, htmlPage(QStringLiteral("<!DOCTYPE html><html><body>%1</body></html>")
                                        .arg(QString::fromUtf8(body)))));
    return host.bodyHtml();
}

TEST(LegacySerialiser, writes_tags_upper_case_and_simple_values_bare) {
    EXPECT_EQ(bodyOf("<div id=\"main\" class=\"ec_td_time\"><span data-x=\"a-b_c.9\">x</span>"
                     "<br></div>"),
              "<DIV id=main class=ec_td_time><SPAN data-x=a-b_c.9>x</SPAN><BR></DIV>");
}

TEST(LegacySerialiser, quotes_values_that_are_not_single_words) {
    EXPECT_EQ(bodyOf("<a class=\"ec_b_11\" href=\"javascript:slide(123)\" title=\"a b\" alt=\"\" "
                     "data-q='say \"hi\" > & <'>n</a>"),
              "<A class=ec_b_11 href=\"javascript:slide(123)\" title=\"a b\" alt=\"\" "
              "data-q=\"say &quot;hi&quot; > &amp; <\">n</A>");
}

TEST(LegacySerialiser, writes_boolean_attributes_bare_in_legacy_capitalisation) {
    EXPECT_EQ(bodyOf("<table><tbody><tr><td class=\"ec_td_date\" nowrap>May 24</td>"
                     "<td nowrap=\"nowrap\">x</td></tr></tbody></table>"
                     "<input type=\"checkbox\" checked disabled readonly>"
                     "<select multiple><option selected>o</option></select>"),
              "<TABLE><TBODY><TR><TD class=ec_td_date noWrap>May 24</TD><TD noWrap>x</TD></TR>"
              "</TBODY></TABLE><INPUT type=checkbox checked disabled readOnly>"
              "<SELECT multiple><OPTION selected>o</OPTION></SELECT>");
}

TEST(LegacySerialiser, attribute_names_that_only_look_special_stay_ordinary) {
    // "constructor" is a property of every script object; it must not pass for a boolean.
    EXPECT_EQ(bodyOf("<p constructor=\"x y\" hidden>t</p>"),
              "<P constructor=\"x y\" hidden=\"\">t</P>");
}

TEST(LegacySerialiser, escapes_text_and_writes_no_break_spaces_as_entities) {
    EXPECT_EQ(bodyOf("<p>a &lt; b &amp; c &gt; d&nbsp;e \"q\"</p><p title=\"x&nbsp;y\">&nbsp;</p>"),
              "<P>a &lt; b &amp; c &gt; d&nbsp;e \"q\"</P><P title=\"x&nbsp;y\">&nbsp;</P>");
}

TEST(LegacySerialiser, keeps_script_and_style_text_and_comments_as_they_are) {
    EXPECT_EQ(bodyOf("<script>var a = 1, b = 2, c = 3, d = 4, x;\nif (a < b && c > d) x = '<b "
                     "class=\"k\">';</script>"
                     "<style>p > b { color: red }</style><!-- <td nowrap> -->"
                     "<b class=\"k\">t</b>"),
              "<SCRIPT>var a = 1, b = 2, c = 3, d = 4, x;\nif (a < b && c > d) x = '<b "
              "class=\"k\">';</SCRIPT>"
              "<STYLE>p > b { color: red }</STYLE><!-- <td nowrap> -->"
              "<B class=k>t</B>");
}

TEST(LegacySerialiser, converts_to_cp1251_with_question_marks_for_the_rest) {
    // "Дата" in cp1251, then a euro sign (0x88 there) and two characters cp1251 lacks.
    EXPECT_EQ(bodyOf("<p>Дата €★中</p>"), "<P>\xC4\xE0\xF2\xE0 \x88?"
                                          "?</P>");
}

} // namespace
} // namespace newsbell::testing
