// Adding years and months, against a reference that walks month by month with each
// calendar's own month lengths and clamps the day at the end; the edges of the range; and the
// whole months between two days against the meaning of "whole months".
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "calendar/calendar_registry.h"
#include "calendar/calendar_units.h"
#include "jdcore/day_count.h"
#include "jdcore/world_calendars.h"

namespace daybridge {
namespace {

using jdcore::WorldCalendar;

// A calendar as the reference sees it: dates by month number, lengths from jdcore.
struct RefDate {
    std::int64_t year;
    int month;
    int day;
};
using DateOfJdn = jdcore::YearMonthDay (*)(std::int64_t);
using DaysInMonth = int (*)(std::int64_t year, int month);
using JdnOfDate = std::int64_t (*)(std::int64_t year, int month, int day);
template <WorldCalendar W>
constexpr DateOfJdn kWorldOf = [](std::int64_t jdn) { return jdcore::FromJdn(W, jdn); };
template <WorldCalendar W>
constexpr DaysInMonth kWorldLength =
    [](std::int64_t y, int m) { return jdcore::DaysInMonth(W, y, m); };
template <WorldCalendar W>
constexpr JdnOfDate kWorldJdn =
    [](std::int64_t y, int m, int d) { return jdcore::ToJdn(W, y, m, d); };

// A calendar by its number in the registry.
CalendarId Cal(int index) {
    return *CalendarOfIndex(index);
}

struct RefCalendar {
    int index;
    DateOfJdn of;
    DaysInMonth length;
    JdnOfDate jdn;
    int monthsPerYear;  // 0: the Hebrew year's own count
    bool hebrew = false;

