#include "render_support.h"

#include <gtest/gtest.h>

namespace newsbell::testing {
namespace {

// An alert message as the alert pass composes it for a due event.
std::string alertMessage(const char* importancePhrase, const char* timingPhrase) {
    return cp1251("<b>2026.12.07</b> 14:30 USD ") + cp1251(importancePhrase) +
           cp1251(" <br><b><q> GDP</q></b><br> 0.5% 0.4%") + cp1251(timingPhrase);
}

TEST(RenderAlertMessage, shows_date_importance_name_values_and_timing_on_four_lines) {
    const std::string text =
        alertMessage(" <i> <b>Высокая важность </i></b>", " <br> Начнется через <b>0:25:00 </b>");
    Rendered r;
    render(r, inputFor(text));

    EXPECT_TRUE(textAt(r, "2026.12.07").font.bold);
    EXPECT_FALSE(textAt(r, "14:30 ").font.bold);
    const auto& importance = textAt(r, cp1251("Высокая "));
    EXPECT_TRUE(importance.font.bold);
    EXPECT_TRUE(importance.font.italic);
    EXPECT_EQ(importance.rect.Top, 0);
    const auto& name = textAt(r, "GDP");
    EXPECT_TRUE(name.font.bold);
    EXPECT_FALSE(name.font.italic);
    EXPECT_EQ(name.rect.Top, 16);
    EXPECT_FALSE(textAt(r, "0.5% ").font.bold);
    EXPECT_EQ(textAt(r, "0.5% ").rect.Top, 32);
    EXPECT_TRUE(textAt(r, "0:25:00 ").font.bold);
    EXPECT_EQ(textAt(r, "0:25:00 ").rect.Top, 48);
    EXPECT_EQ(r.output.ExtentY, 64);
    EXPECT_EQ(r.output.PlainText,
              cp1251("2026.12.07 14:30 USD   Высокая важность  \r GDP\r 0.5% 0.4% \r Начнется "
                     "через 0:25:00 "));
}

TEST(RenderAlertMessage, closing_tags_in_the_other_order_still_leave_bold_and_italic_off) {
    const std::string text =
        alertMessage(" <i> <b>Низкая важность </i></b>", " <br> Закончилось  <b>0:05:00 назад</b>");
    Rendered r;
    render(r, inputFor(text));
    const auto texts = r.texts();
    // The blank after the importance phrase, still on the first line.
    const auto after = std::find_if(texts.begin(), texts.end(), [](const auto& item) {
        return item.text == " " && item.rect.Top == 0 && item.rect.Left > 100;
    });
    ASSERT_NE(after, texts.end());
    EXPECT_FALSE(after->font.bold);
    EXPECT_FALSE(after->font.italic);
    EXPECT_TRUE(textAt(r, cp1251("назад")).font.bold);
}

TEST(RenderAlertMessage, cell_texts_escaped_by_the_alert_pass_show_as_they_stood) {
    Rendered r;
    render(r, inputFor(" <br><b><q> S&amp;P &lt;500></q></b><br>"));
    EXPECT_EQ(r.shown(), " | |S&P |<500>");
    EXPECT_TRUE(r.texts()[3].font.bold);
    EXPECT_EQ(r.output.ExtentY, 32);
}

TEST(RenderAlertMessage, q_tags_add_nothing_visible) {
    Rendered r;
    render(r, inputFor("<b>a <q>b</q> c</b>"));
    EXPECT_EQ(r.shown(), "a |b| |c");
    for (const auto& item : r.texts()) EXPECT_TRUE(item.font.bold) << item.text;
    EXPECT_EQ(r.output.PlainText, "a b c");
}

TEST(RenderAlertMessage, measuring_paints_nothing_and_gives_the_size_of_the_popup) {
    const std::string text = alertMessage("", "");
    Rendered measured;
    HtmlRenderInput input = inputFor(text, {10, 20, 10 + 4096, 20 + 4096});
    input.MeasureOnly = true;
    render(measured, input);
    EXPECT_TRUE(measured.surface.drawn().empty());
    EXPECT_EQ(measured.output.ExtentY, 48);
    // "2026.12.07 14:30 USD  ": only the last trailing blank is taken off.
    EXPECT_EQ(measured.output.ExtentX, 8 * 21);
}

TEST(RenderAlertMessage, the_surface_gets_its_font_and_brush_back) {
    Rendered r;
    Font start;
    start.face = "Tahoma";
    start.size = 9;
    start.color = 0x123456;
    r.surface.setFont(start);
    r.surface.setBrushColor(0xABCDEF);
    render(r, inputFor(alertMessage(" <i> <b>Высокая важность </i></b>", "")));
    EXPECT_EQ(r.surface.font(), start);
    EXPECT_EQ(r.surface.brushColor(), 0xABCDEFu);
    EXPECT_TRUE(r.surface.brushSolid());
    // Text is drawn transparently over the popup's background.
    EXPECT_EQ(textAt(r, "USD ").color, clNone);
    EXPECT_EQ(textAt(r, "USD ").font.face, "Tahoma");
}

} // namespace
} // namespace newsbell::testing
