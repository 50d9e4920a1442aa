#pragma once

#include "alert/AlertWindow.h"

#include <QColor>
#include <cmath>
#include <string>
#include <vector>

namespace newsbell::testing {

// The colours the main window's alert component gives its popup.
inline constexpr TColor windowColor = 16440004, windowColorTo = 16105376;
inline constexpr TColor captionColor = 14059353, captionColorTo = 9841920;
inline constexpr TColor borderColor = 9841920;
inline constexpr TColor hoverColor = 14483455, hoverColorTo = 6013175;
inline constexpr TColor downColor = 557032, downColorTo = 8182519;

inline AlertWindowSettings schemeSettings() {
    AlertWindowSettings settings;
    settings.AutoHide = false;
    settings.Hover = false;
    settings.BorderColor = borderColor;
    settings.WindowColor = windowColor;
    settings.WindowColorTo = windowColorTo;
    settings.CaptionColor = captionColor;
    settings.CaptionColorTo = captionColorTo;
    settings.BtnHoverColor = hoverColor;
    settings.BtnHoverColorTo = hoverColorTo;
    settings.BtnDownColor = downColor;
    settings.BtnDownColorTo = downColorTo;
    return settings;
}

inline QRgb rgbOf(TColor color) {
    return qRgb(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

// The colour a top-to-bottom popup gradient of `count` bands over rows [top, top + height)
// leaves on row y: band i covers top + round(i * h) up to that + round(h) + 1, later bands
// over earlier ones, its channels start + round(i * (end - start) / count).
inline QRgb gradientRow(TColor from, TColor to, int top, int height, int count, int y) {
    const double h = double(height) / count;
    int band = -1;
    for (int i = 0; i < count; ++i) {
        const int start = top + int(std::nearbyint(i * h));
        if (y >= start && y < start + int(std::nearbyint(h)) + 1) band = i;
    }
    if (band < 0) return 0;
    auto channel = [&](int shift) {
        const int a = int(from >> shift & 0xFF);
        const int b = int(to >> shift & 0xFF);
        return a + int(std::nearbyint(double(band) * (b - a) / count));
    };
    return qRgb(channel(0), channel(8), channel(16));
}

// Everything the window tells its component, in order.
struct WindowEvents {
    std::vector<std::string> log;
    bool allowClose = true;

    explicit WindowEvents(TAlertWindow& window) {
        window.OnAnchorClick = [this](const std::string& anchor, int index) {
            log.push_back("anchor " + anchor + " " + std::to_string(index));
        };
        window.OnDeleteMessage = [this](int index) {
            log.push_back("delete " + std::to_string(index));
        };
        window.OnMouseLeave = [this] { log.push_back("leave"); };
        window.OnWindowMoved = [this] { log.push_back("moved"); };
        window.OnCanClose = [this](bool& canClose) {
            log.push_back("canclose");
            canClose = allowClose;
        };
        window.OnClose = [this] { log.push_back("close"); };
        window.OnNextMessage = [this] { log.push_back("next"); };
        window.OnPrevMessage = [this] { log.push_back("prev"); };
        window.OnPopupbtnClick = [this] { log.push_back("popup"); };
    }
    std::vector<std::string> take() { return std::exchange(log, {}); }
};

inline void addMessages(TAlertWindow& window, const std::vector<std::string>& messages) {
    for (const std::string& message : messages) window.addMessage(message, 0);
}

} // namespace newsbell::testing
