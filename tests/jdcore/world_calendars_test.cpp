// The world calendars: round trips over the whole day range, a day-by-day walk that checks
// each calendar's month and year lengths against the dates FromJdn gives, and validity by those
// lengths. Known dates: the day-by-day comparison with convertdate (convertdate_reference.py)
// and the canonical texts of 1 January 2000 in tests/datetext.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "jdcore/day_count.h"
#include "jdcore/world_calendars.h"

namespace {

using jdcore::FromJdn;
using jdcore::ToJdn;
using jdcore::WorldCalendar;
using jdcore::YearMonthDay;

constexpr std::int64_t kMax = 2'100'000'000;
constexpr std::int64_t kFromJdnMax = 2'200'000'000;  // FromJdn is exact up to here
constexpr WorldCalendar kAll[] = {WorldCalendar::Hebrew,    WorldCalendar::Islamic,
                                  WorldCalendar::Persian,   WorldCalendar::Coptic,
                                  WorldCalendar::Ethiopian, WorldCalendar::FrenchRepublican,
                                  WorldCalendar::Indian};

bool Same(const YearMonthDay& a, const YearMonthDay& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// A stride through the whole range, both ends, and runs of days at the ends and around the
// eras' epochs.
std::vector<std::int64_t> SampleJdns() {
    std::vector<std::int64_t> out;
    for (std::int64_t j = -kMax; j <= kMax; j += 7919) {
        out.push_back(j);
    }
    for (std::int64_t c : {-kMax, kMax, -kFromJdnMax, kFromJdnMax, std::int64_t{0}}) {
        for (std::int64_t j = c - 800; j <= c + 800; ++j) {
            out.push_back(j);
        }
    }
    return out;
}

TEST(WorldCalendars, RoundTripsOverTheWholeRange) {
    const std::vector<std::int64_t> jdns = SampleJdns();
    for (WorldCalendar cal : kAll) {
        int failures = 0;
        for (std::int64_t jdn : jdns) {
            const YearMonthDay d = FromJdn(cal, jdn);
            const bool inRange = jdn >= -kMax && jdn <= kMax;
            if ((inRange && !jdcore::IsValidDate(cal, d.year, d.month, d.day)) ||
                ToJdn(cal, d.year, d.month, d.day) != jdn) {
                ADD_FAILURE() << static_cast<int>(cal) << " jdn " << jdn << " -> " << d.year << '-'
                              << d.month << '-' << d.day;
                if (++failures > 5) {
                    break;
                }
            }
        }
        // Dates to JDN and back: the first and last day of every month of sampled years, up to
        // the largest years allowed.
        for (std::int64_t y = -jdcore::kMaxWorldYear; y <= jdcore::kMaxWorldYear; y += 99991) {
            for (std::int64_t year : {y, -y, jdcore::kMaxWorldYear, -jdcore::kMaxWorldYear}) {
                for (int m = 1; m <= jdcore::MonthsInYear(cal, year); ++m) {
                    for (int day : {1, jdcore::DaysInMonth(cal, year, m)}) {
                        const YearMonthDay back = FromJdn(cal, ToJdn(cal, year, m, day));
                        EXPECT_TRUE(Same(back, {year, m, day}))
                            << static_cast<int>(cal) << ' ' << year << '-' << m << '-' << day;
                    }
                }
            }
        }
    }
}

// The Hebrew year starts on 1 Tishri (month 7) and runs Tishri .. Adar (Adar II), Nisan .. Elul.
int NextMonth(WorldCalendar cal, std::int64_t year, int month) {
    if (cal != WorldCalendar::Hebrew) {
        return month == jdcore::MonthsInYear(cal, year) ? 1 : month + 1;
    }
    if (month == 12) {
        return jdcore::MonthsInYear(cal, year) == 13 ? 13 : 1;
    }
    return month == 13 ? 1 : month + 1;
}

// Successive days advance by one within the claimed month lengths; the days counted in a
// year equal DaysInYear. Three thousand years near 0 and at both ends of the range.
TEST(WorldCalendars, DayByDayWalkAgreesWithTheLengths) {
    for (WorldCalendar cal : kAll) {
        const int firstMonth = cal == WorldCalendar::Hebrew ? 7 : 1;
        for (std::int64_t start : {-kMax, std::int64_t{-1'200'000}, kMax - 1'100'000}) {
            YearMonthDay prev = FromJdn(cal, start);
            std::int64_t inYear = -1;  // days seen of the current year; -1 before the first
            for (std::int64_t jdn = start + 1; jdn <= start + 1'100'000; ++jdn) {
                const YearMonthDay cur = FromJdn(cal, jdn);
                YearMonthDay expected = prev;
                if (prev.day < jdcore::DaysInMonth(cal, prev.year, prev.month)) {
                    expected.day += 1;
                } else {
                    expected.month = NextMonth(cal, prev.year, prev.month);
                    expected.day = 1;
                    if (expected.month == firstMonth) {
                        expected.year += 1;
                        if (inYear >= 0) {
                            ASSERT_EQ(inYear + 1, jdcore::DaysInYear(cal, prev.year))
                                << static_cast<int>(cal) << ' ' << prev.year;
                        }
                    }
                }
                ASSERT_TRUE(Same(cur, expected)) << static_cast<int>(cal) << " jdn " << jdn << ": "
                                                 << cur.year << '-' << cur.month << '-' << cur.day;
                inYear = cur.day == 1 && cur.month == firstMonth ? 0 : inYear < 0 ? -1 : inYear + 1;
                prev = cur;
            }
        }
    }
}

// kMaxWorldYear holds every day of |jdn| <= 2.1e9; FromJdn goes on beyond it, and takes any
// JDN beyond +-5e9 as that day.
TEST(WorldCalendars, YearRangeCoversTheDayRange) {
    constexpr std::int64_t kLimit = 5'000'000'000;
    for (WorldCalendar cal : kAll) {
        for (std::int64_t jdn : {-kMax, kMax}) {
            const std::int64_t year = FromJdn(cal, jdn).year;
            EXPECT_LE(year < 0 ? -year : year, jdcore::kMaxWorldYear) << static_cast<int>(cal);
        }
        EXPECT_TRUE(Same(FromJdn(cal, INT64_MIN), FromJdn(cal, -kLimit)));
        EXPECT_TRUE(Same(FromJdn(cal, INT64_MAX), FromJdn(cal, kLimit)));
        EXPECT_EQ(ToJdn(cal, FromJdn(cal, kLimit).year, FromJdn(cal, kLimit).month,
                        FromJdn(cal, kLimit).day),
                  kLimit);
    }
    EXPECT_EQ(jdcore::LongCountToJdn(jdcore::JdnToLongCount(INT64_MIN)), -kLimit);
}

// Rules stated independently of the arithmetic. The Hebrew year: HebrewNewYearByYearLengths
// below and convertdate_reference.py.
TEST(WorldCalendars, CalendarRules) {
    for (std::int64_t y = -3000; y <= 9000; ++y) {
        const std::int64_t i30 = jdcore::floor_mod(y - 1, 30) + 1;
        const bool islamicLeap = i30 == 2 || i30 == 5 || i30 == 7 || i30 == 10 || i30 == 13 ||
                                 i30 == 16 || i30 == 18 || i30 == 21 || i30 == 24 || i30 == 26 ||
                                 i30 == 29;
        EXPECT_EQ(jdcore::DaysInYear(WorldCalendar::Islamic, y), islamicLeap ? 355 : 354) << y;
        const bool romme = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
        const bool sextile = (y >= 1 && y <= 14) ? (y == 3 || y == 7 || y == 11) : romme;
        EXPECT_EQ(jdcore::DaysInMonth(WorldCalendar::FrenchRepublican, y, 13), sextile ? 6 : 5);
        // Ethiopian years are Coptic years plus 276, month for month.
        EXPECT_EQ(
            ToJdn(WorldCalendar::Ethiopian, y + 276, 13, 1) -
                ToJdn(WorldCalendar::Coptic, y, 13, 1),
            ToJdn(WorldCalendar::Ethiopian, 276, 1, 1) - ToJdn(WorldCalendar::Coptic, 0, 1, 1));
    }
}

// The new year by the other classic statement of the postponements: from the molad day (1
// Tishri never on a Sunday, Wednesday or Friday), a year may not last 356 days (its start moves
// two days on) and a year after a 382-day one is moved a day on. Sampled over the whole range.
std::int64_t MoladDay(std::int64_t year) {
    const std::int64_t months = jdcore::floor_div(235 * year - 234, 19);
    const std::int64_t day = 29 * months + jdcore::floor_div(12084 + 13753 * months, 25920);
    return jdcore::floor_mod(3 * (day + 1), 7) < 3 ? day + 1 : day;
}
std::int64_t NewYearByYearLengths(std::int64_t year) {
    const std::int64_t before = MoladDay(year - 1), of = MoladDay(year), after = MoladDay(year + 1);
    return 347998 + of + (after - of == 356 ? 2 : of - before == 382 ? 1 : 0);
}

TEST(WorldCalendars, HebrewNewYearByYearLengths) {
    for (std::int64_t y = -jdcore::kMaxWorldYear; y <= jdcore::kMaxWorldYear; y += 997) {
        for (std::int64_t year : {y, y / 1000}) {
            ASSERT_EQ(ToJdn(WorldCalendar::Hebrew, year, 7, 1), NewYearByYearLengths(year)) << year;
        }
    }
}

TEST(WorldCalendars, LongCountRoundTrips) {
    for (std::int64_t jdn : SampleJdns()) {
        const jdcore::LongCount lc = jdcore::JdnToLongCount(jdn);
        ASSERT_TRUE(lc.katun >= 0 && lc.katun < 20 && lc.tun >= 0 && lc.tun < 20 && lc.uinal >= 0 &&
                    lc.uinal < 18 && lc.kin >= 0 && lc.kin < 20)
            << jdn;
        ASSERT_EQ(jdcore::LongCountToJdn(lc), jdn);
    }
}

// A date is valid exactly when its month and day lie in its year, by the lengths that the walk
// above ties to FromJdn, up to the largest years allowed.
TEST(WorldCalendars, ValidDatesAreThoseOfTheLengths) {
    const std::int64_t big = jdcore::kMaxWorldYear;
    const std::int64_t years[] = {1,    2,    3,    4,    200,  400,  1403, 1404,
                                  1739, 1740, 1946, 1947, 5784, 5785, -big, big};
    for (WorldCalendar cal : kAll) {
        for (std::int64_t y : years) {
            for (int m = 0; m <= 14; ++m) {
                for (int d = 0; d <= 32; ++d) {
                    const bool in = m >= 1 && m <= jdcore::MonthsInYear(cal, y) && d >= 1 &&
                                    d <= jdcore::DaysInMonth(cal, y, m);
                    ASSERT_EQ(jdcore::IsValidDate(cal, y, m, d), in)
                        << static_cast<int>(cal) << ' ' << y << '-' << m << '-' << d;
                }
            }
        }
        EXPECT_FALSE(jdcore::IsValidDate(cal, big + 1, 1, 1));
        EXPECT_FALSE(jdcore::IsValidDate(cal, -big - 1, 1, 1));
    }
}

}  // namespace
