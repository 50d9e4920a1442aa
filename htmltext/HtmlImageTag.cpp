#include "base/Error.h"
#include "htmltext/HTMLPictureCache.h"
#include "htmltext/HtmlMarkup.h"
#include "htmltext/HtmlRenderer.h"
#include "htmltext/ImageList.h"
#include "htmltext/PictureContainer.h"

#include <cmath>
#include <cstdint>

namespace newsbell {

namespace {

// Multiply, then divide, rounding to the nearest integer (halves away from zero).
int mulDiv(int value, int numerator, int denominator) {
    const std::int64_t product = std::int64_t(value) * numerator;
    const std::int64_t half = denominator / 2;
    return int(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

int scaled(int size, double factor) {
    return int(std::nearbyint(size * factor));
}

} // namespace

void HtmlRenderer::imageTag(LinePass& pass, std::string_view tag) {
    const int number = ++state.pictureCounter;
    const std::string_view written = html::tagAttributes(tag, 2);
    const std::string attributes = html::upperCase(written);

    // The source keeps its case; everything else is read upper-cased.
    std::string value;
    if (const size_t src = attributes.find("SRC"); src != std::string::npos)
        value = html::firstQuoted(written.substr(src + 3));
    if (auto alt = html::attributeValue(attributes, "ALT"); alt && number == pictureUnderPoint)
        value = *alt;
    const int width = html::readNumber(html::attributeValue(attributes, "WIDTH").value_or(""));
    const int height = html::readNumber(html::attributeValue(attributes, "HEIGHT").value_or(""));

    QSize size(0, 0);
    if (html::startsWithNoCase(value, "IDX:")) {
        value.erase(0, 4);
        size = listPicture(pass, value);
    } else if (html::startsWithNoCase(value, "SSYS:") || html::startsWithNoCase(value, "LSYS:")) {
        const bool large = html::upper(value.front()) == 'L';
        value.erase(0, 5);
        size = systemIcon(pass, value, large);
    }
    if (THTMLPicture* picture = namedPicture(value); picture && !picture->IsEmpty()) {
        const bool naturalSize = width < 1 || height < 1;
        size = pictureSize(naturalSize ? picture->NaturalWidth() : width,
                           naturalSize ? picture->NaturalHeight() : height);
        if (pass.painting() && naturalSize) {
            const int pictureLeft = pass.x + picture->FrameXPos();
            const int pictureTop = pass.line.Top + picture->FrameYPos();
            picture->Draw(canvas, {pictureLeft, pictureTop, pictureLeft + size.width(),
                                   pictureTop + size.height()});
        } else if (pass.painting()) {
            picture->Stretch = true;
            picture->Draw(canvas, {pass.x, pass.line.Top, pass.x + width, pass.line.Top + height});
        }
    }

    const int pointX = in.PointX - pass.line.Left;
    if (!pass.painting() && state.insideAnchor && pass.width < pointX &&
        pointX < pass.width + size.width() && pass.line.Top < in.PointY &&
        in.PointY < pass.line.Top + size.height()) {
        pass.overAnchorPicture = true;
        out.AnchorValue = state.anchorTarget;
        pictureUnderPoint = number;
    }

    if (pass.width + size.width() > pass.avail() && size.width() < pass.avail()) {
        pass.ended = true;
        pass.keepTag = true;
        return;
    }
    pass.width = addClamped(pass.width, size.width());
    pass.x = addClamped(pass.x, size.width());
    LineMetrics& metrics = pass.metrics;
    metrics.height = std::max(metrics.height, size.height());
    if (attributes.find("ALIGN") == std::string::npos) return;
    if (attributes.find("\"TOP") != std::string::npos)
        metrics.pictureOffset = metrics.height - standardHeight();
    else if (attributes.find("\"MIDDLE") != std::string::npos)
        metrics.pictureOffset = (metrics.height - standardHeight()) / 2;
}

QSize HtmlRenderer::pictureSize(int width, int height) const {
    return {mulDiv(width, canvas.pixelsPerInchX(), 96),
            mulDiv(height, canvas.pixelsPerInchY(), 96)};
}

QSize HtmlRenderer::listPicture(const LinePass& pass, const std::string& value) {
    if (!in.Images) return {0, 0};
    const ImageList& images = *in.Images;
    const int index = html::readNumber(value);
    if (index >= images.count()) return {0, 0};
    if (index >= 0 && pass.painting())
        drawAtLine(images.image(index), pass, images.width(), images.height());
    return {mulDiv(images.width(), canvas.pixelsPerInchX(), 96),
            mulDiv(images.height(), canvas.pixelsPerInchY(), 96)};
}

QSize HtmlRenderer::systemIcon(const LinePass& pass, const std::string& name, bool large) {
    if (!in.SystemIcons) return {0, 0};
    const SystemIconSource& icons = *in.SystemIcons;
    const int width = icons.iconWidth(large);
    const int height = icons.iconHeight(large);
    if (pass.painting())
        if (const QImage icon = icons.icon(name, large); !icon.isNull())
            drawAtLine(icon, pass, width, height);
    return {mulDiv(width, canvas.pixelsPerInchX(), 96),
            mulDiv(height, canvas.pixelsPerInchY(), 96)};
}

// Image-list pictures and icons at their own size, or stretched for printing.
void HtmlRenderer::drawAtLine(const QImage& image, const LinePass& pass, int width, int height) {
    if (in.PrintMode) {
        width = scaled(width, in.ResolutionFactor);
        height = scaled(height, in.ResolutionFactor);
    }
    canvas.drawImage(image, {pass.x, pass.line.Top, pass.x + width, pass.line.Top + height});
}

THTMLPicture* HtmlRenderer::namedPicture(const std::string& name) {
    THTMLPicture* picture = nullptr;
    if (name.find(':') == std::string::npos && in.PictureContainer)
        picture = in.PictureContainer->FindPicture(name);
    if (name.find("://") != std::string::npos && in.PictureCache) {
        picture = in.PictureCache->FindPicture(name);
        if (!picture) {
            picture = in.PictureCache->AddPicture();
            picture->Asynchronous = false;
            try {
                picture->LoadFromSource(name);
            } catch (const Error&) {
                // A picture that does not decode is simply not drawn.
            }
        }
    }
    return picture;
}

void HtmlRenderer::tileBackground(const std::string& name) {
    THTMLPicture* picture = namedPicture(name);
    if (!picture || picture->IsEmpty()) return;
    const int width = picture->Width();
    const int height = picture->Height();
    if (width <= 0 || height <= 0) return;
    canvas.setClipRect(in.Rect);
    for (int y = in.Rect.Top; y < in.Rect.Bottom; y += height)
        for (int x = in.Rect.Left; x < in.Rect.Right; x += width)
            picture->Draw(canvas, {x, y, x + width, y + height});
    canvas.setClipRect(std::nullopt);
}

} // namespace newsbell
