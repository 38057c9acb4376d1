// Gregorian and Julian conversions of the calendar library, checked day by day against
// independent references: the standard library's proleptic Gregorian calendar, and a Julian
// calendar walked one day at a time from the definition of JDN 0 (1 January 4713 BC, Julian).
// Easter by both computi: against python-dateutil for every year it supports, and over the
// whole day range against what every Easter must be (a Sunday from 22 March to 25 April of its
// calendar, repeating after the computus's cycle).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "jdcore/day_count.h"
#include "jdcore/easter.h"
#include "jdcore/jdcore.h"
#include "jdcore/records.h"
#include "support/python_reference.h"

namespace {

using jdcore::DateRecord;
namespace chr = std::chrono;

constexpr std::int64_t kUnixEpochJdn = 2440588;  // 1970-01-01

using jdcore_test::Show;

std::int32_t ToJdn(std::int32_t y, std::int32_t m, std::int32_t d, char calendar) {
    return jdcore_test::Read(DateRecord{y, m, d, calendar, 0, 0});
}

// Every day of years -32767 .. 32767 against std::chrono, both directions, month by month
// (the standard library gives each month's first day and length).
TEST(GregorianAgainstStandardLibrary, EveryDayOfYearsMinus32767To32767) {
    int failures = 0;
    for (int y = -32767; y <= 32767 && failures < 10; ++y) {
        for (unsigned m = 1; m <= 12; ++m) {
            const chr::year_month_day first{chr::year{y}, chr::month{m}, chr::day{1}};
            const chr::year_month_day_last last{chr::year{y}, chr::month_day_last{chr::month{m}}};
            const std::int64_t firstJdn =
                chr::sys_days{first}.time_since_epoch().count() + kUnixEpochJdn;
            const int length = static_cast<int>(static_cast<unsigned>(last.day()));
            for (int d = 1; d <= length; ++d) {
                const auto jdn = static_cast<std::int32_t>(firstJdn + d - 1);
                const DateRecord r = Show(jdn, 'G');
                if (r.year != y || r.month != static_cast<int>(m) || r.day != d ||
                    ToJdn(y, static_cast<int>(m), d, 'G') != jdn) {
                    ADD_FAILURE() << "Gregorian " << y << "-" << m << "-" << d << " / JDN " << jdn
                                  << " read back as " << r.year << "-" << r.month << "-" << r.day;
                    ++failures;
                }
            }
        }
    }
}

// A Julian calendar that knows only month lengths and the every-fourth-year rule, walked
// from 1 January -32767; JDN 0 is 1 January -4712 (4713 BC), so that day is JDN minus the
// lengths of the years -32767 .. -4713.
TEST(JulianAgainstWalkedCalendar, EveryDayOfYearsMinus32767To32767) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::int32_t jdn = 0;
    for (int y = -32767; y < -4712; ++y) {
        jdn -= y % 4 == 0 ? 366 : 365;  // also right for negative years: -4 % 4 == 0
    }
    int failures = 0;
    for (int y = -32767; y <= 32767 && failures < 10; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const int length = m == 2 && y % 4 == 0 ? 29 : kDays[m - 1];
            for (int d = 1; d <= length; ++d, ++jdn) {
                const DateRecord r = Show(jdn, 'J');
                if (r.year != y || r.month != m || r.day != d || ToJdn(y, m, d, 'J') != jdn) {
                    ADD_FAILURE() << "Julian " << y << "-" << m << "-" << d << " / JDN " << jdn
                                  << " read back as " << r.year << "-" << r.month << "-" << r.day;
                    ++failures;
                }
            }
        }
    }
}

TEST(DayOfWeek, RepeatsEverySevenDaysAcrossTheWholeRange) {
    const std::int32_t starts[] = {-2147483647, -2100000000, -7,         -1,
                                   0,           1721426,     2099999990, 2147483640};
    for (std::int32_t s : starts) {
        for (std::int32_t k = 0; k < 7; ++k) {
            const std::int64_t jdn = static_cast<std::int64_t>(s) + k;
            // Reference: JDN 0 was a Monday (1).
            const std::int64_t expected = ((jdn % 7 + 7) % 7 + 1) % 7;
            EXPECT_EQ(jdcore::euro_day_of_week(static_cast<std::int32_t>(jdn)), expected) << jdn;
        }
    }
}

