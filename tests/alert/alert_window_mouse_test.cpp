#include "alert_window_support.h"
#include "base/Error.h"

#include <QTest>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using testing::addMessages;
using testing::WindowEvents;
using Log = std::vector<std::string>;

const std::vector<std::string> three = {"one", "two", "three"};

QPoint centre(const TRect& rect) {
    return {(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2};
}

QPoint centreOf(const TAlertWindow& window, AlertButton button) {
    return centre(window.layout().button(button));
}

// A window on the offscreen screen, as the component shows it.
void showOffscreen(TAlertWindow& window) {
    window.applySettings(testing::schemeSettings());
    window.setShown(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

TEST(AlertWindowMessages, deleting_keeps_the_shown_message_or_steps_back_from_the_last) {
    const struct {
        int count, position, deleted;
        int expectedPosition;
        const char* shown; // nullptr: none left
    } cases[] = {
        {3, 3, 2, 2, "two"}, {3, 2, 0, 1, "two"},   {3, 2, 1, 2, "three"},
        {3, 1, 2, 1, "one"}, {1, 1, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        TAlertWindow window;
        WindowEvents events(window);
        addMessages(window, {three.begin(), three.begin() + c.count});
        for (int i = 1; i < c.position; ++i) window.Next();
        events.take();
        window.deleteMessage(c.deleted);
        const TMsgScroller& at = window.scroller();
        EXPECT_EQ(at.Position(), c.expectedPosition) << c.count << c.deleted;
        EXPECT_EQ(at.Max(), c.count - 1);
        EXPECT_EQ(at.Visible(), c.count - 1 > 1);
        if (c.shown)
            EXPECT_EQ(window.messageText(at.Position() - 1), c.shown);
        else
            EXPECT_EQ(at.Min(), 0);
        EXPECT_EQ(events.take(), Log{"delete " + std::to_string(c.deleted)});
    }
}

TEST(AlertWindowMessages, navigation_stops_at_the_ends_and_bad_indexes_change_nothing) {
    TAlertWindow window;
    WindowEvents events(window);
    addMessages(window, three);
    window.Previous();
    for (int i = 0; i < 3; ++i) window.Next();
    window.Previous();
    EXPECT_EQ(window.scroller().Position(), 2);
    EXPECT_EQ(events.take(), (Log{"next", "next", "prev"}));
    for (int index : {-1, 3}) {
        try {
            window.deleteMessage(index);
            ADD_FAILURE() << index;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Invalid Index");
        }
        EXPECT_THROW(window.setMessage(index, "x", 0), Error);
    }
    EXPECT_EQ(window.messageCount(), 3);
    EXPECT_EQ(window.scroller().Position(), 2);
    EXPECT_TRUE(events.take().empty());
}

TEST(AlertWindowClose, the_last_deletion_runs_the_close_path_and_a_veto_keeps_the_window) {
    TAlertWindow window;
    WindowEvents events(window);
    addMessages(window, {"only"});
    showOffscreen(window);
    events.allowClose = false;
    window.DeleteCurrent();
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(events.take(), (Log{"canclose", "delete 0"}));
    events.allowClose = true;
    window.addMessage("again", 0);
    window.clearMessages();
    EXPECT_FALSE(window.isShown());
    EXPECT_EQ(events.take(), (Log{"canclose", "close"}));
    window.closePath(); // hidden: nothing to ask
    EXPECT_TRUE(events.take().empty());
}

TEST(AlertWindowMouse, a_button_acts_on_release_only_while_its_pressed_mark_lasts) {
    const struct {
        const char* what;
        AlertButton pressed;
        bool moveOff;
        Log log;
        int position;
    } cases[] = {
        {"close", AlertButton::Close, false, {"canclose", "close"}, 1},
        {"close, moved off", AlertButton::Close, true, {}, 1},
        {"next", AlertButton::Next, false, {"next"}, 2},
        {"next, moved off", AlertButton::Next, true, {}, 1},
        {"prev at the first", AlertButton::Prev, false, {}, 1},
        {"delete", AlertButton::Delete, false, {"delete 0"}, 1},
    };
    for (const auto& c : cases) {
        TAlertWindow window;
        addMessages(window, three);
        showOffscreen(window);
        WindowEvents events(window);
        const QPoint at = centreOf(window, c.pressed);
        const QPoint away(5, 50);
        QTest::mousePress(&window, Qt::LeftButton, {}, at);
        if (c.moveOff) QTest::mouseMove(&window, away);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, c.moveOff ? away : at);
        EXPECT_EQ(events.take(), c.log) << c.what;
        EXPECT_EQ(window.scroller().Position(), c.position) << c.what;
        EXPECT_EQ(window.isShown(), c.pressed != AlertButton::Close || c.moveOff) << c.what;
    }
}

TEST(AlertWindowMouse, the_caption_strip_drags_the_window) {
    TAlertWindow window;
    addMessages(window, {"one"});
    showOffscreen(window);
    window.move(100, 100);
    WindowEvents events(window);
    QTest::mousePress(&window, Qt::LeftButton, {}, {150, 3});
    QTest::mouseMove(&window, {170, 13});
    QTest::mouseRelease(&window, Qt::LeftButton, {}, {170, 13});
    EXPECT_EQ(window.pos(), QPoint(120, 110));
    EXPECT_EQ(events.take(), Log{"moved"});
}

TEST(AlertWindowMouse, hints_follow_the_buttons_and_leaving_clears_them) {
    TAlertWindow window;
    addMessages(window, three);
    showOffscreen(window);
    WindowEvents events(window);
    int moves = 0;
    window.OnMouseMove = [&moves] { ++moves; };
    QTest::mouseMove(&window, centreOf(window, AlertButton::Next));
    EXPECT_EQ(window.toolTip(), QStringLiteral("Next"));
    QTest::mouseMove(&window, centreOf(window, AlertButton::Prev)); // cannot go back
    EXPECT_EQ(window.toolTip(), QStringLiteral(""));
    QTest::mouseMove(&window, centreOf(window, AlertButton::Close));
    EXPECT_EQ(window.toolTip(), QStringLiteral("Close"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&window, &leave);
    EXPECT_EQ(window.toolTip(), QStringLiteral(""));
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(events.take(), Log{"leave"});
}

TEST(AlertWindowMouse, a_link_shows_the_hand_and_a_click_on_it_reports_anchor_and_message) {
    TAlertWindow window;
    addMessages(window, {"first", "<a href=\"http://example.org/\xEF\">link link link</a>"});
    showOffscreen(window);
    window.Next();
    WindowEvents events(window);
    const TRect message = window.layout().message;
    const QPoint onLink(message.Left + 12, message.Top + 6);
    QTest::mouseMove(&window, onLink);
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(&window, Qt::LeftButton, {}, onLink);
    EXPECT_EQ(events.take(), Log{"anchor http://example.org/\xEF 1"});
    QTest::mouseMove(&window, {message.Left + 12, message.Bottom - 2});
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(&window, Qt::LeftButton, {}, {message.Left + 12, message.Bottom - 2});
    EXPECT_TRUE(events.take().empty());
}

} // namespace
} // namespace newsbell
