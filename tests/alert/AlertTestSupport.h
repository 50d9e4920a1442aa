#pragma once

#include "alert/AlertNotifier.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace newsbell {

// A popup that records what the component does to it and behaves as the real one where the
// component relies on it: emptying the list runs the close path, deleting checks the index.
class FakeAlertPopup final : public AlertPopup {
public:
    int messageCount() const override { return int(lines.size()); }
    void addMessage(const std::string& text, int image) override { lines.push_back({text, image}); }
    void setMessage(int index, const std::string& text, int image) override {
        lines.at(size_t(index)) = {text, image};
    }
    void clearMessages() override {
        ++clears;
        lines.clear();
        closePath();
    }
    void deleteMessage(int index) override {
        checkMessageIndex(index, messageCount());
        lines.erase(lines.begin() + index);
        if (lines.empty()) closePath();
        if (OnDeleteMessage) OnDeleteMessage(index);
    }
    TMsgCollection& messageSettings() override { return copies; }
    void applySettings(const AlertWindowSettings& applied) override { settings = applied; }
    bool isShown() const override { return shown; }
    void setShown(bool value) override { shown = value; }
    QRect bounds() const override { return rect; }
    void setBounds(const QRect& value) override { rect = value; }
    void setOpacity(int alpha) override { opacities.push_back(alpha); }
    QRect popupButtonRect() const override { return QRect(170, 74, 20, 20); }

    void closePath() {
        bool canClose = true;
        if (shown && OnCanClose) OnCanClose(canClose);
        if (!shown || !canClose) return;
        shown = false;
        if (OnClose) OnClose();
    }

    std::vector<std::pair<std::string, int>> lines;
    TMsgCollection copies;
    AlertWindowSettings settings;
    bool shown = false;
    QRect rect{0, 0, 300, 100};
    std::vector<int> opacities;
    int clears = 0;
};

// Time for fades that never sleeps: each reading is 3 ms after the one before; every wait is
// recorded and returns at once, but the one a test pauses at, until released or stopped.
class FakeFadeClock final : public FadeClock {
public:
    time_point now() const override {
        const std::lock_guard lock(mutex_);
        return time_point(std::chrono::milliseconds(readings_ += 3));
    }
    void waitUntil(time_point deadline, std::stop_token stop) const override {
        std::unique_lock lock(mutex_);
        waits_.push_back(deadline);
        if (int(waits_.size()) == pauseAt) gate_.wait(lock, stop, [this] { return released_; });
    }
    void release() {
        {
            const std::lock_guard lock(mutex_);
            released_ = true;
        }
        gate_.notify_all();
    }
    std::vector<time_point> waits() const {
        const std::lock_guard lock(mutex_);
        return waits_;
    }

    int pauseAt = 0; // the number of the wait that blocks, from 1; set before the fade starts

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable_any gate_;
    mutable long long readings_ = 0;
    mutable std::vector<time_point> waits_;
    bool released_ = false;
};

// Runs the event loop until the condition holds; fails the test after five seconds.
template <typename Condition> void processUntil(Condition condition) {
    const QDeadlineTimer deadline(5000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(condition()) << "still false after five seconds";
}

// A component on a window of its own, with the fake popup, the fake clock and a work area of
// (0, 0, 1280, 994).
struct AlertFixture : ::testing::Test {
    AlertFixture() {
        alert->createPopup = [this](QWidget* owner) {
            EXPECT_EQ(owner, &window);
            auto made = std::make_unique<FakeAlertPopup>();
            popup = made.get();
            return made;
        };
        alert->workArea = [] { return QRect(0, 0, 1280, 994); };
        alert->fadeClock = clock;
    }
    ~AlertFixture() override { clock->release(); }

    // One message per text; a line break in a text gives the message two lines.
    void addMessages(std::initializer_list<std::string> texts) {
        for (const std::string& text : texts) alert->AlertMessages().Add().Text().SetText(text);
    }
    void showAndFadeIn() {
        alert->Show();
        processUntil([this] { return !alert->fading(); });
    }

    QWidget window;
    std::shared_ptr<FakeFadeClock> clock = std::make_shared<FakeFadeClock>();
    TAlertNotifier* alert = new TAlertNotifier(&window);
    FakeAlertPopup* popup = nullptr;
};

} // namespace newsbell
