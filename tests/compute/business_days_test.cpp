// Weekday counting and stepping of the compute engine against day-by-day reference loops.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "app/app_state.h"
#include "calendar/calendar_table.h"
#include "compute/business_days.h"
#include "compute/compute_engine.h"
#include "support/qstring_printer.h"
#include "support/recording_host.h"

namespace daybridge {
namespace {

using testing::RecordingHost;

// --- reference loops, one day at a time ---

bool RefWeekday(std::int64_t jdn) {
    return IsWeekday(static_cast<std::int32_t>(jdn));
}

// The difference from first to second, counting every day of the span one by one.
std::int64_t RefDifference(std::int64_t first, std::int64_t second, bool includeFirst,
                           bool countWeekends) {
    std::int64_t difference = second - first;
    if (!countWeekends) {
        if (difference <= 0) {
            for (std::int64_t d = second + 1; d <= first; ++d) {
                if (!RefWeekday(d)) {
                    ++difference;
                }
            }
        } else {
            for (std::int64_t d = first + 1; d <= second; ++d) {
                if (!RefWeekday(d)) {
                    --difference;
                }
            }
        }
    }
    if (includeFirst && (countWeekends || RefWeekday(first))) {
        difference += difference < 0 ? -1 : 1;
    }
    return difference;
}

// Stepping from a date by a difference: whole weeks, the rest day by day; a weekend result
// becomes the Friday before it.
std::int64_t RefStep(std::int64_t from, std::int64_t difference, bool includeFrom,
                     bool countWeekends) {
    if (difference == 0) {
        return from;
    }
    const std::int64_t direction = difference > 0 ? 1 : -1;
    if (countWeekends) {
        return from + difference - (includeFrom ? direction : 0);
    }
    std::int64_t n = difference * direction;
    if (RefWeekday(from) && includeFrom) {
        --n;
    }
    const std::int64_t w = n / 5;
    std::int64_t r = n - 5 * w;
    std::int64_t d = from;
    while (r > 0) {
        d += direction;
        if (RefWeekday(d)) {
            --r;
        }
    }
    std::int64_t result = d + direction * 7 * w;
    const int dow = DayOfWeek(static_cast<std::int32_t>(result));
    if (dow == 6) {
        result -= 1;
    } else if (dow == 0) {
        result -= 2;
    }
    return result;
}

class WeekdayEngine : public ::testing::Test {
  protected:
    void SetOptions(bool includeFirst, bool countWeekends) {
        state.includeFirstDate = includeFirst;
        state.includeWeekends = countWeekends;
        state.GetParameters();
    }
    std::int64_t Difference(std::int32_t first, std::int32_t second) {
        engine.FirstJDN = first;
        engine.SecondJDN = second;
        EXPECT_TRUE(engine.ComputeDifference()) << first << " " << second;
        return engine.DateDifference;
    }
    std::int64_t Second(std::int32_t first, std::int32_t difference) {
        engine.FirstJDN = first;
        engine.DateDifference = difference;
        EXPECT_TRUE(engine.ComputeSecondDate()) << first << " " << difference;
        return engine.SecondJDN;
    }
    std::int64_t First(std::int32_t second, std::int32_t difference) {
        engine.SecondJDN = second;
        engine.DateDifference = difference;
        EXPECT_TRUE(engine.ComputeFirstDate()) << second << " " << difference;
        return engine.FirstJDN;
    }

    AppState state;
    RecordingHost host;
    ComputeEngine engine{state, host};
};

constexpr std::int32_t kMonday2012 = 2455935;  // 2012-01-09

TEST(BusinessDays, WeekdayTestAgreesWithTheCalendar) {
    for (std::int64_t jdn :
         {-2100000000LL, -8LL, -1LL, 0LL, 1LL, 6LL, 1721426LL, 2455933LL, 2100000000LL}) {
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(IsWeekdayDay(jdn + i), RefWeekday(jdn + i)) << jdn + i;
        }
    }
}

TEST_F(WeekdayEngine, EveryWeekdayOptionAndSignMatchesTheDayByDayRules) {
    for (int options = 0; options < 4; ++options) {
        const bool includeFirst = (options & 1) != 0;
        const bool countWeekends = (options & 2) != 0;
        SetOptions(includeFirst, countWeekends);
        for (int start = 0; start < 7; ++start) {
            const std::int32_t from = kMonday2012 + start;
            for (std::int32_t span = -40; span <= 40; ++span) {
                SCOPED_TRACE(::testing::Message()
                             << "include " << includeFirst << " weekends " << countWeekends
                             << " from " << from << " span " << span);
                EXPECT_EQ(Difference(from, from + span),
                          RefDifference(from, from + span, includeFirst, countWeekends));
                EXPECT_EQ(Second(from, span), RefStep(from, span, includeFirst, countWeekends));
                EXPECT_EQ(First(from, span), RefStep(from, -span, includeFirst, countWeekends));
            }
        }
    }
}

TEST_F(WeekdayEngine, RandomSpansAcrossTheWholeRangeMatchTheDayByDayRules) {
    std::mt19937_64 random(20120106);
    std::uniform_int_distribution<std::int32_t> anywhere(-2099990000, 2099990000);
    std::uniform_int_distribution<std::int32_t> span(-5000, 5000);
    for (int i = 0; i < 4000; ++i) {
        const bool includeFirst = (i & 1) != 0;
        const bool countWeekends = (i & 2) != 0;
        SetOptions(includeFirst, countWeekends);
        const std::int32_t from = anywhere(random);
        const std::int32_t delta = span(random);
        SCOPED_TRACE(::testing::Message()
                     << "include " << includeFirst << " weekends " << countWeekends << " from "
                     << from << " span " << delta);
        ASSERT_EQ(Difference(from, from + delta),
                  RefDifference(from, from + delta, includeFirst, countWeekends));
        ASSERT_EQ(Second(from, delta), RefStep(from, delta, includeFirst, countWeekends));
        ASSERT_EQ(First(from, delta), RefStep(from, -delta, includeFirst, countWeekends));
    }
}

// Whole weeks added to a span add five weekdays each, however long the span.
TEST_F(WeekdayEngine, LongSpansFollowTheWeeklyPeriod) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int32_t> near(-1000000000, -999990000);
    std::uniform_int_distribution<std::int32_t> small(-30, 30);
    const std::int64_t weeks = 250000000;  // 1,750,000,000 days
    for (int i = 0; i < 500; ++i) {
        const bool includeFirst = (i & 1) != 0;
        SetOptions(includeFirst, false);
        const std::int32_t from = near(random);
        const std::int32_t delta = small(random);
        const std::int64_t base = RefDifference(from, from + delta, includeFirst, false);
        const std::int64_t far =
            Difference(from, static_cast<std::int32_t>(from + delta + 7 * weeks));
        if (base >= 0) {
            EXPECT_EQ(far, base + 5 * weeks) << from << " " << delta;
        }
        // Stepping 5 weekdays further forward lands 7 days later.
        if (delta > 0) {
            EXPECT_EQ(Second(from, static_cast<std::int32_t>(delta + 5 * weeks)),
                      RefStep(from, delta, includeFirst, false) + 7 * weeks);
        }
        // And backwards from the far end.
        const std::int32_t end = static_cast<std::int32_t>(-from);
        if (delta > 0) {
            EXPECT_EQ(Second(end, static_cast<std::int32_t>(-delta - 5 * weeks)),
                      RefStep(end, -delta, includeFirst, false) - 7 * weeks);
        }
    }
}

