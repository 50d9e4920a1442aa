#pragma once

#include "alert/AlertPopup.h"
#include "alert/AlertWindowLayout.h"

#include <QImage>
#include <QSize>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace newsbell {

// A picture of the popup as it would show some messages: for previewing alert markup and for
// checking the popup's painting from outside.
struct AlertPreview {
    std::vector<std::string> messages; // cp1251 mini-HTML
    QSize size{300, 100};
    int position = 1; // the message shown, from 1
    std::optional<AlertButton> hovered;
    std::optional<AlertButton> pressed;
};

// Needs a QApplication; the popup is painted without being shown.
QImage renderAlertPreview(const AlertPreview& preview, const AlertWindowSettings& settings);

// "close", "prev", "next", "delete" or "popup".
std::optional<AlertButton> alertButtonNamed(std::string_view name);

} // namespace newsbell
