#include "base/Error.h"
#include "tests/support/FakeDesktop.h"
#include "widgets/ErrorReporter.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

using testing::RecordingMessages;

TEST(ErrorReporter, shows_what_a_handler_throws_and_lets_the_caller_go_on) {
    RecordingMessages messages;
    ErrorReporter errors(messages);
    bool after = false;
    errors.run([] { throw Error("'x' is not a valid integer value"); });
    errors.run([&] { after = true; });
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("'x' is not a valid integer value")});
    EXPECT_TRUE(after);
}

TEST(ErrorReporter, keeps_cyrillic_messages_intact) {
    RecordingMessages messages;
    ErrorReporter errors(messages);
    errors.run([] { throw Error("Не удалось записать файл «a.txt»"); });
    EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8("Не удалось записать файл «a.txt»")});
}

// A timer that fails every tick while the first box is still open must not stack boxes.
TEST(ErrorReporter, does_not_repeat_a_message_that_is_still_on_screen) {
    RecordingMessages messages;
    ErrorReporter errors(messages);
    int nested = 0;
    messages.whileShown = [&] {
        if (nested++ > 0) return;
        errors.run([] { throw Error("same"); });
        errors.run([] { throw Error("other"); });
    };
    errors.run([] { throw Error("same"); });
    EXPECT_EQ(messages.shown, (QStringList{QStringLiteral("same"), QStringLiteral("other")}));

    messages.whileShown = nullptr;
    errors.run([] { throw Error("same"); });
    EXPECT_EQ(messages.shown.size(), 3) << "once closed, the message may come again";
}

TEST(ErrorReporter, handler_wraps_a_member_for_connect) {
    struct Window {
        int calls = 0;
        void fail() {
            ++calls;
            throw Error("failed");
        }
    } window;
    RecordingMessages messages;
    ErrorReporter errors(messages);
    auto handler = errors.handler(&window, &Window::fail);
    handler();
    handler();
    EXPECT_EQ(window.calls, 2);
    EXPECT_EQ(messages.shown, (QStringList{QStringLiteral("failed"), QStringLiteral("failed")}));
}

} // namespace
} // namespace newsbell
