// Breakdown of a difference into years, months or weeks, and days, against plain arithmetic:
// the first date moved by whole months (31 April being 1 May), or by whole years in ISO weeks
// (a week 53 the year lacks being week 1 of the next), is the latest such date not after the
// second date, and the days or weeks and days make up the rest. The unit arithmetic and the whole
// months between two dates agree with it. The breakdown's words and the sentences around it:
// golden programs compute_lines and compute_lines_de.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "calendar/calendar_table.h"
#include "calendar/calendar_units.h"
#include "calendar/iso_ordinal.h"
#include "compute/presentation.h"
#include "jdcore/jdcore.h"

namespace daybridge {
namespace {

DateRecord RecordOf(std::int64_t jdn, char letter) {
    DateRecord record = CivilOfJdn(static_cast<std::int32_t>(jdn), letter);
    record.calendar = letter;
    return record;
}

IsoWeekRecord IsoOf(std::int64_t jdn) {
    IsoWeekRecord record;
    record.jdn = static_cast<std::int32_t>(jdn);
    JdnToIsoWeek(record);
    return record;
}

TEST(Breakdown, YearsMonthsDaysAgreeWithPlainArithmetic) {
    struct Case {
        CalendarId index;
        char letter;
        int monthsPerYear;
    };
    const Case calendars[] = {
        {CalendarId::CE, 'G', 12}, {CalendarId::JC, 'J', 12}, {CalendarId::AN, 'A', 10}};
    std::mt19937_64 random(5);
    std::uniform_int_distribution<std::int64_t> day(JdnOfCivil(-1000, 1, 1), 3'000'000);
    std::uniform_int_distribution<std::int64_t> span(0, 8'000);
    for (const Case& cal : calendars) {
        for (int i = 0; i < 20000; ++i) {
            const std::int64_t a = day(random);
            const std::int64_t b = a + (i % 2 == 0 ? span(random) : span(random) % 100);
            const DateRecord first = RecordOf(a, cal.letter);
            const DifferenceParts parts =
                DifferenceInYearsMonthsDays(first, RecordOf(b, cal.letter));
            ASSERT_EQ(parts.status, 0);
            ASSERT_GE(parts.monthsOrWeeks, 0);
            ASSERT_LT(parts.monthsOrWeeks, cal.monthsPerYear);
            // Dates in the wrong order have no breakdown.
            ASSERT_EQ(DifferenceInYearsMonthsDays(RecordOf(b, cal.letter), first).status,
                      b > a ? -1 : 0);
            const auto moved = [&](std::int64_t months) {
                const std::int64_t m = first.month - 1 + months;
                return JdnOfCivil(static_cast<std::int32_t>(first.year + m / cal.monthsPerYear),
                                  static_cast<std::int32_t>(m % cal.monthsPerYear + 1), first.day,
                                  cal.letter);
            };
            const std::int64_t months =
                std::int64_t{parts.years} * cal.monthsPerYear + parts.monthsOrWeeks;
            SCOPED_TRACE(::testing::Message() << cal.letter << " " << a << " to " << b);
            ASSERT_EQ(moved(months) + parts.days, b);
            ASSERT_GT(moved(months + 1), b);
            ASSERT_EQ(MonthsBetween(cal.index, a, b).months, months);
            // Where the first date's day is in the month reached, the units add up to the span.
            if (RecordOf(moved(months), cal.letter).day == first.day) {
                const UnitDifference difference{
                    false, parts.years, parts.monthsOrWeeks,
                    0,     parts.days,  kUnitYears | kUnitMonths | kUnitDays};
                ASSERT_EQ(AddUnits(cal.index, a, difference).jdn, b);
            }
        }
    }
}

TEST(Breakdown, YearsWeeksDaysAgreeWithPlainArithmetic) {
    std::mt19937 random(53);
    std::uniform_int_distribution<std::int32_t> jdn(JdnOfCivil(-3000, 1, 1),
                                                    JdnOfCivil(3000, 1, 1));
    std::uniform_int_distribution<std::int32_t> span(0, 3000);
    for (int i = 0; i < 20000; ++i) {
        const IsoWeekRecord first = IsoOf(jdn(random));
        const IsoWeekRecord second = IsoOf(first.jdn + span(random));
        const DifferenceParts parts = DifferenceInYearsWeeksDays(first, second);
        ASSERT_EQ(parts.status, 0);
        ASSERT_GE(parts.monthsOrWeeks, 0);
        ASSERT_LE(parts.monthsOrWeeks, 52);
        ASSERT_GE(parts.days, 0);
        ASSERT_LE(parts.days, 6);
        const auto moved = [&](std::int32_t years) {
            IsoWeekRecord anchor = first;
            anchor.year = first.year + years;
            return IsoWeekToJdn(anchor);
        };
        SCOPED_TRACE(::testing::Message() << first.jdn << " to " << second.jdn);
        ASSERT_EQ(moved(parts.years) + 7 * parts.monthsOrWeeks + parts.days, second.jdn);
        ASSERT_GT(moved(parts.years + 1), second.jdn);
        if (first.week != 53) {  // years keep week and weekday
            const UnitDifference difference{false,      parts.years,
                                            0,          parts.monthsOrWeeks,
                                            parts.days, kUnitYears | kUnitWeeks | kUnitDays};
            ASSERT_EQ(AddUnits(CalendarId::ISO, first.jdn, difference).jdn, second.jdn);
        }
    }
}

// ORD: the breakdown counts years from day of year to day of year, while ORD adds CE years
// (same month and day); the two agree unless a 29 February shifts the day of year, that is
// when the first date lies after 28 February and only one of its year and the year reached is
// a leap year.
TEST(Breakdown, OrdinalYearsDaysAddBackWithoutALeapDayBetween) {
    const auto leap = [](std::int64_t y) {
        return jdcore::floor_mod(y, 4) == 0 &&
               (jdcore::floor_mod(y, 100) != 0 || jdcore::floor_mod(y, 400) == 0);
    };
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> day(1'721'426, 5'373'484);  // years 1..9999
    std::uniform_int_distribution<std::int64_t> span(0, 40'000);
    int added = 0;
    int shifted = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t a = day(random);
        const std::int64_t b = a + span(random);
        const DateRecord first = RecordOf(a, 'G');
        const DifferenceParts parts = DifferenceInYearsDays(first, RecordOf(b, 'G'));
        ASSERT_EQ(parts.status, 0);
        ASSERT_EQ(DifferenceInYearsDays(RecordOf(b, 'G'), first).status, b > a ? -1 : 0);
        const UnitDifference difference{false, parts.years, 0,
                                        0,     parts.days,  kUnitYears | kUnitDays};
        const std::int64_t sum = AddUnits(CalendarId::ORD, a, difference).jdn;
        if (first.month * 100 + first.day <= 228 ||
            leap(first.year) == leap(first.year + parts.years)) {
            ++added;
            ASSERT_EQ(sum, b) << a << " " << b;
        } else if (sum != b) {
            ++shifted;  // off by the leap day
            ASSERT_EQ(std::llabs(sum - b), 1) << a << " " << b;
        }
    }
    EXPECT_GT(added, 12000);
    EXPECT_GT(shifted, 0);
}

}  // namespace
}  // namespace daybridge
