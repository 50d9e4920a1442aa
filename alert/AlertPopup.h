#pragma once

#include "alert/MsgCollection.h"
#include "base/Color.h"
#include "htmltext/Surface.h"

#include <QImage>
#include <QRect>
#include <functional>
#include <string>

namespace newsbell {

class ImageList;
class TPictureContainer;

enum TGradientDirection { gdHorizontal, gdVertical };

// Everything the alert component copies into its popup before a show. The defaults are the
// popup's own, for a popup that no component has set up.
struct AlertWindowSettings {
    bool AlwaysOnTop = false;
    bool AutoHide = true;
    bool AutoSize = false;
    bool AutoDelete = false;
    TColor BorderColor = clGray;
    TColor BtnHoverColor = 12298658;
    TColor BtnHoverColorTo = 12298658;
    TColor BtnDownColor = 10981255;
    TColor BtnDownColorTo = 10981255;
    TColor CaptionColor = clWhite;
    TColor CaptionColorTo = clGray;
    TColor WindowColor = clWhite;
    TColor WindowColorTo = clBtnFace;
    TGradientDirection GradientDirection = gdVertical;
    newsbell::Font Font;
    // Empty images draw the default marks.
    QImage GlyphPrev, GlyphNext, GlyphDelete, GlyphClose, GlyphPopup;
    // cp1251, like every text of the component.
    std::string HintNextBtn = "Next";
    std::string HintPrevBtn = "Previous";
    std::string HintCloseBtn = "Close";
    std::string HintDeleteBtn = "Delete";
    std::string HintPopupBtn = "Popup";
    bool Hover = true;
    const ImageList* Images = nullptr;
    TPictureContainer* PictureContainer = nullptr;
    int MarginX = 4;
    int MarginY = 1;
    int MaxWidth = 0;
    int MaxHeight = 0;
    std::string PositionFormat = "%d of %d";
    bool ShowDelete = true;
    bool ShowPopup = false;
};

// The popup as the alert component drives it. TAlertWindow is the real one; tests of the
// component put a fake in its place. Everything here runs on the user-interface thread.
class AlertPopup {
public:
    virtual ~AlertPopup() = default;

    // The message list: one line of mini-HTML per message, with its image index.
    virtual int messageCount() const = 0;
    virtual void addMessage(const std::string& text, int imageIndex) = 0;
    virtual void setMessage(int index, const std::string& text, int imageIndex) = 0;
    // Emptying the list runs the close path.
    virtual void clearMessages() = 0;
    // Fails with "Invalid Index" for a line the list does not have; raises OnDeleteMessage.
    virtual void deleteMessage(int index) = 0;
    // The copy of each message's settings; the shown message's colours paint the background.
    virtual TMsgCollection& messageSettings() = 0;

    // Copies the settings in; with AutoSize the popup sizes itself to its messages here.
    virtual void applySettings(const AlertWindowSettings& settings) = 0;

    virtual bool isShown() const = 0;
    // Shows the popup topmost without taking the focus, or hides it.
    virtual void setShown(bool shown) = 0;
    virtual QRect bounds() const = 0; // screen coordinates
    virtual void setBounds(const QRect& bounds) = 0;
    // 0 transparent to 255 opaque; ignored where windows cannot be translucent.
    virtual void setOpacity(int alpha) = 0;
    // The popup button's rectangle in the popup's own coordinates.
    virtual QRect popupButtonRect() const = 0;

    // What the popup tells its component.
    std::function<void(const std::string& anchor, int index)> OnAnchorClick;
    std::function<void(int index)> OnDeleteMessage; // the user deleted line index
    std::function<void()> OnMouseMove;              // the mouse moves over the popup
    std::function<void()> OnMouseLeave;
    std::function<void()> OnWindowMoved; // a drag by the caption strip ended
    std::function<void(bool& canClose)> OnCanClose;
    std::function<void()> OnClose;
    std::function<void()> OnNextMessage;
    std::function<void()> OnPrevMessage;
    std::function<void()> OnPopupbtnClick;
};

} // namespace newsbell
