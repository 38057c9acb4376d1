// Week numbering rules: every day of 1900-2100 under every first day and week-1 kind against a
// count written from the rule's meaning, the WEEKNUM types' documented examples, round trips over
// the whole range. Python's isocalendar, %U and %W: week_number_python.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "jdcore/day_count.h"
#include "jdcore/week_rules.h"

namespace jdcore {
namespace {

namespace chr = std::chrono;
constexpr std::int64_t kUnixEpochJdn = 2440588;

std::int64_t Jdn(int y, unsigned m, unsigned d) {
    return chr::sys_days{chr::year{y} / m / d}.time_since_epoch().count() + kUnixEpochJdn;
}
int YearOf(std::int64_t jdn) {
    return static_cast<int>(
        chr::year_month_day{chr::sys_days{chr::days{jdn - kUnixEpochJdn}}}.year());
}
// Days from the rule's first day to the day's weekday, 0..6, by std::chrono's weekdays.
int FromFirstDay(std::int64_t jdn, Weekday first) {
    const chr::weekday day{chr::sys_days{chr::days{jdn - kUnixEpochJdn}}};
    return static_cast<int>((day - chr::weekday{static_cast<unsigned>(first)}).count());
}

std::vector<WeekRule> EveryRule() {
    std::vector<WeekRule> rules;
    for (int day = 1; day <= 7; ++day) {
        for (WeekOne one : {WeekOne::HoldsJanuary1, WeekOne::FourDays, WeekOne::FullWeek,
                            WeekOne::CalendarYear}) {
            rules.push_back({static_cast<Weekday>(day), one});
        }
    }
    return rules;
}

// The first day of week 1 by the rule's meaning: the first week that starts on the rule's first
// day and has enough days in the year (calendar-year weeks: 1 January).
std::int64_t Week1(WeekRule rule, int year) {
    if (rule.weekOne == WeekOne::CalendarYear) {
        return Jdn(year, 1, 1);
    }
    const int needed = rule.weekOne == WeekOne::FourDays   ? 4
                       : rule.weekOne == WeekOne::FullWeek ? 7
                                                           : 1;
    for (std::int64_t start = Jdn(year, 1, 1) - 6;; ++start) {
        int inYear = 0;
        for (int k = 0; k < 7; ++k) {
            inYear += YearOf(start + k) == year ? 1 : 0;
        }
        if (FromFirstDay(start, rule.firstDay) == 0 && inYear >= needed) {
            return start;
        }
    }
}

TEST(WeekRule, EveryDayOf1900To2100CountsAsTheRuleSays) {
    for (const WeekRule rule : EveryRule()) {
        for (int year = 1900; year <= 2100; ++year) {
            const std::int64_t first = Week1(rule, year);
            const std::int64_t end = Week1(rule, year + 1);
            std::int32_t week = 1;
            for (std::int64_t jdn = first; jdn < end; ++jdn) {
                const int day = FromFirstDay(jdn, rule.firstDay) + 1;
                week += jdn != first && day == 1 ? 1 : 0;
                const WeekDate got = ToWeekDate(rule, jdn);
                ASSERT_TRUE(got.year == year && got.week == week && got.day == day)
                    << static_cast<int>(rule.weekOne) << static_cast<int>(rule.firstDay) << " JDN "
                    << jdn << ": " << got.year << "-W" << got.week << "-" << got.day << ", counted "
                    << year << "-W" << week << "-" << day;
                ASSERT_EQ(FromWeekDate(rule, year, week, day), jdn);
                ASSERT_EQ(CheckWeekDate(rule, year, week, day), DateProblem::None) << jdn;
                // The week was counted by the first days passed since week 1 began.
                ASSERT_EQ(WeeksBetween(rule, first, jdn), week - 1);
                ASSERT_EQ(WeeksBetween(rule, jdn, first), 1 - week);
            }
            ASSERT_EQ(WeeksInYear(rule, year), week) << year;
            ASSERT_EQ(WeekYearStart(rule, year), first);
            ASSERT_EQ(WeekYearEnd(rule, year), end - 1);
            EXPECT_EQ(CheckWeekDate(rule, year, week + 1, 1), DateProblem::WeekOutOfRange);
            EXPECT_EQ(CheckWeekDate(rule, year, 0, 7), DateProblem::WeekOutOfRange);
            if (rule.weekOne == WeekOne::CalendarYear) {
                // The days of the first and last weeks that lie in the years around.
                const int firstDay = FromFirstDay(first, rule.firstDay) + 1;
                const int lastDay = FromFirstDay(end - 1, rule.firstDay) + 1;
                EXPECT_EQ(CheckWeekDate(rule, year, 1, firstDay - 1),
                          firstDay > 1 ? DateProblem::DayOutsideYear : DateProblem::DayOutOfRange);
                EXPECT_EQ(CheckWeekDate(rule, year, week, lastDay + 1),
                          lastDay < 7 ? DateProblem::DayOutsideYear : DateProblem::DayOutOfRange);
            }
        }
    }
}

// Microsoft's WEEKNUM and ISOWEEKNUM examples, ECMA-376's WEEKNUM examples, the ISO 8601 ones
// of LibreOffice's WEEKNUM type 21 and of SoftMaker's ISOWEEKNUM.
TEST(WeekNumber, SpreadsheetTypesGiveTheirDocumentedExamples) {
    struct Example {
        int y;
        unsigned m, d;
        int type, week;
    };
    constexpr Example kExamples[] = {
        {2012, 3, 9, 1, 10},  {2012, 3, 9, 2, 11}, {2012, 3, 9, 21, 10}, {2006, 1, 1, 1, 1},
        {2006, 2, 1, 1, 5},   {2006, 2, 1, 2, 6},  {1995, 1, 1, 1, 1},   {1995, 1, 1, 21, 52},
        {1999, 1, 1, 21, 53}, {2020, 1, 1, 21, 1}, {2017, 1, 1, 21, 52},
    };
    for (const Example& e : kExamples) {
        const std::optional<WeekRule> rule = WeekNumReturnType(e.type);
        ASSERT_TRUE(rule.has_value()) << e.type;
        EXPECT_EQ(ToWeekDate(*rule, Jdn(e.y, e.m, e.d)).week, e.week)
            << e.y << "-" << e.m << "-" << e.d << " type " << e.type;
    }
    // The documented first days of the week; system 1 but for type 21.
    constexpr int kFirstDay[] = {1,  7, 2,  1, 11, 1, 12, 2, 13, 3,
                                 14, 4, 15, 5, 16, 6, 17, 7, 21, 1};
    for (std::size_t i = 0; i < std::size(kFirstDay); i += 2) {
        const std::optional<WeekRule> rule = WeekNumReturnType(kFirstDay[i]);
        ASSERT_TRUE(rule.has_value()) << kFirstDay[i];
        EXPECT_EQ(static_cast<int>(rule->firstDay), kFirstDay[i + 1]) << kFirstDay[i];
        EXPECT_EQ(rule->weekOne == WeekOne::CalendarYear, kFirstDay[i] != 21) << kFirstDay[i];
    }
    for (int type : {-1, 0, 3, 10, 18, 20, 22, 150}) {
        EXPECT_FALSE(WeekNumReturnType(type).has_value()) << type;
    }
    // A leap year starting on a Sunday has 54 Monday-based calendar-year weeks.
    EXPECT_EQ(ToWeekDate(*WeekNumReturnType(2), Jdn(2012, 12, 31)).week, 54);
}

TEST(WeekRule, RoundTripsOverTheWholeRangeAndIsoAgreesWithTheIsoCalendar) {
    std::mt19937_64 random(30);
    std::uniform_int_distribution<std::int64_t> day(-kMaxWeekJdn, kMaxWeekJdn);
    const std::vector<WeekRule> rules = EveryRule();
    for (int i = 0; i < 200000; ++i) {
        const std::int64_t jdn =
            i < 4 ? (i % 2 == 0 ? 1 : -1) * (kMaxWeekJdn - i / 2) : day(random);
        const WeekRule rule = rules[static_cast<std::size_t>(i) % rules.size()];
        const WeekDate d = ToWeekDate(rule, jdn);
        ASSERT_EQ(FromWeekDate(rule, d.year, d.week, d.day), jdn) << jdn;
        ASSERT_EQ(CheckWeekDate(rule, d.year, d.week, d.day), DateProblem::None) << jdn;
        ASSERT_LE(WeekYearStart(rule, d.year), jdn);
        ASSERT_GE(WeekYearEnd(rule, d.year), jdn);
        const IsoWeekDate iso = iso_week_from_jdn(jdn);
        const WeekDate ours = ToWeekDate(kIsoWeeks, jdn);
        ASSERT_TRUE(ours.year == iso.year && ours.week == iso.week && ours.day == iso.weekday)
            << jdn;
    }
    EXPECT_EQ(CheckWeekDate(kIsoWeeks, kMaxWeekYear + 1, 1, 1), DateProblem::YearOutOfRange);
    EXPECT_EQ(CheckWeekDate(kIsoWeeks, 2020, 1, 8), DateProblem::DayOutOfRange);
}

TEST(WeekRule, AddingWeekYearsKeepsWeekAndDayWithinTheTargetYear) {
    const WeekRule sunday = *WeekNumReturnType(1);
    const WeekRule monday = *WeekNumReturnType(2);
    struct Case {
        WeekRule rule;
        std::int64_t from, years, to;
    };
    const Case kCases[] = {
        {kIsoWeeks, Jdn(2020, 12, 30), 1, Jdn(2021, 12, 29)},  // W53-3 -> W52-3
        {kIsoWeeks, Jdn(2016, 1, 3), 5, Jdn(2021, 1, 3)},      // 2015-W53-7 -> 2020-W53-7
        {sunday, Jdn(2022, 1, 1), 1, Jdn(2023, 1, 7)},         // week 1, Saturday
        {sunday, Jdn(2023, 1, 2), -1, Jdn(2022, 1, 1)},        // Monday of week 1: in 2021
        {monday, Jdn(2012, 12, 31), 1, Jdn(2013, 12, 30)},     // week 54 -> 53
        {kUsWeeks, Jdn(2023, 12, 31), -1, Jdn(2023, 1, 1)},    // 2024-W1-1 -> 2023-W1-1
        {kMiddleEastWeeks, Jdn(2022, 12, 31), 1, Jdn(2023, 12, 30)},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(AddWeekYears(c.rule, c.from, c.years), c.to) << c.from << " " << c.years;
    }
    EXPECT_FALSE(AddWeekYears(kIsoWeeks, 2451545, 7'000'000).has_value());
    EXPECT_FALSE(AddWeeks(kMaxWeekJdn - 6, 1).has_value());
    EXPECT_EQ(AddWeeks(kMaxWeekJdn - 7, 1), kMaxWeekJdn);
}

}  // namespace
}  // namespace jdcore
