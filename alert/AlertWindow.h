#pragma once

#include "alert/AlertPopup.h"
#include "alert/AlertWindowLayout.h"
#include "alert/MsgScroller.h"
#include "htmltext/HTMLPictureCache.h"
#include "htmltext/RenderHtmlText.h"

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace newsbell {

enum class ButtonMark { None, Hover, Pressed };

// The alert popup: a frameless, topmost tool window that never takes the focus. It shows one
// message at a time under a caption strip that drags it, with a close button and, at the
// bottom, a navigator through the messages and delete and popup buttons.
class TAlertWindow final : public QWidget, public AlertPopup {
    Q_OBJECT
public:
    // owner: the window the popup stays above and belongs to.
    explicit TAlertWindow(QWidget* owner = nullptr);
    ~TAlertWindow() override;

    int messageCount() const override { return int(lines.size()); }
    void addMessage(const std::string& text, int imageIndex) override;
    void setMessage(int index, const std::string& text, int imageIndex) override;
    void clearMessages() override;
    void deleteMessage(int index) override;
    TMsgCollection& messageSettings() override { return settingsCopy; }
    void applySettings(const AlertWindowSettings& settings) override;
    bool isShown() const override { return isVisible(); }
    void setShown(bool shown) override;
    QRect bounds() const override { return geometry(); }
    void setBounds(const QRect& bounds) override { setGeometry(bounds); }
    void setOpacity(int alpha) override;
    QRect popupButtonRect() const override;

    const TMsgScroller& scroller() const { return navigator; }
    const std::string& messageText(int index) const;

    void Next();
    void Previous();
    // Deletes the shown message, if there is one.
    void DeleteCurrent();
    // Hides the window unless OnCanClose objects; nothing when it is hidden already.
    void closePath();
    // Gives a button the mark the mouse would, for previews of the window.
    void markButton(AlertButton button, ButtonMark mark);
    // Where the parts lie, measured in the window's font.
    AlertWindowLayout layout() const;

    // The whole window drawn on the surface, as paintEvent draws it on the screen.
    void paint(Surface& canvas) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Line {
        std::string text; // cp1251 mini-HTML
        int imageIndex = 0;
    };
    struct Marks {
        bool hover = false;
        bool pressed = false;
    };

    void listChanged();
    // The layout measured with the surface, which carries the window's font.
    AlertWindowLayout layoutOn(Surface& canvas) const;
    // Calls use with a surface that measures in the window's font and draws nothing.
    template <typename Use> auto measuring(Use use) const;
    HtmlRenderInput rendererInput(const TRect& rect) const;
    HtmlRenderOutput hitTest(QPoint point) const;
    void autoSize();

    // Mouse handling.
    bool canEnter(AlertButton button) const;
    bool canPress(AlertButton button) const;
    const std::string& hint(AlertButton button) const;
    void trackButtons(QPoint point);
    void trackLink(QPoint point);
    void clickLink(QPoint point);
    void forgetLink();
    Marks& marks(AlertButton button) { return buttonMarks[std::size_t(button)]; }

    // Painting. The frame (background, border, caption strip and its grip) is the same for
    // every message of the same colours; the content (buttons, message, position) changes.
    std::pair<TColor, TColor> backgroundColours() const;
    void paintFrame(Surface& canvas, const AlertWindowLayout& layout) const;
    void paintContent(Surface& canvas, const AlertWindowLayout& layout) const;
    void paintGrip(Surface& canvas) const;
    void paintButton(Surface& canvas, const AlertWindowLayout& layout, AlertButton button) const;
    void paintDefaultMark(Surface& canvas, AlertButton button, const TRect& rect,
                          bool movable) const;
    void paintPositionText(Surface& canvas) const;
    void paintMessage(Surface& canvas, const TRect& rect) const;
    bool movable(AlertButton button) const;
    const QImage& glyph(AlertButton button) const;

    std::vector<Line> lines;
    TMsgCollection settingsCopy;
    TMsgScroller navigator;
    AlertWindowSettings current;
    // The glyphs as they are drawn: see-through where they are transparent, and the grey
    // copies shown while previous or next cannot move.
    std::array<QImage, alertButtonCount> glyphs;
    QImage greyPrev;
    QImage greyNext;
    mutable THTMLPictureCache pictures;
    std::array<Marks, alertButtonCount> buttonMarks;
    bool dragging = false;
    QPoint dragStartMouse; // screen coordinates
    QPoint dragStartWindow;
    int hoverLink = -1; // 1-based anchor under the mouse
    TRect hoverRect;
    QString rememberedHint;

    // What the frame was last painted for.
    struct FrameKey {
        QSize size;
        qreal pixelRatio = 0;
        TRect caption;
        std::array<TColor, 5> colours{};
        bool operator==(const FrameKey&) const = default;
    };
    // The frame as paintEvent last painted it, with the pen and brush it left: a repaint (a
    // hover, a press, the next message) draws it in one go instead of its hundred bands.
    struct PaintedFrame {
        FrameKey key;
        QImage image;
        TColor brush = 0;
        bool brushSolid = false;
        TColor pen = 0;
        int penWidth = 1;
    };
    PaintedFrame frame;
};

} // namespace newsbell
