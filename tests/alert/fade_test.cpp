#include "AlertTestSupport.h"

#include <future>

namespace newsbell {
namespace {

using namespace std::chrono_literals;
using Values = std::vector<int>;

// before, then first to last by step, then after.
Values ramp(Values before, int first, int last, int step, Values after) {
    for (int v = first; step > 0 ? v <= last : v >= last; v += step) before.push_back(v);
    before.insert(before.end(), after.begin(), after.end());
    return before;
}
const Values fadeIn = ramp({0}, 0, 178, 2, {180});
const Values fadeOut = ramp({}, 180, 2, -2, {0});
// Show brings the popup up nearly transparent, then fades it in.
const Values showFadeIn = ramp({1, 0}, 0, 178, 2, {180});

// Runs one fade to its end; returns what it applied.
Values runFade(const FadePlan& plan, const std::shared_ptr<const FadeClock>& clock) {
    Values applied;
    std::promise<void> ended;
    TFadeThread fade(
        plan, clock, [&](int alpha) { applied.push_back(alpha); }, [&] { ended.set_value(); });
    ended.get_future().wait();
    return applied;
}

TEST(FadeThread, applies_the_opacities_of_each_fade_from_start_to_end) {
    const struct {
        FadePlan plan;
        Values applied;
    } cases[] = {
        {{true, 180, 2, 0ms}, fadeIn},
        {{false, 180, 2, 0ms}, fadeOut},
        {{true, 255, 2, 0ms}, ramp({0}, 0, 254, 2, {255})},
        {{false, 255, 2, 0ms}, ramp({}, 255, 1, -2, {0})},
        {{true, 0, 2, 0ms}, {0, 0}},     // AlphaEnd 0: ends at once, invisible
        {{true, 180, 0, 0ms}, {0, 180}}, // a step of 0 goes straight to the end value
        {{false, 180, 0, 0ms}, {0}},
    };
    for (const auto& c : cases) {
        const auto clock = std::make_shared<FakeFadeClock>();
        EXPECT_EQ(runFade(c.plan, clock), c.applied)
            << c.plan.fadeIn << " to " << c.plan.alphaEnd << " by " << c.plan.step;
        EXPECT_TRUE(clock->waits().empty());
    }
}

TEST(FadeThread, every_step_waits_until_its_own_start_plus_the_step_time) {
    const auto clock = std::make_shared<FakeFadeClock>();
    runFade({true, 180, 2, 10ms}, clock);
    // The clock reads 3, 6, 9, ... ms at the starts of the 90 steps.
    std::vector<FadeClock::time_point> expected;
    for (int step = 1; step <= 90; ++step)
        expected.emplace_back(std::chrono::milliseconds(3 * step + 10));
    EXPECT_EQ(clock->waits(), expected);
}

TEST(FadeThread, a_stop_cuts_a_long_wait_short_and_the_end_is_still_reported) {
    Values applied;
    bool ended = false;
    {
        TFadeThread fade(
            {true, 180, 2, 1h}, steadyFadeClock(), [&](int alpha) { applied.push_back(alpha); },
            [&] { ended = true; });
    } // the destructor stops and joins: a fade that ignored it would hang here
    EXPECT_TRUE(ended);
    EXPECT_LE(applied.size(), 2u); // 0 and at most the first step; never the end value
}

struct FadeFixture : AlertFixture {
    FadeFixture() {
        alert->SetFadeTime(10);
        addMessages({"first", "second"});
    }
    void opacitiesReach(size_t count) {
        processUntil([&] { return popup && popup->opacities.size() >= count; });
    }
    void tick(int times) {
        for (int i = 0; i < times; ++i) alert->displayTimerTick();
    }
    void fadeEnds() {
        processUntil([this] { return !alert->fading(); });
    }
    // Fades in, then lets a display time of 30 ms run out, and waits for the fade out's
    // first three steps; the fade out pauses at the third.
    void fadeInThenOut() {
        clock->pauseAt = 90 + 3;
        showAndFadeIn();
        alert->SetDisplayTime(30);
        popup->opacities.clear();
        tick(3);
        // The component's own 10 ms timer also ticks while the test waits: a display time
        // this short would run out again under a busy machine.
        alert->SetDisplayTime(5000);
        opacitiesReach(3);
    }
};

TEST_F(FadeFixture, show_fades_in_counts_the_display_time_in_ticks_and_fades_out) {
    showAndFadeIn();
    EXPECT_TRUE(popup->shown);
    EXPECT_EQ(popup->opacities, showFadeIn);
    EXPECT_EQ(alert->AlphaStart(), 180);
    popup->opacities.clear();
    tick(5000 / 10 - 1);
    EXPECT_FALSE(alert->fading());
    tick(1);
    EXPECT_FALSE(alert->displayCounting());
    fadeEnds();
    EXPECT_EQ(popup->opacities, fadeOut);
    EXPECT_FALSE(popup->shown);
}

TEST_F(FadeFixture, the_mouse_over_the_fading_in_popup_holds_it_opaque_until_it_leaves) {
    clock->pauseAt = 5; // in the step to 8
    alert->Show();
    opacitiesReach(7);
    popup->OnMouseMove();
    fadeEnds();
    EXPECT_EQ(popup->opacities, (Values{1, 0, 0, 2, 4, 6, 8, 255}));
    EXPECT_TRUE(popup->shown);
    EXPECT_FALSE(alert->displayCounting());

    popup->OnMouseLeave();
    EXPECT_EQ(popup->opacities.back(), 180);
    EXPECT_EQ(alert->AlphaStart(), 180);
    tick(499);
    EXPECT_TRUE(alert->displayCounting()); // from 0 again
}

TEST_F(FadeFixture, the_mouse_over_the_fading_out_popup_stops_the_fade_and_keeps_it_shown) {
    fadeInThenOut();
    popup->OnMouseMove();
    fadeEnds();
    EXPECT_EQ(popup->opacities, (Values{180, 178, 176, 255}));
    EXPECT_TRUE(popup->shown);
    popup->OnMouseLeave();
    EXPECT_EQ(popup->opacities.back(), 180);
    EXPECT_TRUE(alert->displayCounting());
}

TEST_F(FadeFixture, show_during_the_fade_in_changes_nothing_but_new_messages_still_arrive) {
    clock->pauseAt = 5;
    alert->Show();
    opacitiesReach(7);
    addMessages({"third"});
    alert->Show();
    EXPECT_EQ(popup->lines.size(), 3u);
    EXPECT_EQ(popup->clears, 1);
    clock->release();
    fadeEnds();
    EXPECT_EQ(popup->opacities, showFadeIn);
}

TEST_F(FadeFixture, show_during_the_fade_out_refills_the_popup_and_the_fade_out_still_hides_it) {
    fadeInThenOut();
    alert->AlertMessages().Items(1).Tag = 7; // no hook: only a refill brings it over
    alert->Show();
    EXPECT_EQ(popup->copies.Items(1).Tag, 7);
    clock->release();
    fadeEnds();
    EXPECT_EQ(popup->opacities, fadeOut);
    EXPECT_FALSE(popup->shown);
}

TEST_F(FadeFixture, a_show_after_closing_during_the_fade_out_is_not_hidden_by_that_fade) {
    fadeInThenOut();
    popup->closePath();
    alert->Show(); // a new fade in takes over from the stopped fade out
    clock->release();
    fadeEnds();
    EXPECT_TRUE(popup->shown);
    EXPECT_EQ(popup->opacities.back(), 180);
    EXPECT_TRUE(alert->displayCounting());
}

TEST(AlertDisplayTime, auto_hide_starts_and_stops_the_count_which_needs_no_popup) {
    QWidget window;
    TAlertNotifier alert(&window);
    alert.SetAutoHide(false);
    EXPECT_FALSE(alert.displayCounting());
    alert.SetAutoHide(true); // as when the window sets its stored value
    for (int i = 0; i < 500; ++i) alert.displayTimerTick();
    EXPECT_FALSE(alert.displayCounting());
    EXPECT_EQ(alert.popup(), nullptr);
}

} // namespace
} // namespace newsbell