// Fixed answers around one weekend, which the day-by-day rules above must also give.
struct NamedCase {
    const char* what;
    bool step;  // from `a` by `b` days; else the difference from `a` to `b`
    std::int32_t a, b;
    bool includeFirst;
    bool countWeekends;
    std::int32_t expected;
};

TEST_F(WeekdayEngine, NamedCases) {
    constexpr std::int32_t fri = 2455933;  // 2012-01-06
    constexpr std::int32_t sat = fri + 1;
    constexpr std::int32_t mon = fri + 3;
    const NamedCase cases[] = {
        {"Friday to Monday, weekdays only", false, fri, mon, false, false, 1},
        {"Friday to Monday, weekdays only, first included", false, fri, mon, true, false, 2},
        {"Saturday to Monday, first included", false, sat, mon, true, false, 1},
        {"same date, first included", false, fri, fri, true, true, 1},
        {"same date", false, fri, fri, false, true, 0},
        {"Monday back to Friday", false, mon, fri, false, false, -1},
        {"Saturday to Sunday, weekdays only", false, sat, sat + 1, false, false, 0},
        {"Friday plus 1, weekdays only", true, fri, 1, false, false, fri + 3},
        {"Friday plus 1, first included", true, fri, 1, true, false, fri},
        {"Saturday plus 5 ends on the Friday", true, sat, 5, false, false, fri + 7},
        {"Saturday minus 5 ends on the Friday", true, sat, -5, false, false, fri - 7},
        {"Sunday minus 10 ends on the Friday", true, sat + 1, -10, false, false, fri - 14},
        {"plus 0 with every option", true, sat, 0, true, false, sat},
        {"plus 0 weekends counted", true, fri, 0, true, true, fri},
        {"weekends counted, first included", true, fri, 10, true, true, fri + 9},
        {"weekends counted, first included, backwards", true, fri, -10, true, true, fri - 9},
    };
    for (const NamedCase& c : cases) {
        SetOptions(c.includeFirst, c.countWeekends);
        EXPECT_EQ(c.step ? Second(c.a, c.b) : Difference(c.a, c.b), c.expected) << c.what;
        const std::int64_t reference =
            c.step ? RefStep(c.a, c.b, c.includeFirst, c.countWeekends)
                   : RefDifference(c.a, c.b, c.includeFirst, c.countWeekends);
        EXPECT_EQ(reference, c.expected) << c.what << " (reference rules)";
    }
}

TEST_F(WeekdayEngine, FullRangeResultsAndTheirLimits) {
    SetOptions(false, false);
    // 2,800,000,000 days are exactly 400,000,000 weeks.
    EXPECT_EQ(Difference(-1400000000, 1400000000), 2000000000);
    EXPECT_EQ(Second(-1400000000, 2000000000), 1400000000);  // Monday to Monday
    EXPECT_TRUE(host.boxes.empty());

    engine.FirstJDN = -2000000000;
    engine.SecondJDN = 2000000000;
    EXPECT_FALSE(engine.ComputeDifference());
    SetOptions(false, true);
    EXPECT_FALSE(engine.ComputeDifference());
    engine.FirstJDN = 2100000000;
    engine.DateDifference = 1;
    EXPECT_FALSE(engine.ComputeSecondDate());
    engine.DateDifference = -1;
    EXPECT_TRUE(engine.ComputeSecondDate());
    SetOptions(false, false);
    engine.SecondJDN = -2100000000;
    engine.DateDifference = 1;
    EXPECT_FALSE(engine.ComputeFirstDate());
    ASSERT_EQ(host.boxes.size(), 4u);
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("Result is out of range."));
    EXPECT_EQ(state.output.text(), QStringLiteral("Out of Range\r\n").repeated(4));
}

}  // namespace
}  // namespace daybridge
