#pragma once

// The component publishes every setting of its popup as a property, many of which this program
// never sets. The whole surface is kept on purpose: the popup is a reusable component, and
// alert-render and the tests drive the rest.

#include "alert/AlertPopup.h"
#include "alert/FadeThread.h"
#include "alert/MsgCollection.h"
#include "base/RemovalNotice.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QWidget;

namespace newsbell {

enum TWindowPosition { wpLeftTop, wpRightTop, wpLeftBottom, wpRightBottom, wpPreset };

// The alert component of the main window: the list of alert messages and the settings of the
// popup that shows them. Show places the popup in a corner of the screen, fades it in on a
// thread of its own, keeps it up for DisplayTime and fades it out again. User-interface thread
// only; the fades report back to it through queued calls.
class TAlertNotifier : public QObject {
    Q_OBJECT
public:
    // owner: the window that owns the component and is the popup's parent window.
    explicit TAlertNotifier(QWidget* owner);
    // Stops every fade and waits for its thread, then frees the popup. The component owns its
    // popup; the popup also sits in the owner's window tree, and goes before the owner does.
    ~TAlertNotifier() override;

    TMsgCollection& AlertMessages() { return messages_; }
    // What the popup is given at the next show; previews paint with it.
    const AlertWindowSettings& popupSettings() const { return settings_; }

    bool AlwaysOnTop() const { return settings_.AlwaysOnTop; }
    void SetAlwaysOnTop(bool value) { settings_.AlwaysOnTop = value; }
    bool AutoHide() const { return autoHide_; }
    // Starts the display count from 0, or stops it.
    void SetAutoHide(bool value);
    bool AutoThemeAdapt() const { return autoThemeAdapt_; }
    void SetAutoThemeAdapt(bool value) { autoThemeAdapt_ = value; }
    bool AutoSize() const { return settings_.AutoSize; }
    void SetAutoSize(bool value) { settings_.AutoSize = value; }
    bool AutoDelete() const { return settings_.AutoDelete; }
    void SetAutoDelete(bool value) { passOn(&AlertWindowSettings::AutoDelete, value); }

    TColor BorderColor() const { return settings_.BorderColor; }
    void SetBorderColor(TColor value) { settings_.BorderColor = value; }
    TColor BtnHoverColor() const { return settings_.BtnHoverColor; }
    void SetBtnHoverColor(TColor value) { settings_.BtnHoverColor = value; }
    TColor BtnHoverColorTo() const { return settings_.BtnHoverColorTo; }
    void SetBtnHoverColorTo(TColor value) { settings_.BtnHoverColorTo = value; }
    TColor BtnDownColor() const { return settings_.BtnDownColor; }
    void SetBtnDownColor(TColor value) { settings_.BtnDownColor = value; }
    TColor BtnDownColorTo() const { return settings_.BtnDownColorTo; }
    void SetBtnDownColorTo(TColor value) { settings_.BtnDownColorTo = value; }
    TColor CaptionColor() const { return settings_.CaptionColor; }
    void SetCaptionColor(TColor value) { settings_.CaptionColor = value; }
    TColor CaptionColorTo() const { return settings_.CaptionColorTo; }
    void SetCaptionColorTo(TColor value) { settings_.CaptionColorTo = value; }
    TColor WindowColor() const { return settings_.WindowColor; }
    void SetWindowColor(TColor value) { settings_.WindowColor = value; }
    TColor WindowColorTo() const { return settings_.WindowColorTo; }
    void SetWindowColorTo(TColor value) { settings_.WindowColorTo = value; }
    TGradientDirection GradientDirection() const { return settings_.GradientDirection; }
    void SetGradientDirection(TGradientDirection value) { settings_.GradientDirection = value; }
    // Sets the colours of scheme 0 to 3; any other number changes nothing.
    void ApplyColorScheme(int scheme);
    int ColorScheme() const { return colorScheme_; }

    const newsbell::Font& Font() const { return settings_.Font; }
    void SetFont(const newsbell::Font& value) { settings_.Font = value; }

    const QImage& GlyphPrev() const { return settings_.GlyphPrev; }
    void SetGlyphPrev(const QImage& value) { settings_.GlyphPrev = value; }
    const QImage& GlyphNext() const { return settings_.GlyphNext; }
    void SetGlyphNext(const QImage& value) { settings_.GlyphNext = value; }
    const QImage& GlyphDelete() const { return settings_.GlyphDelete; }
    void SetGlyphDelete(const QImage& value) { settings_.GlyphDelete = value; }
    const QImage& GlyphClose() const { return settings_.GlyphClose; }
    void SetGlyphClose(const QImage& value) { settings_.GlyphClose = value; }
    const QImage& GlyphPopup() const { return settings_.GlyphPopup; }
    void SetGlyphPopup(const QImage& value) { settings_.GlyphPopup = value; }

