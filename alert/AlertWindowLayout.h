#pragma once

#include "alert/AlertPopup.h"
#include "htmltext/Surface.h"

#include <QSize>
#include <array>
#include <string>
#include <string_view>

namespace newsbell {

// The popup's buttons, in the order the mouse handling visits them.
enum class AlertButton { Close, Prev, Next, Delete, Popup };
inline constexpr int alertButtonCount = 5;

// Where the parts of a popup lie, in its own coordinates.
struct AlertWindowLayout {
    TRect caption; // the strip that drags the window
    TRect message;
    std::array<TRect, alertButtonCount> buttons;

    const TRect& button(AlertButton which) const { return buttons[std::size_t(which)]; }
};

// The layout of a width x height popup. positionWidth is the width of the widest position
// text ("2 of 3" when there are three messages) plus 8: the navigator's buttons sit around it.
AlertWindowLayout layOutAlertWindow(int width, int height, const AlertWindowSettings& settings,
                                    bool navigatorVisible, int positionWidth);

// The size that fits the messages, whose largest extents the renderer measured.
QSize alertWindowAutoSize(const AlertWindowSettings& settings, QSize messageExtent,
                          bool navigatorVisible);

// The position text: each "%d" takes the next of the two numbers and "%%" is one "%". Nothing
// else is read as a conversion, so no format a user types can reach beyond the two numbers.
std::string formatPosition(std::string_view format, int current, int count);

bool contains(const TRect& rect, int x, int y);

} // namespace newsbell
