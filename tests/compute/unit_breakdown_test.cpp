// The breakdown of a two-date difference and the unit arithmetic agree: the first date plus
// the breakdown (as years, months or weeks, and days) is the second date whenever the first
// date's day is present in every month on the way, and the whole months between the two are
// the breakdown's months plus twelve (ten in Annus Novus) per year.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "calendar/calendar_units.h"
#include "compute/presentation.h"
#include "jdcore/jdcore.h"

namespace daybridge {
namespace {

DateRecord RecordOf(std::int64_t jdn, char letter) {
    DateRecord record{};
    record.jdn = static_cast<std::int32_t>(jdn);
    record.calendar = letter;
    jdcore::jdn_to_euro_date(record);
    return record;
}

TEST(UnitBreakdown, FirstPlusBreakdownIsSecond) {
    struct Calendar {
        int index;
        char letter;
        int monthsPerYear;
    };
    const Calendar calendars[] = {{kCE, 'G', 12}, {kJC, 'J', 12}, {kAN, 'A', 10}};
    std::mt19937_64 random(5);
    std::uniform_int_distribution<std::int64_t> day(1'500'000, 3'000'000);
    std::uniform_int_distribution<std::int64_t> span(0, 8'000);
    for (const Calendar& cal : calendars) {
        int added = 0;
        for (int i = 0; i < 20000; ++i) {
            const std::int64_t a = day(random);
            const std::int64_t b = a + (i % 2 == 0 ? span(random) : span(random) % 100);
            const DateRecord first = RecordOf(a, cal.letter);
            const DifferenceParts parts =
                DifferenceInYearsMonthsDays(first, RecordOf(b, cal.letter));
            ASSERT_EQ(parts.status, 0);
            const std::int64_t months =
                std::int64_t{parts.years} * cal.monthsPerYear + parts.monthsOrWeeks;
            ASSERT_EQ(MonthsBetween(cal.index, a, b).months, months) << cal.letter << " " << a;
            // The day is present in every month from the first date's to the one reached.
            bool present = true;
            for (std::int64_t k = 0; k <= months && present; ++k) {
                DateRecord month = first;
                month.day = 1;
                month.month =
                    static_cast<std::int32_t>((first.month - 1 + k) % cal.monthsPerYear + 1);
                month.year = static_cast<std::int32_t>(first.year +
                                                       (first.month - 1 + k) / cal.monthsPerYear);
                present = first.day <= DaysInMonth(month);
            }
            if (present) {
                ++added;
                const UnitDifference difference{
                    false, parts.years, parts.monthsOrWeeks,
                    0,     parts.days,  kUnitYears | kUnitMonths | kUnitDays};
                ASSERT_EQ(AddUnits(cal.index, a, difference).jdn, b) << cal.letter << " " << a;
            }
        }
        EXPECT_GT(added, 12000) << cal.letter;
    }
}

// ORD: the breakdown counts years from day of year to day of year, while ORD adds CE years
// (same month and day); the two agree unless a 29 February shifts the day of year, that is
// when the first date lies after 28 February and only one of its year and the year reached is
// a leap year.
TEST(UnitBreakdown, OrdinalYearsDaysAddBackWithoutALeapDayBetween) {
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
        const UnitDifference difference{false, parts.years, 0,
                                        0,     parts.days,  kUnitYears | kUnitDays};
        const std::int64_t sum = AddUnits(kORD, a, difference).jdn;
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

// ISO: years keep week and weekday, so the years-weeks-days breakdown adds back from every
// first date in weeks 1..52.
TEST(UnitBreakdown, IsoYearsWeeksDaysAddBack) {
    std::mt19937_64 random(6);
    std::uniform_int_distribution<std::int64_t> day(1'500'000, 3'000'000);
    std::uniform_int_distribution<std::int64_t> span(0, 40'000);
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t a = day(random);
        const std::int64_t b = a + span(random);
        IsoWeekRecord first;
        first.jdn = static_cast<std::int32_t>(a);
        const jdcore::IsoWeekDate fa = jdcore::iso_week_from_jdn(a);
        first.year = static_cast<std::int32_t>(fa.year);
        first.week = fa.week;
        first.weekday = fa.weekday;
        IsoWeekRecord second;
        const jdcore::IsoWeekDate fb = jdcore::iso_week_from_jdn(b);
        second.jdn = static_cast<std::int32_t>(b);
        second.year = static_cast<std::int32_t>(fb.year);
        second.week = fb.week;
        second.weekday = fb.weekday;
        const DifferenceParts parts = DifferenceInYearsWeeksDays(first, second);
        if (parts.status != 0 || fa.week == 53) {
            continue;
        }
        const UnitDifference difference{false,      parts.years,
                                        0,          parts.monthsOrWeeks,
                                        parts.days, kUnitYears | kUnitWeeks | kUnitDays};
        ASSERT_EQ(AddUnits(kISO, a, difference).jdn, b) << a << " " << b;
    }
}

}  // namespace
}  // namespace daybridge