    const std::string& HintNextBtn() const { return settings_.HintNextBtn; }
    void SetHintNextBtn(const std::string& value) { settings_.HintNextBtn = value; }
    const std::string& HintPrevBtn() const { return settings_.HintPrevBtn; }
    void SetHintPrevBtn(const std::string& value) { settings_.HintPrevBtn = value; }
    const std::string& HintCloseBtn() const { return settings_.HintCloseBtn; }
    void SetHintCloseBtn(const std::string& value) { settings_.HintCloseBtn = value; }
    const std::string& HintDeleteBtn() const { return settings_.HintDeleteBtn; }
    void SetHintDeleteBtn(const std::string& value) { settings_.HintDeleteBtn = value; }
    const std::string& HintPopupBtn() const { return settings_.HintPopupBtn; }
    void SetHintPopupBtn(const std::string& value) { settings_.HintPopupBtn = value; }

    bool Hover() const { return settings_.Hover; }
    void SetHover(bool value) { settings_.Hover = value; }
    // References: cleared, in the popup too, when the list or container goes away.
    const ImageList* Images() const { return settings_.Images; }
    void SetImages(const ImageList* value);
    TPictureContainer* PictureContainer() const { return settings_.PictureContainer; }
    void SetPictureContainer(TPictureContainer* value);
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* value) { popupMenu_ = value; }

    int MarginX() const { return settings_.MarginX; }
    void SetMarginX(int value) { settings_.MarginX = value; }
    int MarginY() const { return settings_.MarginY; }
    void SetMarginY(int value) { settings_.MarginY = value; }
    int MaxWidth() const { return settings_.MaxWidth; }
    void SetMaxWidth(int value) { settings_.MaxWidth = value; }
    int MaxHeight() const { return settings_.MaxHeight; }
    void SetMaxHeight(int value) { settings_.MaxHeight = value; }

    int PopupLeft() const { return popupLeft_; }
    void SetPopupLeft(int value) { popupLeft_ = value; }
    int PopupTop() const { return popupTop_; }
    void SetPopupTop(int value) { popupTop_ = value; }
    int PopupWidth() const { return popupWidth_; }
    void SetPopupWidth(int value) { popupWidth_ = value; }
    int PopupHeight() const { return popupHeight_; }
    void SetPopupHeight(int value) { popupHeight_ = value; }

    const std::string& PositionFormat() const { return settings_.PositionFormat; }
    void SetPositionFormat(const std::string& value) {
        passOn(&AlertWindowSettings::PositionFormat, value);
    }
    bool ShowDelete() const { return settings_.ShowDelete; }
    void SetShowDelete(bool value) { passOn(&AlertWindowSettings::ShowDelete, value); }
    bool ShowPopup() const { return settings_.ShowPopup; }
    void SetShowPopup(bool value) { passOn(&AlertWindowSettings::ShowPopup, value); }

    std::uint8_t AlphaEnd() const { return alphaEnd_; }
    void SetAlphaEnd(std::uint8_t value) { alphaEnd_ = value; }
    // The opacity last applied; setting it applies it to the popup at once.
    std::uint8_t AlphaStart() const { return alphaStart_; }
    void SetAlphaStart(std::uint8_t value);
    int FadeTime() const { return fadeTime_; }
    void SetFadeTime(int milliseconds) { fadeTime_ = milliseconds; }
    std::uint8_t FadeStep() const { return fadeStep_; }
    void SetFadeStep(std::uint8_t value) { fadeStep_ = value; }
    int DisplayTime() const { return displayTime_; }
    void SetDisplayTime(int milliseconds);

    TWindowPosition WindowPosition() const { return windowPosition_; }
    void SetWindowPosition(TWindowPosition value) { windowPosition_ = value; }
    int ScreenMarginX() const { return screenMarginX_; }
    void SetScreenMarginX(int value) { screenMarginX_ = value; }
    int ScreenMarginY() const { return screenMarginY_; }
    void SetScreenMarginY(int value) { screenMarginY_ = value; }

    // "major.minor.release.build" of the component.
    static std::string Version();

