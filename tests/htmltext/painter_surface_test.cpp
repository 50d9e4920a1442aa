#include "htmltext/QPainterSurface.h"
#include "picture_testdata.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <memory>

namespace newsbell {
namespace {

using testing::solidImage;

// A white canvas with a surface on it, writing DejaVu Sans in black on a clear brush.
class Canvas {
public:
    explicit Canvas(int width = 120, int height = 60, int dotsPerInch = 96)
        : image(blank(width, height, dotsPerInch)) {
        painter = std::make_unique<QPainter>(&image);
        surface = std::make_unique<QPainterSurface>(*painter);
        Font font;
        font.face = testing::dejaVuSans();
        font.size = 12;
        surface->setFont(font);
        surface->setBrushClear();
    }

    const QImage& finished() {
        surface.reset();
        painter.reset();
        return image;
    }

    // The smallest rectangle holding every pixel that is not white.
    QRect inked() {
        const QImage& done = finished();
        QRect area;
        for (int y = 0; y < done.height(); ++y)
            for (int x = 0; x < done.width(); ++x)
                if (done.pixel(x, y) != qRgb(255, 255, 255)) area |= QRect(x, y, 1, 1);
        return area;
    }

    int count(QRgb color) {
        const QImage& done = finished();
        int found = 0;
        for (int y = 0; y < done.height(); ++y)
            for (int x = 0; x < done.width(); ++x) found += done.pixel(x, y) == color;
        return found;
    }

    static QImage blank(int width, int height, int dotsPerInch) {
        testing::ensureGuiApplication(); // before the surface loads its first font
        QImage image = solidImage(width, height, Qt::white);
        image.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
        image.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
        return image;
    }

