#include "alert/AlertWindowLayout.h"

#include "htmltext/ImageList.h"

#include <algorithm>

namespace newsbell {

namespace {

constexpr int buttonWidth = 20;

// The width of what the images put left of the message: the picture and a gap of 5.
int imageIndent(const AlertWindowSettings& settings) {
    return settings.Images ? settings.Images->width() + 5 : 0;
}

TRect bottomButton(int left, int height) {
    return {left, height - 26, left + buttonWidth, height - 1};
}

} // namespace

AlertWindowLayout layOutAlertWindow(int width, int height, const AlertWindowSettings& settings,
                                    bool navigatorVisible, int positionWidth) {
    AlertWindowLayout layout;
    layout.caption = {1, 1, width - 1, 7};
    layout.message = {imageIndent(settings) + settings.MarginX, 20 + settings.MarginY,
                      width - 20 - settings.MarginX, height - 25 - settings.MarginY};
    auto button = [&layout](AlertButton which) -> TRect& {
        return layout.buttons[std::size_t(which)];
    };
    const int centre = width / 2;
    const int halfText = positionWidth / 2;
    const int centred = centre - buttonWidth / 2;
    button(AlertButton::Close) = {width - 21, 8, width - 1, 28};
    button(AlertButton::Prev) = bottomButton(centre - buttonWidth - halfText, height);
    button(AlertButton::Next) = bottomButton(centre + halfText, height);
    button(AlertButton::Delete) =
        bottomButton(navigatorVisible ? centre + halfText + buttonWidth : centred, height);
    int popupLeft = centred;
    if (settings.ShowDelete)
        popupLeft = button(AlertButton::Delete).Right + 5;
    else if (navigatorVisible)
        popupLeft = button(AlertButton::Next).Right + 5;
    button(AlertButton::Popup) = bottomButton(popupLeft, height);
    return layout;
}

QSize alertWindowAutoSize(const AlertWindowSettings& settings, QSize messageExtent,
                          bool navigatorVisible) {
    const int imageWidth = settings.Images ? settings.Images->width() : 0;
    const int imageHeight = settings.Images ? settings.Images->height() : 0;
    const int bothButtons = settings.ShowPopup && settings.ShowDelete ? 2 * 20 + 10 : 0;
    const int minimumWidth = (navigatorVisible ? 145 : 10 + imageWidth + 20) + bothButtons;
    const int minimumHeight = navigatorVisible || settings.ShowDelete || settings.ShowPopup
                                  ? 75
                                  : std::max(10 + imageHeight, 30);
    const int above = std::max(settings.Images ? imageHeight + 5 : 20, 20);
    int width = std::max(messageExtent.width() + imageIndent(settings) + 2 * settings.MarginX + 20,
                         minimumWidth) +
                16;
    int height = std::max(above + messageExtent.height() + 2 * settings.MarginY +
                              (navigatorVisible ? 25 : 0),
                          minimumHeight) +
                 16;
    if (settings.MaxWidth != 0) width = std::min(width, settings.MaxWidth);
    if (settings.MaxHeight != 0) height = std::min(height, settings.MaxHeight);
    return {width, height};
}

std::string formatPosition(std::string_view format, int current, int count) {
    const int numbers[] = {current, count};
    std::size_t used = 0;
    std::string text;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (format[i] == '%' && next == '%') {
            text += '%';
            ++i;
        } else if (format[i] == '%' && (next == 'd' || next == 'D') && used < 2) {
            text += std::to_string(numbers[used++]);
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

bool contains(const TRect& rect, int x, int y) {
    return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
}

} // namespace newsbell
