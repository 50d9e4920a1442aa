#include "widgets/PaintOrder.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

using namespace std::chrono_literals;

// The window's repaint waits for the popup's next paint, or for the bound; never for ever.
TEST(PaintOrder, holds_the_window_until_the_popup_has_painted_or_the_bound_has_passed) {
    QWidget window;
    window.show();
    QWidget popup(nullptr, Qt::Tool);
    PaintOrder untilPainted(window, 60s);
    untilPainted.popupFirst(&popup);
    EXPECT_TRUE(window.updatesEnabled()) << "a hidden popup paints nothing to wait for";

    popup.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
    untilPainted.popupFirst(&popup);
    EXPECT_FALSE(window.updatesEnabled());
    popup.repaint();
    EXPECT_TRUE(window.updatesEnabled());

    PaintOrder bounded(window, 50ms);
    bounded.popupFirst(&popup);
    EXPECT_FALSE(window.updatesEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.updatesEnabled(); }, 1000));
}

} // namespace
} // namespace newsbell