    QImage image;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<QPainterSurface> surface;
};

TEST(QPainterSurfaceText, text_sits_on_the_bottom_of_its_rectangle) {
    Canvas canvas;
    const int height = canvas.surface->textHeight("gh");
    canvas.surface->drawText("Hg", {10, 0, 110, 50}, false);
    const QRect ink = canvas.inked();
    EXPECT_LT(ink.bottom(), 50);
    EXPECT_GE(ink.top(), 50 - height);
    EXPECT_GE(ink.left(), 10);
    EXPECT_GT(ink.bottom(), 50 - height / 2) << "the descender reaches toward the bottom";
}

TEST(QPainterSurfaceText, text_is_clipped_to_its_rectangle) {
    Canvas canvas;
    canvas.surface->drawText("WWWWWWWWWWWW", {10, 5, 40, 45}, false);
    const QRect ink = canvas.inked();
    EXPECT_GE(ink.left(), 10);
    EXPECT_LT(ink.right(), 40);
}

TEST(QPainterSurfaceText, a_solid_brush_paints_a_box_behind_the_text) {
    Canvas canvas;
    canvas.surface->setBrushColor(0x00FFFF); // yellow
    const int width = canvas.surface->textWidth("Hi");
    const int height = canvas.surface->textHeight("Hi");
    canvas.surface->drawText("Hi", {0, 0, 100, 40}, false);
    EXPECT_EQ(canvas.inked(), QRect(0, 40 - height, width, height));
    EXPECT_GT(canvas.count(qRgb(255, 255, 0)), width * height / 2);

    Canvas clear;
    clear.surface->drawText("Hi", {0, 0, 100, 40}, false);
    EXPECT_EQ(clear.count(qRgb(255, 255, 0)), 0);
}

TEST(QPainterSurfaceText, the_marked_character_is_underlined) {
    Canvas plain;
    plain.surface->drawText("W", {0, 0, 100, 40}, false);
    Canvas marked;
    marked.surface->drawText("&W", {0, 0, 100, 40}, false);
    EXPECT_GT(marked.inked().bottom(), plain.inked().bottom());
}

TEST(QPainterSurfaceText, an_ellipsis_keeps_the_text_inside_but_shows_that_more_was_cut) {
    Canvas cut;
    cut.surface->drawText("WWWWWWWWWWWW", {0, 0, 60, 40}, true);
    const QRect ink = cut.inked();
    EXPECT_LT(ink.right(), 60);
    Canvas clipped;
    clipped.surface->drawText("WWWWWWWWWWWW", {0, 0, 60, 40}, false);
    EXPECT_GT(clipped.count(qRgb(0, 0, 0)), cut.count(qRgb(0, 0, 0)))
        << "dots take less ink than the letters they replace";
}

TEST(QPainterSurfaceText, blanks_show_only_their_underline_or_strike_out) {
    for (const bool underline : {false, true}) {
        for (const bool strikeOut : {false, true}) {
            Canvas canvas;
            Font font = canvas.surface->font();
            font.underline = underline;
            font.strikeOut = strikeOut;
            canvas.surface->setFont(font);
            canvas.surface->drawText("   ", {10, 0, 110, 40}, false);
            canvas.surface->drawText("a b", {10, 40, 110, 60}, false);
            const QRect ink = canvas.inked();
            EXPECT_EQ(ink.top() < 40, underline || strikeOut) << underline << strikeOut;
            EXPECT_GE(ink.left(), 10);
        }
    }
}

TEST(QPainterSurfaceText, points_follow_the_device_resolution) {
    Canvas normal(120, 60, 96);
    Canvas fine(120, 60, 192);
    EXPECT_NEAR(fine.surface->textHeight("gh"), 2 * normal.surface->textHeight("gh"), 2);
    EXPECT_NEAR(fine.surface->textWidth("Hello"), 2 * normal.surface->textWidth("Hello"), 3);
    EXPECT_EQ(fine.surface->pixelsPerInchX(), 192);
    EXPECT_EQ(fine.surface->pixelsPerInchY(), 192);
}

TEST(QPainterSurfaceText, sizes_from_markup_never_break_the_font) {
    Canvas canvas;
    Font font = canvas.surface->font();
    font.size = 8;
    canvas.surface->setFont(font);
    const int eight = canvas.surface->textHeight("gh");
    font.size = 0;
    canvas.surface->setFont(font);
    EXPECT_EQ(canvas.surface->textHeight("gh"), eight);
    font.size = -8;
    canvas.surface->setFont(font);
    EXPECT_EQ(canvas.surface->textHeight("gh"), eight);
    font.size = 2000000000;
    canvas.surface->setFont(font);
    EXPECT_GT(canvas.surface->textHeight("gh"), 100);
    EXPECT_LT(canvas.surface->textHeight("gh"), 3000);
    EXPECT_EQ(canvas.surface->font().size, 2000000000) << "the font keeps what was asked";
}

TEST(QPainterSurfaceText, turned_text_runs_upward) {
    Canvas canvas(80, 120);
    Font font = canvas.surface->font();
    font.escapement = 900;
    canvas.surface->setFont(font);
    canvas.surface->drawText("WWWW", {40, 0, 80, 110}, false);
    const QRect ink = canvas.inked();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), 2 * ink.width());
    EXPECT_LE(ink.bottom(), 110);
}

TEST(QPainterSurfaceText, text_out_draws_at_its_top_left_without_prefixes) {
    Canvas amp;
    amp.surface->textOut(5, 5, "&");
    Canvas nothing;
    nothing.surface->drawText("&", {5, 5, 100, 40}, false);
    EXPECT_FALSE(amp.inked().isEmpty());
    EXPECT_GE(amp.inked().top(), 5);
    EXPECT_TRUE(nothing.inked().isEmpty());
}

TEST(QPainterSurfaceShapes, lines_leave_out_their_end_point) {
    Canvas canvas(20, 20);
    canvas.surface->setPenColor(0x0000FF);
    canvas.surface->drawLine(2, 3, 8, 3);
    canvas.surface->drawLine(10, 2, 10, 2);
    EXPECT_EQ(canvas.inked(), QRect(2, 3, 6, 1));
    EXPECT_EQ(canvas.count(qRgb(255, 0, 0)), 6);
}

