// Any markup, laid out, painted, hit-tested and measured on the fixed-metrics surface, with
// named pictures, an image list and a picture cache at hand: nothing may crash, read out of
// bounds or hang.

#include "htmltext/FixedMetricsSurface.h"
#include "htmltext/HTMLPictureCache.h"
#include "htmltext/PictureContainer.h"
#include "htmltext/RenderHtmlText.h"
#include "tests/support/FakeImageList.h"

#include <QBuffer>
#include <QImage>
#include <cstddef>
#include <cstdint>

using namespace newsbell;

namespace {

// A container with one picture under the name "DOT"; BMP decodes without image plugins.
TPictureContainer& container() {
    static TPictureContainer pictures;
    static const bool filled = [] {
        TPictureItem& item = pictures.Items().Add();
        item.Name = "dot";
        QImage image(5, 3, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadWrite);
        image.save(&buffer, "BMP");
        item.Picture().LoadFromStream(&buffer);
        return true;
    }();
    (void)filled;
    return pictures;
}

void render(std::string_view markup, HtmlRenderInput input) {
    FixedMetricsSurface surface;
    surface.setBrushColor(0xFFFFFF);
    input.Text = markup;
    HtmlRenderOutput output;
    RenderHtmlText(surface, input, output);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view markup(reinterpret_cast<const char*>(data), size);
    static const testing::FakeImageList images(2, QSize(16, 12));
    THTMLPictureCache cache; // fresh per input, so inputs do not depend on each other
    HtmlRenderInput input;
    input.Rect = TRect{0, 0, 300, 200};
    input.Images = &images;
    input.PictureContainer = &container();
    input.PictureCache = &cache;

    render(markup, input); // paint, as the popup does

    HtmlRenderInput hitTest = input; // over the first line's text, as a mouse would
    hitTest.HitTestOnly = true;
    hitTest.BlinkOn = false;
    hitTest.PointX = 20;
    hitTest.PointY = 10;
    render(markup, hitTest);

    HtmlRenderInput measure = input; // the popup sizing itself, no wrapping, every effect on
    measure.MeasureOnly = true;
    measure.Rect = TRect{0, 0, 4096, 4096};
    render(markup, measure);

    HtmlRenderInput unwrapped = input;
    unwrapped.WordWrap = false;
    unwrapped.FocusLink = 0;
    unwrapped.HoverStyle = true;
    unwrapped.HoverLink = 1;
    unwrapped.HoverColor = 0x00FFFF;
    unwrapped.HoverFontColor = 0xFF00000E;
    unwrapped.PrintMode = true;
    unwrapped.ResolutionFactor = 1.5;
    unwrapped.LineSpacing = 2;
    render(markup, unwrapped);
    return 0;
}
