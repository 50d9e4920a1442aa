// Show and what follows it: placement, the fades and the display time.
#include "alert/AlertNotifier.h"

#include <algorithm>

namespace newsbell {

void TAlertNotifier::Show() {
    emit showRequested();
    displayCount_ = 0;
    if (rememberedFade_ != 0) return;
    if (popupShown()) {
        fillPopup();
        return;
    }
    if (messages_.Count() == 0) return;
    if (!popup_) makePopup();
    fillPopup();
    popup_->setBounds(QRect(popupLeft_, popupTop_, popupWidth_, popupHeight_));
    // This desktop has no visual-styles library to ask for its theme, so a component that
    // follows the theme gets the colours meant for a desktop without one.
    if (autoThemeAdapt_) ApplyColorScheme(3);
    applied_ = settings_;
    popup_->applySettings(applied_); // with AutoSize the popup takes its size here
    displayTimer_.stop();
    if (autoHide_) startDisplayCount();
    placePopup();
}

void TAlertNotifier::placePopup() {
    const QRect area = workArea();
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    const QSize size = popup_->bounds().size();
    int left = popupLeft_;
    int top = popupTop_;
    if (windowPosition_ != wpPreset) {
        const bool atLeft = windowPosition_ == wpLeftTop || windowPosition_ == wpLeftBottom;
        const bool atTop = windowPosition_ == wpLeftTop || windowPosition_ == wpRightTop;
        left = atLeft ? area.x() + 2 + screenMarginX_ : right - size.width() - 2 - screenMarginX_;
        top = atTop ? area.y() + screenMarginY_ : bottom - size.height() - screenMarginY_;
    }
    // Brought up below the work area, nearly transparent, and only then moved into place.
    popup_->setBounds(QRect(QPoint(left, bottom), size));
    SetAlphaStart(1);
    popup_->setShown(true);
    popup_->setBounds(QRect(QPoint(left, top), size));
    rememberedFade_ = startFade(true);
}

void TAlertNotifier::SetAlphaStart(std::uint8_t value) {
    alphaStart_ = value;
    applyAlpha(value);
}

// While the mouse rests on the popup it stays opaque.
void TAlertNotifier::applyAlpha(int alpha) {
    if (!popup_ || (held_ && alpha != 255)) return;
    popup_->setOpacity(alpha);
}

void TAlertNotifier::SetAutoHide(bool value) {
    autoHide_ = value;
    if (value)
        startDisplayCount();
    else
        displayTimer_.stop();
}

void TAlertNotifier::SetDisplayTime(int milliseconds) {
    displayTime_ = milliseconds;
    displayTimer_.setInterval(10);
}

void TAlertNotifier::startDisplayCount() {
    displayCount_ = 0;
    displayTimer_.start();
}

// The display time is counted in ticks of 10 ms, so it runs as long as the ticks take.
void TAlertNotifier::displayTimerTick() {
    displayCount_ += 10;
    if (displayCount_ < displayTime_) return;
    displayCount_ = 0;
    displayTimer_.stop();
    if (popup_) startFade(false);
}

void TAlertNotifier::mouseOverPopup() {
    applyAlpha(255);
    if (held_) return;
    held_ = true;
    // Every fade stops, the fade out too: a pointer that only passes over the popup must not
    // let it fade away behind the user's back.
    for (Fade& fade : fades_) fade.thread->Terminate();
    displayTimer_.stop();
}

void TAlertNotifier::mouseLeftPopup() {
    if (!held_) return;
    held_ = false;
    SetAlphaStart(alphaEnd_);
    if (autoHide_) startDisplayCount();
}

// One fade at a time: a new one stops those before it, whose news then counts for nothing.
int TAlertNotifier::startFade(bool fadeIn) {
    for (Fade& fade : fades_) fade.thread->Terminate();
    const int id = nextFade_++;
    const FadePlan plan{fadeIn, alphaEnd_, fadeStep_, std::chrono::milliseconds(fadeTime_)};
    const auto apply = [this, id](int alpha) { report({id, false, alpha}); };
    const auto ended = [this, id] { report({id, true, 0}); };
    fades_.push_back({id, std::make_unique<TFadeThread>(plan, fadeClock, apply, ended)});
    return id;
}

// Runs on a fade's thread. The queued signal carries no data: the reports travel under the
// mutex. The signal is emitted with the mutex held, so the delivery, which takes the mutex
// first, also comes after everything the emitting did; Qt's own locks are invisible to the
// thread checker.
void TAlertNotifier::report(const FadeReport& report) {
    const std::lock_guard lock(reportsMutex_);
    reports_.push_back(report);
    if (reports_.size() == 1) emit fadeReportsWaiting(QPrivateSignal());
}

void TAlertNotifier::deliverFadeReports() {
    std::vector<FadeReport> reports;
    {
        const std::lock_guard lock(reportsMutex_);
        reports.swap(reports_);
    }
    for (const FadeReport& report : reports) {
        if (report.ended)
            fadeEnded(report.fade);
        else
            fadeStep(report.fade, report.alpha);
    }
}

void TAlertNotifier::fadeStep(int fade, int alpha) {
    const auto running = std::ranges::find(fades_, fade, &Fade::id);
    if (running == fades_.end() || running->thread->Terminated()) return;
    SetAlphaStart(std::uint8_t(alpha));
}

void TAlertNotifier::fadeEnded(int fade) {
    const auto running = std::ranges::find(fades_, fade, &Fade::id);
    if (running == fades_.end()) return;
    const bool ranOut = !running->thread->Terminated();
    const bool fadeIn = running->thread->plan().fadeIn;
    fades_.erase(running); // the thread has nothing left to do but return
    if (fade == rememberedFade_) rememberedFade_ = 0;
    if (!ranOut || held_) return;
    if (fadeIn) {
        if (autoHide_) startDisplayCount();
    } else if (popup_) {
        popup_->setShown(false);
    }
}

} // namespace newsbell