    RefDate Of(std::int64_t day) const {
        const jdcore::YearMonthDay d = of(day);
        return {d.year, d.month, d.day};
    }
    int Months(std::int64_t y) const {
        return monthsPerYear != 0 ? monthsPerYear : jdcore::MonthsInYear(WorldCalendar::Hebrew, y);
    }
    std::int64_t Jdn(const RefDate& d) const { return jdn(d.year, d.month, d.day); }
    // One month on or back in the order of the year. The Hebrew year runs Tishri (7) ..
    // Adar (12), Adar II (13) in a leap year, Nisan (1) .. Elul (6), and begins at Tishri.
    void Step(RefDate& d, int direction) const {
        if (hebrew) {
            const bool leap = Months(d.year) == 13;
            if (direction > 0) {
                d.month = d.month == 6    ? 7
                          : d.month == 12 ? (leap ? 13 : 1)
                          : d.month == 13 ? 1
                                          : d.month + 1;
                d.year += d.month == 7 ? 1 : 0;
            } else {
                d.year -= d.month == 7 ? 1 : 0;
                d.month = d.month == 7    ? 6
                          : d.month == 1  ? (leap ? 13 : 12)
                          : d.month == 13 ? 12
                                          : d.month - 1;
            }
            return;
        }
        if (direction > 0) {
            if (d.month == Months(d.year)) {
                ++d.year;
                d.month = 1;
            } else {
                ++d.month;
            }
        } else if (d.month == 1) {
            --d.year;
            d.month = Months(d.year);
        } else {
            --d.month;
        }
    }
    // Years keep the month (Hebrew: by name, Adar I and II -> Adar in a common year, a common
    // year's Adar -> Adar II in a leap year), then months are walked, then the day clamped.
    RefDate Add(std::int64_t jdn, std::int64_t years, std::int64_t months) const {
        RefDate d = Of(jdn);
        if (hebrew && years != 0) {
            const bool fromLeap = Months(d.year) == 13;
            d.year += years;
            const bool toLeap = Months(d.year) == 13;
            if (d.month == 13 && !toLeap) {
                d.month = 12;
            } else if (d.month == 12 && !fromLeap && toLeap) {
                d.month = 13;
            }
        } else {
            d.year += years;
        }
        for (std::int64_t i = 0; i < std::abs(months); ++i) {
            Step(d, months > 0 ? 1 : -1);
        }
        d.day = std::min(d.day, length(d.year, d.month));
        return d;
    }
};

constexpr DateOfJdn kGregorianOf = jdcore::gregorian_from_jdn;
constexpr DaysInMonth kGregorianLength = [](std::int64_t y, int m) {
    return jdcore::month_length(m, jdcore::gregorian_leap(y));
};
constexpr JdnOfDate kGregorianJdn = [](std::int64_t y, int m, int d) {
    return jdcore::jdn_from_gregorian(y, m, d);
};
constexpr DaysInMonth kLeapWeekLength = [](std::int64_t y, int m) {
    return 7 * jdcore::leap_week_weeks_in_month(m, jdcore::leap_week_is_leap(y));
};
constexpr JdnOfDate kLeapWeekJdn = [](std::int64_t y, int m, int d) {
    return jdcore::jdn_from_leap_week_month_date(y, m, d);
};
using enum WorldCalendar;
const RefCalendar kCalendars[] = {
    {0, kGregorianOf, kGregorianLength, kGregorianJdn, 12},
    {1, jdcore::julian_from_jdn,
     [](std::int64_t y, int m) { return jdcore::month_length(m, jdcore::julian_leap(y)); },
     [](std::int64_t y, int m, int d) { return jdcore::jdn_from_julian(y, m, d); }, 12},
    {2, kGregorianOf, kGregorianLength, kGregorianJdn, 12},
    {3, jdcore::annus_novus_from_jdn,
     [](std::int64_t y, int m) {
         return jdcore::annus_novus_month_length(m, jdcore::annus_novus_leap(y));
     },
     [](std::int64_t y, int m, int d) { return jdcore::jdn_from_annus_novus(y, m, d); }, 10},
    {4, kGregorianOf, kGregorianLength, kGregorianJdn, 12},
    {5, jdcore::leap_week_month_date_from_jdn, kLeapWeekLength, kLeapWeekJdn, 12},
    {8, jdcore::leap_week_month_date_from_jdn, kLeapWeekLength, kLeapWeekJdn, 12},
    {9, kWorldOf<Hebrew>, kWorldLength<Hebrew>, kWorldJdn<Hebrew>, 0, true},
    {10, kWorldOf<Islamic>, kWorldLength<Islamic>, kWorldJdn<Islamic>, 12},
    {11, kWorldOf<Persian>, kWorldLength<Persian>, kWorldJdn<Persian>, 12},
    {12, kWorldOf<Coptic>, kWorldLength<Coptic>, kWorldJdn<Coptic>, 13},
    {13, kWorldOf<Ethiopian>, kWorldLength<Ethiopian>, kWorldJdn<Ethiopian>, 13},
    {14, kWorldOf<FrenchRepublican>, kWorldLength<FrenchRepublican>, kWorldJdn<FrenchRepublican>,
     13},
    {15, kWorldOf<Indian>, kWorldLength<Indian>, kWorldJdn<Indian>, 12},
    {16, kGregorianOf, kGregorianLength, kGregorianJdn, 12},
    {17, kGregorianOf, kGregorianLength, kGregorianJdn, 12},
};

constexpr std::int64_t kEdge = 2'100'000'000;

UnitResult Expected(const RefCalendar& cal, std::int64_t jdn, std::int64_t years,
                    std::int64_t months) {
    const std::int64_t result = cal.Jdn(cal.Add(jdn, years, months));
    if (result < -kEdge || result > kEdge) {
        return {UnitOutcome::OutOfRange, 0};
    }
    return {UnitOutcome::Done, result};
}

// Random days over the whole range and near both of its ends, random years and months.
TEST(CalendarUnits, YearsAndMonthsMatchAMonthByMonthWalk) {
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<std::int64_t> anyDay(-kEdge, kEdge);
    std::uniform_int_distribution<std::int64_t> nearEnd(0, 40'000);
    std::uniform_int_distribution<std::int64_t> historic(1'000'000, 3'000'000);
    std::uniform_int_distribution<std::int64_t> years(-100, 100);
    std::uniform_int_distribution<std::int64_t> months(-300, 300);
    for (const RefCalendar& cal : kCalendars) {
        for (int i = 0; i < 3000; ++i) {
            std::int64_t jdn = i % 3 == 0 ? anyDay(random) : historic(random);
            if (i % 5 == 0) {
                jdn = (i % 2 == 0 ? kEdge : -kEdge) + (i % 2 == 0 ? -1 : 1) * nearEnd(random);
            }
            const std::int64_t y = i % 4 == 1 ? 0 : years(random);
            const std::int64_t m = i % 4 == 2 ? 0 : months(random);
            const UnitResult want = Expected(cal, jdn, y, m);
            const UnitResult got = AddYearsMonths(Cal(cal.index), jdn, y, m);
            ASSERT_EQ(got.outcome, want.outcome) << cal.index << " " << jdn << " " << y << " " << m;
            ASSERT_EQ(got.jdn, want.jdn) << cal.index << " " << jdn << " " << y << " " << m;
        }
    }
}

// ISO and LPW years keep week and weekday (week 53 -> 52); their months are CE's and LPM's.
TEST(CalendarUnits, WeekDateYearsKeepWeekAndWeekday) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> day(1'000'000, 3'000'000);
    std::uniform_int_distribution<std::int64_t> years(-60, 60);
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t jdn = day(random);
        const std::int64_t y = years(random);
        const jdcore::IsoWeekDate iso = jdcore::iso_week_from_jdn(jdn);
        const jdcore::IsoWeekDate isoAfter =
            jdcore::iso_week_from_jdn(AddYears(Cal(6), jdn, y).jdn);
        EXPECT_EQ(isoAfter.year, iso.year + y);
        EXPECT_EQ(isoAfter.week, std::min(iso.week, jdcore::iso_weeks_in_year(iso.year + y)));
        EXPECT_EQ(isoAfter.weekday, iso.weekday);
        const jdcore::LeapWeekDate lpw = jdcore::leap_week_from_jdn(jdn);
        const jdcore::LeapWeekDate lpwAfter =
            jdcore::leap_week_from_jdn(AddYears(Cal(7), jdn, y).jdn);
        EXPECT_EQ(lpwAfter.year, lpw.year + y);
        EXPECT_EQ(lpwAfter.week,
                  std::min(lpw.week, jdcore::leap_week_is_leap(lpw.year + y) ? 53 : 52));
        EXPECT_EQ(lpwAfter.weekday, lpw.weekday);
        ASSERT_EQ(AddMonths(Cal(6), jdn, y).jdn, AddMonths(Cal(0), jdn, y).jdn);
        ASSERT_EQ(AddMonths(Cal(7), jdn, y).jdn, AddMonths(Cal(8), jdn, y).jdn);
    }
}

// Additions that land in range: the month-by-month walk above and calendar_units_dateutil.
TEST(CalendarUnits, TableOfCasesAndEdges) {
    struct Case {
        int calendar;
        std::int64_t jdn, years, months;
        UnitOutcome outcome;
        std::int64_t result;
    };
    const Case cases[] = {
        {0, kEdge, 0, 1, UnitOutcome::OutOfRange, 0},
        {0, -kEdge, -1, 0, UnitOutcome::OutOfRange, 0},
        {0, kEdge + 1, 0, 0, UnitOutcome::OutOfRange, 0},
        {0, 0, 1'000'000'001, 0, UnitOutcome::OutOfRange, 0},
        {0, 0, 0, -100'000'000'001, UnitOutcome::OutOfRange, 0},
        {9, 0, -1'000'000'000, -100'000'000'000, UnitOutcome::OutOfRange, 0},
        {6, kEdge - 3, 1, 0, UnitOutcome::OutOfRange, 0},
    };
    for (const Case& c : cases) {
        const UnitResult r = AddYearsMonths(Cal(c.calendar), c.jdn, c.years, c.months);
        EXPECT_EQ(r.outcome, c.outcome) << c.calendar << " " << c.jdn;
        EXPECT_EQ(r.jdn, c.result) << c.calendar << " " << c.jdn;
    }
    // Years, then months, then weeks and days as plain days; subtracting reverses all.
    const UnitDifference d{false, 1, 1, 1, 2, kUnitYears | kUnitMonths | kUnitWeeks | kUnitDays};
    EXPECT_EQ(AddUnits(Cal(0), 2460370, d).jdn, 2460764 + 9);
    EXPECT_EQ(AddUnits(Cal(0), 2460764 + 9, d, true).jdn, 2460370 - 2);  // 2025-04-07 -> 2024-02-27
    EXPECT_EQ(DayPart(d, true), -9);
    EXPECT_EQ(AddUnits(Cal(0), 0, {false, 0, 0, kMaxUnitWeeks + 1, 0, kUnitWeeks}).outcome,
              UnitOutcome::OutOfRange);
    EXPECT_EQ(AddUnits(Cal(0), kEdge - 5, {false, 0, 0, 0, 6, kUnitDays}).outcome,
              UnitOutcome::OutOfRange);
}

// MonthsBetween(a, b) = n: n whole months from a reach at most b and n + 1 pass it, for every
// a whose day is present in every month on the way; and it is antisymmetric.
TEST(CalendarUnits, MonthsBetweenCountsWholeMonths) {
    std::mt19937_64 random(99);
    std::uniform_int_distribution<std::int64_t> day(-kEdge + 5000, kEdge - 5000);
    std::uniform_int_distribution<std::int64_t> gap(-3000, 3000);
    for (const RefCalendar& cal : kCalendars) {
        int checked = 0;
        for (int i = 0; i < 4000; ++i) {
            const std::int64_t a = i % 2 == 0 ? day(random) : 2'400'000 + gap(random) * 50;
            const std::int64_t b = a + gap(random);
            const MonthsResult n = MonthsBetween(Cal(cal.index), a, b);
            ASSERT_EQ(n.outcome, UnitOutcome::Done);
            ASSERT_EQ(MonthsBetween(Cal(cal.index), b, a).months, -n.months);
            if (b < a) {
                continue;
            }
            const RefDate start = cal.Of(a);
            bool present = true;
            RefDate walk = start;
            for (std::int64_t k = 0; k <= n.months + 1; ++k, cal.Step(walk, 1)) {
                present = present && start.day <= cal.length(walk.year, walk.month);
            }
            if (!present) {
                continue;
            }
            ++checked;
            ASSERT_LE(cal.Jdn(cal.Add(a, 0, n.months)), b) << cal.index << " " << a << " " << b;
            ASSERT_GT(cal.Jdn(cal.Add(a, 0, n.months + 1)), b) << cal.index << " " << a;
        }
        EXPECT_GT(checked, 300) << cal.index;
    }
}

}  // namespace
}  // namespace daybridge

namespace daybridge {
namespace {

// A calendar of a span of years adds within its years: a day outside them, or a result beyond
// them, is out of range; inside, a month on and a month back return to the day (day 1).
TEST(CalendarUnits, TableCalendarsStayInTheirYears) {
    for (const CalendarId id :
         {CalendarId::PEA, CalendarId::FRE, CalendarId::UQ, CalendarId::BAH}) {
        const CalendarEntry& c = Calendar(id);
        EXPECT_EQ(AddYearsMonths(id, c.firstJdn - 1, 0, 1).outcome, UnitOutcome::OutOfRange);
        EXPECT_EQ(AddYearsMonths(id, c.lastJdn, 0, 1).outcome, UnitOutcome::OutOfRange);
        EXPECT_EQ(AddYearsMonths(id, c.firstJdn, -1, 0).outcome, UnitOutcome::OutOfRange);
        EXPECT_EQ(MonthsBetween(id, c.firstJdn - 1, c.firstJdn).outcome, UnitOutcome::OutOfRange);
        const UnitResult on = AddYearsMonths(id, c.firstJdn, 0, 1);
        ASSERT_EQ(on.outcome, UnitOutcome::Done) << c.code;
        EXPECT_EQ(FromJdn(id, on.jdn).month, 2) << c.code;
        EXPECT_EQ(AddYearsMonths(id, on.jdn, 0, -1).jdn, c.firstJdn) << c.code;
        EXPECT_EQ(MonthsBetween(id, c.firstJdn, on.jdn).months, 1) << c.code;
    }
}

}  // namespace
}  // namespace daybridge