// Dates outside the calendar are converted by plain arithmetic, as the header promises.
struct PlainCase {
    char calendar;
    std::int32_t year, month, day;
    std::int32_t sameAsYear, sameAsMonth, sameAsDay;
};
const PlainCase kPlain[] = {
    {'G', 2011, 2, 30, 2011, 3, 2},  {'G', 2012, 2, 30, 2012, 3, 1},
    {'G', 2012, 13, 1, 2013, 1, 1},  {'G', 2012, 0, 31, 2011, 12, 31},
    {'G', 2012, -11, 1, 2011, 1, 1}, {'G', 2012, 1, 0, 2011, 12, 31},
    {'J', 1900, 2, 30, 1900, 3, 1},  {'J', -1, 25, 1, 1, 1, 1},
};
TEST(PlainArithmetic, OutOfCalendarDatesCarryIntoNeighbours) {
    for (const PlainCase& c : kPlain) {
        EXPECT_EQ(ToJdn(c.year, c.month, c.day, c.calendar),
                  ToJdn(c.sameAsYear, c.sameAsMonth, c.sameAsDay, c.calendar))
            << c.calendar << " " << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(PlainArithmetic, ResultsBeyond32BitsSaturate) {
    EXPECT_EQ(ToJdn(2147483647, 12, 31, 'G'), 2147483647);
    EXPECT_EQ(ToJdn(-2147483647, 1, 1, 'J'), -2147483647);
    EXPECT_EQ(ToJdn(2000, 1, 2147483647, 'G'), 2147483647);
}

// Months written past 12 take the general path of the arithmetic, months 1..12 of moderate
// years the fast one: both must name the same day, also at the fast path's year limits.
TEST(PlainArithmetic, GeneralAndFastPathsAgree) {
    const std::int64_t years[] = {-6000001, -6000000, -5999999, -5800001, -5800000, -1,     0, 1,
                                  2000,     5800000,  5800001,  5999999,  6000000,  6000001};
    for (std::int64_t y : years) {
        for (std::int64_t m = 1; m <= 12; ++m) {
            for (std::int64_t d : {1, 28, 31}) {
                for (auto jdn : {jdcore::jdn_from_gregorian, jdcore::jdn_from_julian}) {
                    EXPECT_EQ(jdn(y, m, d), jdn(y - 1, m + 12, d)) << y << "-" << m << "-" << d;
                    EXPECT_EQ(jdn(y, m, d), jdn(y + 1, m - 12, d)) << y << "-" << m << "-" << d;
                }
            }
        }
    }
}

// Records with the extreme 32-bit values in every field: no overflow anywhere (the sanitizer
// build checks), and a JDN that cannot be held saturates.
TEST(PlainArithmetic, ExtremeFieldsSaturateInEveryCalendar) {
    constexpr std::int32_t kLo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kHi = std::numeric_limits<std::int32_t>::max();
    const std::int32_t values[] = {kLo, kLo + 1, -1, 0, 1, kHi - 1, kHi};
    for (char calendar : {'G', 'J', 'V', 'I', 'A', 'X'}) {
        for (std::int32_t y : values) {
            for (std::int32_t m : values) {
                for (std::int32_t d : values) {
                    DateRecord r{y, m, d, calendar, 0, 0};
                    const std::int32_t jdn = calendar == 'A' ? jdcore::annus_novus_date_to_jdn(r)
                                                             : jdcore::euro_date_to_jdn(r);
                    ASSERT_EQ(r.jdn, jdn);
                    ASSERT_GE(jdn, -kHi);
                    std::int32_t status = 0;
                    jdcore::days_elapsed(r, DateRecord{d, y, m, 0, 0, 0}, status);
                }
            }
        }
        for (std::int32_t jdn : values) {
            DateRecord r{};
            r.calendar = calendar;
            r.jdn = jdn;
            const std::int32_t shown =
                calendar == 'A' ? jdcore::jdn_to_annus_novus_date(r) : jdcore::jdn_to_euro_date(r);
            // An unknown calendar is refused and leaves the record alone.
            EXPECT_EQ(shown == -1 && r.year == 0, calendar == 'X') << jdn;
            EXPECT_EQ(r.month >= 1 && r.day >= 1, calendar != 'X') << calendar << " " << jdn;
        }
    }
}

TEST(Easter, BothComputiAgreeWithDateutil) {
    // Western 1583-4099; Orthodox 326-4099 as a Julian date, and as a Gregorian one from 1583
    // (before 1583 dateutil shifts it by a fixed 10 days, not by the calendars' true distance).
    const auto out = daybridge::testing::RunPython(
        "from dateutil.easter import easter\n"
        "for y in range(326, 4100):\n"
        "    g = y >= 1583\n"
        "    j = easter(y, 1)\n"
        "    w = easter(y, 3).toordinal() + 1721425 if g else 0\n"
        "    o = easter(y, 2).toordinal() + 1721425 if g else 0\n"
        "    print(y, w, o, j.month, j.day)\n");
    if (!out) {
        GTEST_SKIP() << "python3-dateutil is not installed";
    }
    std::istringstream lines(*out);
    std::int64_t year = 0, western = 0, orthodox = 0, month = 0, day = 0;
    int years = 0;
    while (lines >> year >> western >> orthodox >> month >> day) {
        ++years;
        const std::int64_t ours = jdcore::orthodox_easter(year);
        ASSERT_EQ(ours, jdcore::jdn_from_julian(year, month, day)) << year;
        if (western != 0) {
            ASSERT_EQ(jdcore::western_easter(year), western) << year;
            ASSERT_EQ(ours, orthodox) << year;
        }
    }
    EXPECT_EQ(years, 4099 - 326 + 1);
}

TEST(Easter, EverywhereASundayInItsWindowRepeatingWithItsCycle) {
    std::mt19937_64 random(1583);
    std::uniform_int_distribution<std::int64_t> anyYear(-5760000, 5760000);
    constexpr std::int64_t kWesternCycleDays = std::int64_t{5700000} / 400 * 146097;
    constexpr std::int64_t kOrthodoxCycleDays = 532 / 4 * 1461;
    for (int i = 0; i < 200000; ++i) {
        const std::int64_t y = i < 2 ? (i == 0 ? -5760000 : 5760000) : anyYear(random);
        const std::int64_t w = jdcore::western_easter(y);
        const std::int64_t o = jdcore::orthodox_easter(y);
        ASSERT_EQ(jdcore::weekday_sunday0(w), 0) << y;
        ASSERT_EQ(jdcore::weekday_sunday0(o), 0) << y;
        ASSERT_GE(w, jdcore::jdn_from_gregorian(y, 3, 22)) << y;
        ASSERT_LE(w, jdcore::jdn_from_gregorian(y, 4, 25)) << y;
        ASSERT_GE(o, jdcore::jdn_from_julian(y, 3, 22)) << y;
        ASSERT_LE(o, jdcore::jdn_from_julian(y, 4, 25)) << y;
        ASSERT_EQ(jdcore::western_easter(y + 5700000), w + kWesternCycleDays) << y;
        ASSERT_EQ(jdcore::orthodox_easter(y - 532), o - kOrthodoxCycleDays) << y;
    }
}

// Easter of a run of years, one after another, is each year's own (runs across centuries,
// leap centuries and year 0).
TEST(Easter, RunsOfYearsAgreeWithEachYear) {
    std::mt19937_64 random(1582);
    std::uniform_int_distribution<std::int64_t> anyYear(-5760000, 5759000);
    std::vector<std::uint8_t> days(1000);
    for (int i = 0; i < 300; ++i) {
        const std::int64_t first = i == 0 ? -500 : anyYear(random);
        jdcore::western_easter_days(first, 1000, days.data());
        for (std::int64_t y = first; y < first + 1000; ++y) {
            ASSERT_EQ(days[static_cast<std::size_t>(y - first)],
                      jdcore::western_easter(y) - jdcore::jdn_from_gregorian(y, 3, 21))
                << y;
        }
    }
}

}  // namespace
