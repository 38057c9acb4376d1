// Weekday counting and stepping of the compute engine against the day-by-day rule
// (support/day_rule.h).
#include <gtest/gtest.h>

#include <cstdint>

#include "app/app_state.h"
#include "calendar/calendar_table.h"
#include "compute/compute_engine.h"
#include "compute/result_text.h"
#include "support/day_rule.h"
#include "support/qstring_printer.h"
#include "support/recording_host.h"

namespace daybridge {
namespace {

using testing::DayTable;
using testing::RecordingHost;

enum class Row { Difference, Second, First };

struct Options {
    bool includeFirst;
    bool countWeekends;
};

// The rule's answers within 200 days of `around`.
DayTable Rule(std::int64_t around, Options o) {
    return DayTable(
        [o](std::int64_t d) { return o.countWeekends || IsWeekday(static_cast<std::int32_t>(d)); },
        around - 200, 401);
}

std::int64_t RefCount(std::int64_t first, std::int64_t second, Options o) {
    return Rule(first, o).Count(first, second, o.includeFirst);
}

std::int64_t RefStep(Row row, std::int64_t known, std::int64_t difference, Options o) {
    return Rule(known, o).Step(row == Row::Second, known, difference, o.includeFirst, 80);
}

class WeekdayEngine : public ::testing::Test {
  protected:
    std::int64_t Run(Row row, std::int64_t a, std::int64_t b, Options o) {
        state.settings.includeFirstDate = o.includeFirst;
        state.settings.includeWeekends = o.countWeekends;
        state.GetParameters();
        const auto known = static_cast<std::int32_t>(a);
        const auto other = static_cast<std::int32_t>(b);
        const std::optional<std::int32_t> result =
            row == Row::Difference ? engine.DifferenceBetween(known, other)
            : row == Row::Second   ? engine.SecondDateFrom(known, other, std::nullopt)
                                   : engine.FirstDateFrom(known, other, std::nullopt);
        EXPECT_TRUE(result.has_value()) << a << " and " << b;
        return result.value_or(0);
    }

    AppState state;
    ComputeEngine engine{state};
};

constexpr std::int64_t kMonday2012 = 2455936;  // 2012-01-09

// Every start weekday, both include-first settings and both weekend settings, differences
// -30..30 in the three rows, in 2012 and next to both ends of the day range.
TEST_F(WeekdayEngine, EveryRowMatchesTheDayByDayRuleAndRoundTrips) {
    for (const std::int64_t base :
         {std::int64_t{kMonday2012}, std::int64_t{-2099999933}, std::int64_t{2099999928}}) {
        for (int options = 0; options < 4; ++options) {
            const Options o{(options & 1) != 0, (options & 2) != 0};
            for (std::int64_t known = base; known < base + 7; ++known) {
                for (std::int64_t difference = -30; difference <= 30; ++difference) {
                    SCOPED_TRACE(::testing::Message()
                                 << "include " << o.includeFirst << " weekends " << o.countWeekends
                                 << " known " << known << " difference " << difference);
                    ASSERT_EQ(Run(Row::Difference, known, known + difference, o),
                              RefCount(known, known + difference, o));
                    const std::int64_t second = Run(Row::Second, known, difference, o);
                    const std::int64_t first = Run(Row::First, known, difference, o);
                    ASSERT_EQ(second, RefStep(Row::Second, known, difference, o));
                    ASSERT_EQ(first, RefStep(Row::First, known, difference, o));
                    // Counted back, a stepped date gives its difference, except with
                    // include-first 0 and the one-day span, -1 from or to a counted day.
                    if (!o.includeFirst ||
                        (difference != 0 && (difference != -1 || RefCount(known, known, o) != 1))) {
                        EXPECT_EQ(RefCount(known, second, o), difference);
                        EXPECT_EQ(RefCount(first, known, o), difference);
                    }
                }
            }
        }
    }
}

// Spans near +-2.1e9 days: whole weeks added to a short span add 5 weekdays each.
TEST_F(WeekdayEngine, LongSpansFollowTheWeeklyPeriod) {
    constexpr std::int64_t weeks = 300000000;  // 2,100,000,000 days
    for (int options = 0; options < 2; ++options) {
        const Options o{options != 0, false};
        for (std::int64_t known = -1050000000; known < -1050000000 + 7; ++known) {
            for (std::int64_t span = 2; span <= 12; ++span) {
                const std::int64_t far = known + 7 * weeks;
                SCOPED_TRACE(::testing::Message() << o.includeFirst << " " << known << " " << span);
                EXPECT_EQ(Run(Row::Difference, known, known + span + 7 * weeks, o),
                          RefCount(known, known + span, o) + 5 * weeks);
                EXPECT_EQ(Run(Row::Difference, far, far - span - 7 * weeks, o),
                          RefCount(far, far - span, o) - 5 * weeks);
                EXPECT_EQ(Run(Row::Second, known, span + 5 * weeks, o),
                          RefStep(Row::Second, known, span, o) + 7 * weeks);
                EXPECT_EQ(Run(Row::Second, far, -span - 5 * weeks, o),
                          RefStep(Row::Second, far, -span, o) - 7 * weeks);
                EXPECT_EQ(Run(Row::First, far, span + 5 * weeks, o),
                          RefStep(Row::First, far, span, o) - 7 * weeks);
                EXPECT_EQ(Run(Row::First, known, -span - 5 * weeks, o),
                          RefStep(Row::First, known, -span, o) + 7 * weeks);
            }
        }
    }
}

TEST_F(WeekdayEngine, FullRangeResultsAndTheirLimits) {
    // 2,800,000,000 days are exactly 400,000,000 weeks; Monday to Monday.
    EXPECT_EQ(Run(Row::Difference, -1400000000, 1400000000, {false, false}), 2000000000);
    EXPECT_EQ(Run(Row::Second, -1400000000, 2000000000, {false, false}), 1400000000);
    EXPECT_EQ(Run(Row::First, 1400000000, 2000000000, {false, false}), -1400000000);

    EXPECT_FALSE(engine.DifferenceBetween(-2000000000, 2000000000));
    state.settings.includeWeekends = true;
    state.GetParameters();
    EXPECT_FALSE(engine.DifferenceBetween(-2000000000, 2000000000));
    EXPECT_FALSE(engine.SecondDateFrom(2100000000, 1, std::nullopt));
    EXPECT_EQ(engine.SecondDateFrom(2100000000, -1, std::nullopt), 2099999999);
    state.settings.includeWeekends = false;
    state.GetParameters();
    EXPECT_FALSE(engine.FirstDateFrom(-2100000000, 1, std::nullopt));

    // In the window a result out of range is said in the output and in a box.
    RecordingHost host;
    QString first = QStringLiteral("2100000000");
    QString difference = QStringLiteral("1");
    QString second;
    state.settings.firstCalendar = CalendarId::JDN;
    state.GetParameters();
    EXPECT_FALSE(ComputeAndShow(engine, state, host, first, difference, second));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("Result is out of range."));
    EXPECT_EQ(host.output().text(), QStringLiteral("Out of Range\r\n\r\n"));
}

}  // namespace
}  // namespace daybridge
