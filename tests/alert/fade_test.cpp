#include "AlertTestSupport.h"

#include <future>
#include <numeric>

namespace newsbell {
namespace {

using namespace std::chrono_literals;

// 0 ... last by step, as the fades run through their middle steps.
std::vector<int> steps(int first, int last, int step) {
    std::vector<int> values;
    for (int v = first; step > 0 ? v <= last : v >= last; v += step) values.push_back(v);
    return values;
}

std::vector<int> concat(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Runs one fade to its end with the fake clock; returns what it applied.
std::vector<int> runFade(const FadePlan& plan, const std::shared_ptr<FakeFadeClock>& clock) {
    std::vector<int> applied;
    std::promise<void> ended;
    TFadeThread fade(
        plan, clock, [&](int alpha) { applied.push_back(alpha); }, [&] { ended.set_value(); });
    ended.get_future().wait();
    return applied;
}

TEST(FadeThread, applies_the_opacities_of_each_fade_from_start_to_end) {
    const struct {
        FadePlan plan;
        std::vector<int> applied;
    } cases[] = {
        {{true, 180, 2, 0ms}, concat({{0}, steps(0, 178, 2), {180}})},
        {{false, 180, 2, 0ms}, concat({steps(180, 2, -2), {0}})},
        {{true, 255, 2, 0ms}, concat({{0}, steps(0, 254, 2), {255}})},
        {{false, 255, 2, 0ms}, concat({steps(255, 1, -2), {0}})},
        {{true, 0, 2, 0ms}, {0, 0}},     // AlphaEnd 0: ends at once, invisible
        {{true, 180, 0, 0ms}, {0, 180}}, // a step of 0 goes straight to the end value
        {{false, 180, 0, 0ms}, {0}},
    };
    for (const auto& c : cases) {
        const auto clock = std::make_shared<FakeFadeClock>();
        EXPECT_EQ(runFade(c.plan, clock), c.applied)
            << "in " << c.plan.fadeIn << " end " << c.plan.alphaEnd << " step " << c.plan.step;
        EXPECT_TRUE(clock->waits().empty());
    }
}

TEST(FadeThread, every_step_waits_until_its_own_start_plus_the_step_time) {
    const auto clock = std::make_shared<FakeFadeClock>();
    runFade({true, 180, 2, 10ms}, clock);
    // The clock reads 3, 6, 9, ... ms at the start of the steps 0, 2, 4, ...
    std::vector<FadeClock::time_point> expected;
    for (int step = 1; step <= 90; ++step)
        expected.push_back(FadeClock::time_point(std::chrono::milliseconds(3 * step + 10)));
    EXPECT_EQ(clock->waits(), expected);
}

TEST(FadeThread, a_stop_cuts_a_long_wait_short_and_the_end_is_still_reported) {
    std::vector<int> applied;
    bool ended = false;
    {
        TFadeThread fade(
            {true, 180, 2, std::chrono::hours(1)}, steadyFadeClock(),
            [&](int alpha) { applied.push_back(alpha); }, [&] { ended = true; });
    } // the destructor stops and joins: a fade that ignored it would hang here
    EXPECT_TRUE(ended);
    EXPECT_LE(applied.size(), 2u); // 0 and at most the first step; never the end value
}

struct FadeFixture : AlertFixture {
    FadeFixture() {
        alert->SetFadeTime(10);
        addMessages({"first", "second"});
    }
    void waitForOpacities(size_t count) {
        processUntil([&] { return popup && popup->opacities.size() >= count; });
    }
    void tick(int times) {
        for (int i = 0; i < times; ++i) alert->displayTimerTick();
    }
    // Fades in, then lets the display time run out: the fade out begins.
    void fadeInThenOut() {
        showAndFadeIn();
        alert->SetDisplayTime(30);
        popup->opacities.clear();
        tick(3);
    }
};

TEST_F(FadeFixture, show_fades_in_to_alpha_end_then_counts_the_display_time_and_fades_out) {
    showAndFadeIn();
    EXPECT_TRUE(popup->shown);
    EXPECT_EQ(popup->opacities, concat({{1, 0}, steps(0, 178, 2), {180}}));
    EXPECT_EQ(alert->AlphaStart(), 180);
    EXPECT_TRUE(alert->displayCounting());

    popup->opacities.clear();
    tick(5000 / 10 - 1);
    EXPECT_FALSE(alert->fading());
    tick(1);
    EXPECT_FALSE(alert->displayCounting());
    processUntil([this] { return !alert->fading(); });
    EXPECT_EQ(popup->opacities, concat({steps(180, 2, -2), {0}}));
    EXPECT_FALSE(popup->shown);
}

TEST_F(FadeFixture, alpha_end_0_leaves_the_popup_up_but_invisible_for_the_display_time) {
    alert->SetAlphaEnd(0);
    showAndFadeIn();
    EXPECT_EQ(popup->opacities, (std::vector<int>{1, 0, 0}));
    EXPECT_TRUE(popup->shown);
    EXPECT_TRUE(alert->displayCounting());
}

TEST_F(FadeFixture, the_mouse_over_the_fading_in_popup_holds_it_opaque_until_it_leaves) {
    clock->pauseAt(5); // during the step to 8
    alert->Show();
    waitForOpacities(7);
    popup->OnMouseMove();
    processUntil([this] { return !alert->fading(); });
    EXPECT_EQ(popup->opacities, (std::vector<int>{1, 0, 0, 2, 4, 6, 8, 255}));
    EXPECT_TRUE(popup->shown);
    EXPECT_FALSE(alert->displayCounting());

    popup->OnMouseMove(); // still over it: opaque again, nothing else
    popup->OnMouseLeave();
    EXPECT_EQ(popup->opacities.back(), 180);
    EXPECT_EQ(alert->AlphaStart(), 180);
    EXPECT_TRUE(alert->displayCounting());
    tick(499);
    EXPECT_FALSE(alert->fading()); // the count started again from 0
}

TEST_F(FadeFixture, the_mouse_over_the_fading_out_popup_stops_the_fade_and_keeps_it_shown) {
    clock->pauseAt(90 + 3);
    fadeInThenOut();
    waitForOpacities(3);
    popup->OnMouseMove();
    processUntil([this] { return !alert->fading(); });
    EXPECT_EQ(popup->opacities, (std::vector<int>{180, 178, 176, 255}));
    EXPECT_TRUE(popup->shown);
    popup->OnMouseLeave();
    EXPECT_EQ(popup->opacities.back(), 180);
    EXPECT_TRUE(alert->displayCounting());
}

TEST_F(FadeFixture,
       show_during_the_fade_in_only_restarts_the_count_while_new_messages_still_arrive) {
    clock->pauseAt(5);
    alert->Show();
    waitForOpacities(7);
    addMessages({"third"});
    alert->Show();
    EXPECT_EQ(popup->lines.size(), 3u);
    EXPECT_EQ(popup->clears, 1);
    clock->release();
    processUntil([this] { return !alert->fading(); });
    EXPECT_EQ(popup->opacities, concat({{1, 0}, steps(0, 178, 2), {180}}));
    EXPECT_TRUE(popup->shown);
}

TEST_F(FadeFixture, show_during_the_fade_out_refills_the_popup_and_the_fade_out_still_hides_it) {
    clock->pauseAt(90 + 3);
    fadeInThenOut();
    waitForOpacities(3);
    alert->AlertMessages().Items(1).Tag = 7; // no hook: only a refill brings it over
    alert->Show();
    EXPECT_EQ(popup->copies.Items(1).Tag, 7);
    clock->release();
    processUntil([this] { return !alert->fading(); });
    EXPECT_EQ(popup->opacities, concat({steps(180, 2, -2), {0}}));
    EXPECT_FALSE(popup->shown);
}

TEST_F(FadeFixture, a_show_after_closing_during_the_fade_out_is_not_hidden_by_that_fade) {
    clock->pauseAt(90 + 3);
    fadeInThenOut();
    waitForOpacities(3);
    popup->closePath();
    alert->Show(); // a new fade in takes over from the stopped fade out
    clock->release();
    processUntil([this] { return !alert->fading(); });
    EXPECT_TRUE(popup->shown);
    EXPECT_EQ(popup->opacities.back(), 180);
    EXPECT_TRUE(alert->displayCounting());
}

TEST_F(FadeFixture, auto_hide_off_keeps_the_popup_up_and_on_counts_from_0) {
    alert->SetAutoHide(false);
    showAndFadeIn();
    EXPECT_FALSE(alert->displayCounting());
    alert->SetAutoHide(true);
    EXPECT_TRUE(alert->displayCounting());
    tick(499);
    EXPECT_FALSE(alert->fading());
}

TEST(AlertDisplayTime, runs_out_without_a_popup_and_only_stops_the_timer) {
    QWidget window;
    TAlertNotifier alert(&window);
    alert.createPopup = [](QWidget*) -> std::unique_ptr<AlertPopup> {
        ADD_FAILURE() << "no popup is made without a Show";
        return nullptr;
    };
    alert.SetAutoHide(true); // as when the window sets its stored value
    EXPECT_TRUE(alert.displayCounting());
    for (int i = 0; i < 500; ++i) alert.displayTimerTick();
    EXPECT_FALSE(alert.displayCounting());
    EXPECT_FALSE(alert.fading());
}

} // namespace
} // namespace newsbell
