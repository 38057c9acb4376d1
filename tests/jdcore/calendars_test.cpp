// Every calendar of the library: JDN -> date -> JDN round trips over the whole day range,
// dates that follow one another by the calendar's own month lengths, and typed dates read by
// those lengths. The leap week arithmetic against its step-by-step reference: tests/calendar.
// The world calendars' known dates: the day-by-day comparison with convertdate
// (convertdate_reference.py) and the canonical texts of 1 January 2000 in tests/datetext.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "jdcore/day_count.h"
#include "jdcore/jdcore.h"
#include "jdcore/leap_week_reference.h"
#include "jdcore/records.h"
#include "jdcore/world_calendars.h"

namespace {

using jdcore::DateRecord;

constexpr std::int64_t kMax = 2'100'000'000;
constexpr char kCalendars[] = {'G', 'J', 'V', 'I', 'A'};

using jdcore_test::Read;
using jdcore_test::Show;

// Independent month lengths ("month" is the ISO week, whose "days" are its 7 weekdays).
bool GregorianLeap(std::int64_t y) {
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}
int Months(char calendar, std::int64_t year) {
    switch (calendar) {
        case 'A':
            return 10;
        case 'I': {
            // 53 weeks when 1 January is a Thursday, or a Wednesday in a leap year.
            DateRecord first{static_cast<std::int32_t>(year), 1, 1, 'G', 0, 0};
            const int jan1 = jdcore::euro_day_of_week(jdcore::euro_date_to_jdn(first));
            return jan1 == 4 || (jan1 == 3 && GregorianLeap(year)) ? 53 : 52;
        }
        default:
            return 12;
    }
}
int Length(char calendar, std::int64_t y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    switch (calendar) {
        case 'G':
            return m == 2 && GregorianLeap(y) ? 29 : kDays[m - 1];
        case 'J':
            return m == 2 && y % 4 == 0 ? 29 : kDays[m - 1];
        case 'V':
            return m == 12 && reference::IsLeap(y) ? 35 : (m % 3 == 1 ? 35 : 28);
        case 'I':
            return 7;
        default:  // 'A': the year from 1 March; month 10 ends on the last day of February
            return m == 10 ? (GregorianLeap(y + 1) ? 37 : 36) : (m % 2 == 1 ? 37 : 36);
    }
}

TEST(RoundTrip, EveryCalendarOverTheWholeDayRange) {
    // A stride through the day range, its ends and the JDN extremes, runs of days at both ends
    // and around the common era.
    std::vector<std::int64_t> jdns =
        jdcore_test::SampleJdns(kMax, 9973, {-kMax, kMax, 0, 1721426, 2451545}, 1500);
    jdns.push_back(-2147483647);
    jdns.push_back(2147483647);
    for (char calendar : kCalendars) {
        int failures = 0;
        for (const std::int64_t day : jdns) {
            const auto jdn = static_cast<std::int32_t>(day);
            const DateRecord r = Show(jdn, calendar);
            const bool inCalendar = r.month >= 1 && r.month <= Months(calendar, r.year) &&
                                    r.day >= 1 && r.day <= Length(calendar, r.year, r.month);
            // Annus Novus: every month starts a six-day week, the reader's answer.
            DateRecord an{};
            an.calendar = 'A';
            an.jdn = jdn;
            const bool week =
                calendar != 'A' || jdcore::jdn_to_annus_novus_date(an) == (r.day - 1) % 6 + 1;
            if (!inCalendar || !week || Read(r) != jdn) {
                ADD_FAILURE() << calendar << " JDN " << jdn << " -> " << r.year << "/" << r.month
                              << "/" << r.day << " -> " << Read(r);
                if (++failures == 10) {
                    break;
                }
            }
        }
    }
}

// A typed date reads exactly when its month and day lie in the calendar (ISO: week, weekday).
TEST(StrToDate, ReadsExactlyTheDatesOfTheCalendar) {
    for (char calendar : kCalendars) {
        for (std::int32_t y : {-401, -100, -4, -1, 0, 1, 3, 1900, 2000, 2011, 2012, 2014, 2015}) {
            for (int m = 0; m <= Months(calendar, y) + 1; ++m) {
                for (int d = 0; d <= 38; ++d) {
                    const std::string text =
                        std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
                    const bool in =
                        m >= 1 && m <= Months(calendar, y) && d >= 1 && d <= Length(calendar, y, m);
                    DateRecord r{};
                    ASSERT_EQ(jdcore::str_to_date(text, jdcore::kFormatYMD, r, calendar),
                              in ? jdcore::kValid : jdcore::kInvalid)
                        << calendar << " " << text;
                }
            }
        }
    }
}

// Consecutive JDNs give consecutive dates: the day after the last of a month is the first of
// the next, after the last month comes the next year.
TEST(Succession, ConsecutiveDaysFollowTheMonthLengths) {
    const std::int64_t starts[] = {-kMax, -1000000, -3000, 1720000, 2299000, 2451000, kMax - 4000};
    for (char calendar : kCalendars) {
        for (std::int64_t start : starts) {
            DateRecord prev = Show(static_cast<std::int32_t>(start), calendar);
            int failures = 0;
            for (std::int64_t j = start + 1; j <= start + 4000 && failures < 5; ++j) {
                const DateRecord cur = Show(static_cast<std::int32_t>(j), calendar);
                DateRecord want = prev;
                if (++want.day > Length(calendar, want.year, want.month)) {
                    want.day = 1;
                    if (++want.month > Months(calendar, want.year)) {
                        want.month = 1;
                        ++want.year;
                    }
                }
                if (cur.year != want.year || cur.month != want.month || cur.day != want.day) {
                    ADD_FAILURE() << calendar << " JDN " << j << ": " << cur.year << "/"
                                  << cur.month << "/" << cur.day << ", expected " << want.year
                                  << "/" << want.month << "/" << want.day;
                    ++failures;
                }
                prev = cur;
            }
        }
    }
}

TEST(AnnusNovus, YearRunsFromFirstOfMarchToEndOfFebruary) {
    for (std::int32_t y = -2000000; y <= 2000000; y += 1999) {
        const std::int32_t firstOfMarch = Read(DateRecord{y, 3, 1, 'G', 0, 0});
        EXPECT_EQ(Read(DateRecord{y, 1, 1, 'A', 0, 0}), firstOfMarch) << y;
        const int lastDay = GregorianLeap(y + 1) ? 37 : 36;
        EXPECT_EQ(Read(DateRecord{y, 10, lastDay, 'A', 0, 0}),
                  Read(DateRecord{y + 1, 3, 1, 'G', 0, 0}) - 1)
            << y;
    }
}

// The world calendars: round trips over the whole day range, a day-by-day walk that checks
// each calendar's month and year lengths against the dates FromJdn gives, and validity by those
// lengths.
using jdcore::FromJdn;
using jdcore::ToJdn;
using jdcore::WorldCalendar;
using jdcore::YearMonthDay;

constexpr std::int64_t kFromJdnMax = 2'200'000'000;  // FromJdn is exact up to here
constexpr WorldCalendar kAll[] = {WorldCalendar::Hebrew,    WorldCalendar::Islamic,
                                  WorldCalendar::Persian,   WorldCalendar::Coptic,
                                  WorldCalendar::Ethiopian, WorldCalendar::FrenchRepublican,
                                  WorldCalendar::Indian};

bool Same(const YearMonthDay& a, const YearMonthDay& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// A stride through the whole range, both ends, and runs of days at the ends, around the eras'
// epochs and where a JDN stops fitting 32 bits (conversions take a faster path inside them).
const std::vector<std::int64_t> kSample = jdcore_test::SampleJdns(
    kMax, 7919, {-kMax, kMax, -kFromJdnMax, kFromJdnMax, 0, INT32_MIN, INT32_MAX}, 800);

TEST(WorldCalendars, RoundTripsOverTheWholeRange) {
    for (WorldCalendar cal : kAll) {
        int failures = 0;
        for (std::int64_t jdn : kSample) {
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
            // The day's year as a whole: its first day (1 Tishri for the Hebrew) and length.
            const jdcore::CalendarYear year = jdcore::YearOfJdn(cal, jdn);
            if (inRange) {
                const int first = cal == WorldCalendar::Hebrew ? 7 : 1;
                EXPECT_EQ(year.year, d.year) << jdn;
                EXPECT_EQ(year.first, ToJdn(cal, d.year, first, 1)) << jdn;
                EXPECT_EQ(year.length, jdcore::DaysInYear(cal, d.year)) << jdn;
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
// below and convertdate_reference.py; the Islamic year: convertdate_reference.py, day by day.
TEST(WorldCalendars, CalendarRules) {
    for (std::int64_t y = -3000; y <= 9000; ++y) {
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
    for (std::int64_t jdn : kSample) {
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
