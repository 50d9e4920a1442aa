// The rewriting on its own, on markup Chromium writes and on markup it never would.
#include "browser/LegacyMarkup.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

std::string legacy(const char* html) {
    return toLegacyMarkup(QString::fromUtf8(html)).toStdString();
}

TEST(ToLegacyMarkup, rewrites_a_calendar_row_into_the_form_the_markers_expect) {
    EXPECT_EQ(legacy("<tr id=\"eventRowId_7\" class=\"ec_tr\"><td class=\"ec_td_date\" "
                     "nowrap=\"\">Dec 7</td><td class=\"ec_td_event\"><a class=\"ec_b_11\" "
                     "href=\"javascript:slide(7)\">CPI</a></td></tr>"),
              "<TR id=eventRowId_7 class=ec_tr><TD class=ec_td_date noWrap>Dec 7</TD>"
              "<TD class=ec_td_event><A class=ec_b_11 href=\"javascript:slide(7)\">CPI</A>"
              "</TD></TR>");
}

TEST(ToLegacyMarkup, keeps_quotes_where_a_value_is_not_one_word) {
    EXPECT_EQ(legacy("<p a=\"\" b=\"x y\" c=\"1>2<3\" d=\"a&amp;b\" e=\"&quot;\" f=\"ok_1.-\">"),
              "<P a=\"\" b=\"x y\" c=\"1>2<3\" d=\"a&amp;b\" e=\"&quot;\" f=ok_1.->");
    // Non-ASCII letters are not simple word characters for the legacy browser either.
    EXPECT_EQ(legacy("<p title=\"Дата\">"), "<P title=\"Дата\">");
}

TEST(ToLegacyMarkup, writes_every_known_boolean_attribute_bare_whatever_its_value) {
    EXPECT_EQ(legacy("<input readonly=\"\" checked=\"checked\" disabled=\"false\" "
                     "ismap=\"\" nohref=\"\" noshade=\"\" noresize=\"\" multiple=\"\" "
                     "selected=\"\" compact=\"\" defer=\"\" declare=\"\" NOWRAP=\"\">"),
              "<INPUT readOnly checked disabled isMap noHref noShade noResize multiple selected "
              "compact defer declare noWrap>");
    EXPECT_EQ(legacy("<p hidden=\"\" nowrapx=\"\">"), "<P hidden=\"\" nowrapx=\"\">");
}

TEST(ToLegacyMarkup, leaves_text_comments_and_raw_text_alone) {
    EXPECT_EQ(legacy("a &lt; b &amp;&nbsp;\"c\" > d"), "a &lt; b &amp;&nbsp;\"c\" > d");
    EXPECT_EQ(legacy("<!-- <td nowrap=\"\"> --><b>x</b>"), "<!-- <td nowrap=\"\"> --><B>x</B>");
    EXPECT_EQ(legacy("<script type=\"text/javascript\">if (a<b) s = '<td class=\"x\">';"
                     "</script><style>p>b{}</style><noscript><b class=\"y\"></noscript>"),
              "<SCRIPT type=\"text/javascript\">if (a<b) s = '<td class=\"x\">';</SCRIPT>"
              "<STYLE>p>b{}</STYLE><NOSCRIPT><b class=\"y\"></NOSCRIPT>");
    EXPECT_EQ(legacy("<scripty class=\"z\">a</scripty>"), "<SCRIPTY class=z>a</SCRIPTY>");
}

TEST(ToLegacyMarkup, upper_cases_names_of_foreign_elements_too) {
    EXPECT_EQ(legacy("<svg viewBox=\"0 0 1 1\"><foreignObject></foreignObject></svg>"),
              "<SVG viewBox=\"0 0 1 1\"><FOREIGNOBJECT></FOREIGNOBJECT></SVG>");
}

TEST(ToLegacyMarkup, passes_on_markup_chromium_would_not_write_without_losing_text) {
    EXPECT_EQ(legacy(""), "");
    EXPECT_EQ(legacy("a < b <1 <"), "a < b <1 <");
    EXPECT_EQ(legacy("<p class=plain id = x / hidden>t"), "<P class=plain id=x hidden>t");
    EXPECT_EQ(legacy("<p title=\"never closed>t"), "<P title=\"never closed>t\"");
    EXPECT_EQ(legacy("<p class=\"a\""), "<P class=a");
    EXPECT_EQ(legacy("<!-- open"), "<!-- open");
    EXPECT_EQ(legacy("<script>never closed"), "<SCRIPT>never closed");
    EXPECT_EQ(legacy("<a =\"x\">"), "<A =x>");
}

} // namespace
} // namespace newsbell
