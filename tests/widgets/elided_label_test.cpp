#include "widgets/ElidedLabel.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

// A line narrower than its text keeps its end in sight when its address gives way first, and
// never shows more than fits.
TEST(ElidedLabel, the_part_that_matters_less_gives_way_first) {
    const QString address = "https://feeds.example.org/calendar/this/week/ff_calendar_thisweek.xml";
    const QString end = ", копия от 07.12 18:02: нет соединения с сервером (с 07.12 18:07)";
    ElidedLabel line("Лента: " + address + end);
    const QFontMetrics metrics = line.fontMetrics();
    const int whole = metrics.horizontalAdvance(line.text());
    const struct {
        int width;
        bool shortenAddress;
        const char* starts;
        const char* ends;
    } cases[] = {
        {whole, true, "Лента: https://feeds", "(с 07.12 18:07)"},
        {whole * 3 / 4, true, "Лента: https://", "(с 07.12 18:07)"},
        {whole * 3 / 4, false, "Лента: https://feeds", "…"},
        {whole / 4, true, "Лента: …, копия", "…"},
    };
    for (const auto& c : cases) {
        line.setShortenFirst(c.shortenAddress ? address : QString());
        const QString shown = line.fitted(c.width);
        EXPECT_LE(metrics.horizontalAdvance(shown), c.width) << shown.toStdString();
        EXPECT_TRUE(shown.startsWith(QString::fromUtf8(c.starts))) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(QString::fromUtf8(c.ends))) << shown.toStdString();
        EXPECT_EQ(shown == line.text(), c.width == whole) << shown.toStdString();
    }
}

} // namespace
} // namespace newsbell
