#include "alert/AlertPreview.h"

#include "alert/AlertWindow.h"

#include <utility>

namespace newsbell {

QImage renderAlertPreview(const AlertPreview& preview, const AlertWindowSettings& settings) {
    TAlertWindow window;
    for (const std::string& message : preview.messages) window.addMessage(message, 0);
    // As the component sets a popup up: its size first, which AutoSize may then change.
    window.resize(preview.size);
    window.applySettings(settings);
    for (int position = 1; position < preview.position; ++position) window.Next();
    if (preview.hovered) window.markButton(*preview.hovered, ButtonMark::Hover);
    if (preview.pressed) window.markButton(*preview.pressed, ButtonMark::Pressed);
    QImage picture(window.size(), QImage::Format_RGB32);
    window.render(&picture);
    return picture;
}

std::optional<AlertButton> alertButtonNamed(std::string_view name) {
    static constexpr std::pair<std::string_view, AlertButton> names[] = {
        {"close", AlertButton::Close},
        {"prev", AlertButton::Prev},
        {"next", AlertButton::Next},
        {"delete", AlertButton::Delete},
        {"popup", AlertButton::Popup}};
    for (const auto& [known, button] : names)
        if (known == name) return button;
    return std::nullopt;
}

} // namespace newsbell
