#include "alert/AlertNotifier.h"

#include "alert/AlertWindow.h"
#include "htmltext/ImageList.h"
#include "htmltext/PictureContainer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <array>
#include <utility>

namespace newsbell {

namespace {

struct SchemeColors {
    TColor window, windowTo, caption, captionTo, border, btnDown, btnDownTo, btnHover, btnHoverTo;
};

constexpr std::array<SchemeColors, 4> colorSchemes = {{
    {16440004, 16105376, 14059353, 9841920, 9841920, 557032, 8182519, 14483455, 6013175},
    {16249843, 15128792, 12560296, 9731196, 9731196, 557032, 8182519, 14483455, 6013175},
    {15004146, 11197146, 7310968, 5800032, 5800032, 557032, 8182519, 14483455, 6013175},
    {clWhite, 13226453, 13160660, 9211278, clActiveCaption, 11899525, 11899525, 13811126, 13811126},
}};

constexpr std::uint32_t packedVersion = 0x01030100; // major, minor, release, build

QRect primaryWorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

TAlertNotifier::TAlertNotifier(QWidget* owner) : QObject(owner), messages_(this), owner_(owner) {
    createPopup = [](QWidget* parent) { return std::make_unique<TAlertWindow>(parent); };
    workArea = primaryWorkArea;
    messages_.setChangeHook([this] {
        if (!popupShown()) return;
        for (int i = 0; i < messages_.Count(); ++i) mirrorMessage(i);
    });
    messages_.setDeleteHook([this](int index) { removeFromPopup(index); });
    // The popup keeps its own display count off: the component counts.
    settings_.AutoHide = false;
    settings_.Hover = false;
    settings_.Font.color = clWindowText;
    ApplyColorScheme(0);
    displayTimer_.setInterval(10);
    connect(&displayTimer_, &QTimer::timeout, this, &TAlertNotifier::displayTimerTick);
    // Made here, so that the fade threads only emit into a connection that stands: a call
    // built on a fade's thread would be read here across Qt's queue, which the thread checker
    // cannot see through.
    connect(this, &TAlertNotifier::fadeReportsWaiting, this, &TAlertNotifier::deliverFadeReports,
            Qt::QueuedConnection);
}

TAlertNotifier::~TAlertNotifier() {
    for (Fade& fade : fades_) fade.thread->Terminate();
    fades_.clear(); // joins every fade's thread before the popup goes
    // While everything its notifications reach is still here.
    popup_.reset();
}

void TAlertNotifier::ApplyColorScheme(int scheme) {
    if (scheme < 0 || scheme >= int(colorSchemes.size())) return;
    const SchemeColors& colors = colorSchemes[size_t(scheme)];
    colorScheme_ = scheme;
    settings_.WindowColor = colors.window;
    settings_.WindowColorTo = colors.windowTo;
    settings_.CaptionColor = colors.caption;
    settings_.CaptionColorTo = colors.captionTo;
    settings_.BorderColor = colors.border;
    settings_.BtnDownColor = colors.btnDown;
    settings_.BtnDownColorTo = colors.btnDownTo;
    settings_.BtnHoverColor = colors.btnHover;
    settings_.BtnHoverColorTo = colors.btnHoverTo;
    settings_.GradientDirection = gdVertical;
}

std::string TAlertNotifier::Version() {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (!text.empty()) text += '.';
        text += std::to_string(packedVersion >> shift & 0xFF);
    }
    return text;
}

template <typename T>
RemovalNotice::Watch TAlertNotifier::passOnWatched(T* AlertWindowSettings::*field, T* value) {
    passOn(field, value);
    if (!value) return nullptr;
    return value->watchRemoval([this, field] { passOn(field, static_cast<T*>(nullptr)); });
}

void TAlertNotifier::SetImages(const ImageList* value) {
    imagesWatch_ = passOnWatched(&AlertWindowSettings::Images, value);
}

void TAlertNotifier::SetPictureContainer(TPictureContainer* value) {
    pictureContainerWatch_ = passOnWatched(&AlertWindowSettings::PictureContainer, value);
}

void TAlertNotifier::makePopup() {
    popup_ = createPopup(owner_);
    popup_->OnAnchorClick = [this](const std::string& anchor, int index) {
        if (OnAnchorClick) OnAnchorClick(*this, anchor, messages_.Items(index));
    };
    popup_->OnDeleteMessage = [this](int index) { messageDeletedByUser(index); };
    popup_->OnMouseMove = [this] { mouseOverPopup(); };
    popup_->OnMouseLeave = [this] { mouseLeftPopup(); };
    popup_->OnWindowMoved = [this] { windowMoved(); };
    popup_->OnCanClose = [this](bool& canClose) {
        if (OnCanClose) OnCanClose(*this, canClose);
    };
    popup_->OnClose = [this] {
        if (OnClose) OnClose(*this);
    };
    popup_->OnNextMessage = [this] {
        if (OnNextMessage) OnNextMessage(*this);
    };
    popup_->OnPrevMessage = [this] {
        if (OnPrevMessage) OnPrevMessage(*this);
    };
    popup_->OnPopupbtnClick = [this] { popupButtonClicked(); };
}

void TAlertNotifier::fillPopup() {
    const bool wasShown = popup_->isShown();
    // Emptying the list runs the popup's close path; the visibility is put back below.
    popup_->clearMessages();
    popup_->messageSettings().Clear();
    for (int i = 0; i < messages_.Count(); ++i) mirrorMessage(i);
    if (messages_.Count() > 0) popup_->setShown(wasShown);
}

// Line i of the popup and its settings copy take item i's text and values.
void TAlertNotifier::mirrorMessage(int index) {
    const TMsgCollectionItem& item = messages_.Items(index);
    const std::string text = item.Text().joined();
    if (index < popup_->messageCount())
        popup_->setMessage(index, text, item.ImageIndex);
    else
        popup_->addMessage(text, item.ImageIndex);
    TMsgCollection& copies = popup_->messageSettings();
    TMsgCollectionItem& copy = index < copies.Count() ? copies.Items(index) : copies.Add();
    copy.ImageIndex = item.ImageIndex;
    copy.SetText(item.Text());
    copy.Tag = item.Tag;
    copy.SetColor(item.Color());
    copy.SetColorTo(item.ColorTo());
}

void TAlertNotifier::dropSettingsCopy(int index) {
    TMsgCollection& copies = popup_->messageSettings();
    if (index < copies.Count()) copies.Delete(index);
}

// An item leaves AlertMessages in the program: a visible popup loses its line too.
void TAlertNotifier::removeFromPopup(int index) {
    if (!popupShown()) return;
    // A line the popup never got, or that the user deleted behind a veto, is not there to
    // delete: the list the program is clearing must not fail on it.
    if (index < popup_->messageCount()) {
        auto notify = std::exchange(popup_->OnDeleteMessage, nullptr);
        popup_->deleteMessage(index);
        popup_->OnDeleteMessage = std::move(notify);
    }
    dropSettingsCopy(index);
    if (OnDeleteMessage) OnDeleteMessage(*this, index);
}

// The popup has already dropped line index; the item follows unless the handler vetoes.
void TAlertNotifier::messageDeletedByUser(int index) {
    checkMessageIndex(index, messages_.Count());
    bool canDelete = true;
    if (OnCanDeleteMessage) OnCanDeleteMessage(*this, index, canDelete);
    if (!canDelete) return;
    auto hook = messages_.deleteHook();
    messages_.setDeleteHook(nullptr);
    messages_.Delete(index);
    dropSettingsCopy(index);
    messages_.setDeleteHook(std::move(hook));
    if (OnDeleteMessage) OnDeleteMessage(*this, index);
}

void TAlertNotifier::popupButtonClicked() {
    if (!popupMenu_) {
        if (OnPopupClick) OnPopupClick(*this);
        return;
    }
    const QRect window = popup_->bounds();
    const QRect button = popup_->popupButtonRect();
    popupMenu_->popup(
        QPoint(window.left() + button.x() + button.width(), window.top() + button.y()));
}

// A popup dragged aside stays where the user put it at the next Show.
void TAlertNotifier::windowMoved() {
    windowPosition_ = wpPreset;
    popupLeft_ = popup_->bounds().left();
    popupTop_ = popup_->bounds().top();
}

} // namespace newsbell