TEST(QPainterSurfaceShapes, a_zigzag_of_short_diagonals_joins_up) {
    Canvas canvas(20, 20);
    canvas.surface->setPenColor(0x0000FF);
    canvas.surface->drawLine(0, 5, 2, 3);
    canvas.surface->drawLine(2, 3, 4, 5);
    const QImage& done = canvas.finished();
    EXPECT_EQ(done.pixel(0, 5), qRgb(255, 0, 0));
    EXPECT_EQ(done.pixel(1, 4), qRgb(255, 0, 0));
    EXPECT_EQ(done.pixel(2, 3), qRgb(255, 0, 0));
    EXPECT_EQ(done.pixel(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(done.pixel(4, 5), qRgb(255, 255, 255));
}

TEST(QPainterSurfaceShapes, fills_resolve_system_colours_and_skip_no_colour) {
    Canvas canvas(20, 20);
    canvas.surface->fillRect({0, 0, 5, 5}, 0xFF00000D); // highlight
    canvas.surface->fillRect({10, 10, 15, 15}, clNone);
    canvas.surface->fillRect({15, 0, 12, 5}, 0x000000); // turned inside out
    EXPECT_EQ(canvas.count(qRgb(0, 120, 215)), 25);
    EXPECT_EQ(canvas.inked(), QRect(0, 0, 5, 5));
}

TEST(QPainterSurfaceShapes, the_focus_frame_is_dotted_and_drawn_twice_goes_away) {
    Canvas canvas(20, 20);
    canvas.surface->drawFocusRect({2, 2, 12, 8});
    canvas.surface->drawFocusRect({2, 2, 12, 8});
    EXPECT_TRUE(canvas.inked().isEmpty());

    Canvas once(20, 20);
    once.surface->drawFocusRect({2, 2, 12, 8});
    const QImage& done = once.finished();
    EXPECT_EQ(once.inked(), QRect(2, 2, 10, 6));
    EXPECT_NE(done.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(done.pixel(3, 2), qRgb(255, 255, 255));
    EXPECT_NE(done.pixel(4, 2), qRgb(255, 255, 255));
    EXPECT_EQ(done.pixel(5, 5), qRgb(255, 255, 255));
}

TEST(QPainterSurfaceShapes, a_clip_keeps_drawing_inside_until_lifted) {
    Canvas canvas(20, 20);
    canvas.surface->setClipRect(TRect{5, 5, 10, 10});
    canvas.surface->fillRect({0, 0, 20, 20}, 0x000000);
    canvas.surface->setClipRect(std::nullopt);
    canvas.surface->fillRect({15, 15, 17, 17}, 0x000000);
    EXPECT_EQ(canvas.count(qRgb(0, 0, 0)), 25 + 4);
    EXPECT_EQ(canvas.inked(), QRect(5, 5, 12, 12));
}

TEST(QPainterSurfaceShapes, an_outline_stays_inside_its_rectangle) {
    for (const int pen : {1, 2}) {
        Canvas canvas(20, 20);
        canvas.surface->setPenColor(0x0000FF);
        canvas.surface->setPenWidth(pen);
        canvas.surface->outlineRect({2, 3, 12, 9});
        EXPECT_EQ(canvas.inked(), QRect(2, 3, 10, 6)) << pen;
        EXPECT_EQ(canvas.count(qRgb(255, 0, 0)), 10 * 6 - (10 - 2 * pen) * (6 - 2 * pen)) << pen;
    }
}

TEST(QPainterSurfaceShapes, images_stretch_over_their_target) {
    Canvas canvas(20, 20);
    canvas.surface->drawImage(solidImage(2, 1, Qt::red), {4, 4, 10, 7});
    EXPECT_EQ(canvas.count(qRgb(255, 0, 0)), 18);
    EXPECT_EQ(canvas.inked(), QRect(4, 4, 6, 3));

    QImage holed = solidImage(2, 1, Qt::red).convertToFormat(QImage::Format_ARGB32);
    holed.setPixel(1, 0, qRgba(0, 0, 0, 0));
    Canvas seeThrough(20, 20);
    seeThrough.surface->drawImage(holed, {4, 4, 10, 7});
    EXPECT_EQ(seeThrough.inked(), QRect(4, 4, 3, 3)) << "the transparent half leaves white";
}

TEST(QPainterSurfaceShapes, brush_and_pen_keep_what_was_set) {
    Canvas canvas(20, 20);
    QPainterSurface& surface = *canvas.surface;
    surface.setBrushColor(0x123456);
    EXPECT_TRUE(surface.brushSolid());
    EXPECT_EQ(surface.brushColor(), 0x123456u);
    surface.setBrushClear();
    EXPECT_FALSE(surface.brushSolid());
    EXPECT_EQ(surface.brushColor(), 0x123456u) << "a clear brush keeps its colour";
    surface.setPenWidth(3);
    surface.setPenColor(0xFF000008);
    EXPECT_EQ(surface.penWidth(), 3);
    EXPECT_EQ(surface.penColor(), 0xFF000008u);
}

} // namespace
} // namespace newsbell