    // Shows the messages in the popup, or refreshes a popup already shown.
    void Show();

    // Events; the first argument is always this component.
    std::function<void(TAlertNotifier&, const std::string& anchor, TMsgCollectionItem& item)>
        OnAnchorClick;
    std::function<void(TAlertNotifier&, int index, bool& canDelete)> OnCanDeleteMessage;
    std::function<void(TAlertNotifier&, int index)> OnDeleteMessage;
    std::function<void(TAlertNotifier&)> OnClose;
    std::function<void(TAlertNotifier&, bool& canClose)> OnCanClose;
    std::function<void(TAlertNotifier&)> OnNextMessage;
    std::function<void(TAlertNotifier&)> OnPrevMessage;
    std::function<void(TAlertNotifier&)> OnPopupClick;

    // What the component meets the outside world through; tests put their own in place.
    // The popup is made on the first Show, with the owner as its parent window.
    std::function<std::unique_ptr<AlertPopup>(QWidget* owner)> createPopup;
    // The primary screen's area for windows, without task bars and docks.
    std::function<QRect()> workArea;
    std::shared_ptr<const FadeClock> fadeClock = steadyFadeClock();

    // The popup, once a Show has made it.
    AlertPopup* popup() const { return popup_.get(); }
    // One tick of the 10 ms display timer, and whether that timer runs.
    void displayTimerTick();
    bool displayCounting() const { return displayTimer_.isActive(); }
    // Whether any fade has still to report its end.
    bool fading() const { return !fades_.empty(); }

signals:
    // Every call of Show(), before it does anything.
    void showRequested();
    // A fade has reports waiting; emitted on its thread, delivered on this one.
    void fadeReportsWaiting(QPrivateSignal);

private:
    struct Fade {
        int id;
        std::unique_ptr<TFadeThread> thread;
    };
    struct FadeReport {
        int fade;
        bool ended;
        int alpha;
    };

    // Stores a setting and hands it to an existing popup, leaving its other settings alone.
    template <typename T> void passOn(T AlertWindowSettings::*field, const T& value) {
        settings_.*field = value;
        if (!popup_) return;
        applied_.*field = value;
        popup_->applySettings(applied_);
    }
    // passOn for a reference, which is cleared the same way when its object goes away.
    template <typename T>
    RemovalNotice::Watch passOnWatched(T* AlertWindowSettings::*field, T* value);

    bool popupShown() const { return popup_ && popup_->isShown(); }
    void makePopup();
    void fillPopup();
    void mirrorMessage(int index);
    void removeFromPopup(int index);
    void dropSettingsCopy(int index);
    void placePopup();

    void messageDeletedByUser(int index);
    void popupButtonClicked();
    void windowMoved();
    void mouseOverPopup();
    void mouseLeftPopup();

    void applyAlpha(int alpha);
    void startDisplayCount();
    int startFade(bool fadeIn);
    void report(const FadeReport& report);
    void deliverFadeReports();
    void fadeStep(int fade, int alpha);
    void fadeEnded(int fade);

    TMsgCollection messages_;
    AlertWindowSettings settings_;
    AlertWindowSettings applied_; // what the popup was last given
    RemovalNotice::Watch imagesWatch_;
    RemovalNotice::Watch pictureContainerWatch_;
    QPointer<QMenu> popupMenu_;
    bool autoHide_ = true;
    bool autoThemeAdapt_ = false;
    int colorScheme_ = 0;
    int popupLeft_ = 0;
    int popupTop_ = 0;
    int popupWidth_ = 300;
    int popupHeight_ = 100;
    std::uint8_t alphaEnd_ = 180;
    std::uint8_t alphaStart_ = 0;
    int fadeTime_ = 0;
    std::uint8_t fadeStep_ = 2;
    int displayTime_ = 5000;
    TWindowPosition windowPosition_ = wpRightBottom;
    int screenMarginX_ = 0;
    int screenMarginY_ = 0;

    QWidget* owner_;
    std::unique_ptr<AlertPopup> popup_;
    bool held_ = false; // the mouse rests on the popup
    int displayCount_ = 0;
    QTimer displayTimer_;
    int nextFade_ = 1;
    int rememberedFade_ = 0; // the fade Show started, until it ends; 0 none
    std::vector<Fade> fades_;
    std::mutex reportsMutex_;
    std::vector<FadeReport> reports_; // from the fades' threads, not yet delivered
};

} // namespace newsbell
