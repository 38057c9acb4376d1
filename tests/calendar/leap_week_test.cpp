// The leap week calendar: its rules, the edges of its records, and every conversion against
// the step-by-step reference calendar.
#include <gtest/gtest.h>

#include <vector>

#include "calendar/leap_week.h"
#include "jdcore/leap_week_reference.h"

namespace daybridge {
namespace {

TEST(LeapWeekYear, LeapYearsOfTheRule) {
    for (std::int64_t y : {3, 9, 15, 20, 26, 31, -2, -8}) {
        EXPECT_TRUE(IsLeapWeekYear(y)) << y;
    }
    for (std::int64_t y : {0, 1, 2, 4, 5, 400, -1}) {
        EXPECT_FALSE(IsLeapWeekYear(y)) << y;
    }
    int leapYears = 0;
    for (std::int64_t y = -1000; y < -600; ++y) {
        leapYears += IsLeapWeekYear(y) ? 1 : 0;
    }
    EXPECT_EQ(leapYears, 71);
}

TEST(LeapWeekYear, LengthsOfYearsAndMonths) {
    EXPECT_EQ(WeeksInYear(false), 52);
    EXPECT_EQ(WeeksInYear(true), 53);
    EXPECT_EQ(DaysInLeapWeekYear(false), 364);
    EXPECT_EQ(DaysInLeapWeekYear(true), 371);
    const int common[] = {5, 4, 4, 5, 4, 4, 5, 4, 4, 5, 4, 4};
    int weeks = 0;
    int leapWeeks = 0;
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(WeeksInMonth(m, false), common[m - 1]) << m;
        EXPECT_EQ(WeeksInMonth(m, true), m == 12 ? 5 : common[m - 1]) << m;
        weeks += WeeksInMonth(m, false);
        leapWeeks += WeeksInMonth(m, true);
    }
    EXPECT_EQ(weeks, 52);
    EXPECT_EQ(leapWeeks, 53);
}

struct LpwCase {
    std::int32_t jdn;
    std::int32_t year;
    int week, weekday;
};
const LpwCase kLpwEdges[] = {
    {1721419, 1, 1, 1},   // first day of year 1
    {1721418, 0, 52, 7},  // last day of year 0 (a common year)
    {1721419 + 364, 2, 1, 1},
    {1721419 + 3 * 364 - 1, 3, 52, 7},
    {1721419 + 3 * 364 + 6, 3, 53, 7},  // the leap week of year 3
    {1867516, 401, 1, 1},               // a whole cycle later
    {1721419 - 146097, -399, 1, 1},
};

TEST(JdnToLpw, EdgesOfYearsAndCycles) {
    for (const LpwCase& c : kLpwEdges) {
        LeapWeekRecord r{};
        r.jdn = c.jdn;
        r.status = -3;
        EXPECT_TRUE(JdnToLpw(r));
        EXPECT_EQ(r.year, c.year) << c.jdn;
        EXPECT_EQ(r.week, c.week) << c.jdn;
        EXPECT_EQ(r.weekday, c.weekday) << c.jdn;
        EXPECT_EQ(r.status, 0);
    }
}

struct LpmCase {
    std::int32_t year;
    int month, day;
    bool ok;
    int status;
};
const LpmCase kLpmEdges[] = {
    {3, 12, 35, true, 0},    // leap year: month 12 has 35 days
    {1, 12, 35, false, -3},  // common year: 28
    {1, 12, 28, true, 0},   {1, 1, 35, true, 0},   {1, 1, 36, false, -3}, {1, 2, 29, false, -3},
    {1, 13, 1, false, -2},  {1, -1, 1, false, -2}, {1, 0, 28, true, 0},   {1, 0, 29, false, -3},
    {1, 5, -1, false, -3},  {1, 5, 0, true, 0},
};

TEST(LpmToLpw, MonthAndDayLimits) {
    for (const LpmCase& c : kLpmEdges) {
        LeapWeekRecord r{};
        r.year = c.year;
        r.month = static_cast<std::int16_t>(c.month);
        r.dayOfMonth = static_cast<std::int16_t>(c.day);
        EXPECT_EQ(LpmToLpw(r), c.ok) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(r.status, c.status) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(CheckLeapWeekRecord, OnlyTheWeekdayIsChecked) {
    for (int weekday = -2; weekday <= 9; ++weekday) {
        LeapWeekRecord r{};
        r.year = 2012;
        r.week = 99;  // beyond the year: not checked
        r.weekday = static_cast<std::int16_t>(weekday);
        r.status = -2;
        const std::int16_t want = weekday >= 0 && weekday <= 7 ? 0 : -3;
        EXPECT_EQ(CheckLeapWeekRecord(r), want) << weekday;
        EXPECT_EQ(r.status, want);
    }
}

TEST(LpwToJdn, ABadWeekdayFailsAndKeepsTheJdn) {
    LeapWeekRecord r{};
    r.year = 2012;
    r.week = 1;
    r.weekday = 8;
    r.jdn = 12345;
    EXPECT_FALSE(LpwToJdn(r));
    EXPECT_EQ(r.status, -3);
    EXPECT_EQ(r.jdn, 12345);
    r.weekday = 8;
    EXPECT_FALSE(LpwToLpm(r));
    EXPECT_EQ(r.status, -3);
}

TEST(LpwToJdn, AResultBeyond32BitsFailsInsteadOfWrapping) {
    LeapWeekRecord r{};
    r.year = 6000000;
    r.week = 1;
    r.weekday = 1;
    EXPECT_FALSE(LpwToJdn(r));
    EXPECT_EQ(r.status, kLeapWeekBeyondRange);
    r.year = -6000000;
    EXPECT_FALSE(LpwToJdn(r));
    r.year = 5800000;  // the largest year the date readers pass on still converts
    EXPECT_TRUE(LpwToJdn(r));
    r.year = -5800000;
    EXPECT_TRUE(LpwToJdn(r));
}

TEST(LpwToLpm, ADayOfMonthBeyond16BitsFails) {
    LeapWeekRecord r{};
    r.year = 1;
    r.week = -5000;  // 7 * -5001 + 1 does not fit the day field
    r.weekday = 1;
    EXPECT_FALSE(LpwToLpm(r));
    EXPECT_EQ(r.status, -3);
}

TEST(StarMonthName, TwelveStarsAndNothingElse) {
    EXPECT_EQ(StarMonthName(1), QStringLiteral("Arcturus"));
    EXPECT_EQ(StarMonthName(6), QStringLiteral("Fomalhaut"));
    EXPECT_EQ(StarMonthName(12), QStringLiteral("Lesath"));
    EXPECT_TRUE(StarMonthName(0).isEmpty());
    EXPECT_TRUE(StarMonthName(13).isEmpty());
}

TEST(Hexade, PositionsAndShortHexades) {
    const int positions[] = {1, 2, 3, 4, 5, 6, 1, 2};
    for (int y = 1; y <= 8; ++y) {
        EXPECT_EQ(YearInHexade(y), positions[y - 1]) << y;
    }
    EXPECT_EQ(YearInHexade(0), 5);
    EXPECT_TRUE(IsInShortHexade(-100));
    for (std::int64_t y = -6000000; y <= 6000000; y += 1237) {
        for (std::int64_t k = y; k < y + 12; ++k) {
            ASSERT_EQ(YearInHexade(k), reference::YearInHexade(k)) << k;
            ASSERT_EQ(IsInShortHexade(k), reference::IsInShortHexade(k)) << k;
        }
    }
}

// A sample of the whole day range, dense around the cycle edges the loops step over.
std::vector<std::int32_t> SampleJdns(std::int64_t stride) {
    std::vector<std::int32_t> out;
    for (std::int64_t j = -kMaxDayNumber; j <= kMaxDayNumber; j += stride) {
        out.push_back(static_cast<std::int32_t>(j));
    }
    for (std::int64_t c :
         {std::int64_t{kMinDayNumber} + 400, std::int64_t{kLeapWeekEpoch},
          std::int64_t{kLeapWeekCycleEnd}, std::int64_t{kLeapWeekEpoch - kLeapWeekCycleDays},
          std::int64_t{kMaxDayNumber} - 400}) {
        for (std::int64_t j = c - 400; j <= c + 400; ++j) {
            out.push_back(static_cast<std::int32_t>(j));
        }
    }
    return out;
}

// JDN -> month and week forms against the reference (every 16th sample), and both forms back.
TEST(LeapWeekConversions, MatchTheReferenceAndRoundTripIncludingBothEnds) {
    std::vector<std::int32_t> jdns = SampleJdns(7919);
    jdns.push_back(kMinDayNumber);
    jdns.push_back(kMaxDayNumber);
    for (std::size_t i = 0; i < jdns.size(); ++i) {
        const std::int32_t jdn = jdns[i];
        LeapWeekRecord r{};
        r.jdn = jdn;
        ASSERT_TRUE(JdnToLpm(r));
        if (i % 16 == 0 || i + 4000 > jdns.size()) {  // also all the dense runs at the edges
            const reference::Week want = reference::FromJdn(jdn);
            ASSERT_EQ(r.year, want.year) << jdn;
            ASSERT_EQ(r.week, want.week) << jdn;
            ASSERT_EQ(r.weekday, want.weekday) << jdn;
            const reference::MonthDay md =
                reference::WeekToMonth(want.year, want.week, want.weekday);
            ASSERT_EQ(r.month, md.month) << jdn;
            ASSERT_EQ(r.dayOfMonth, md.day) << jdn;
        }
        LeapWeekRecord viaWeek{};
        viaWeek.year = r.year;
        viaWeek.week = r.week;
        viaWeek.weekday = r.weekday;
        ASSERT_TRUE(LpwToJdn(viaWeek));
        ASSERT_EQ(viaWeek.jdn, jdn);
        LeapWeekRecord viaMonth{};
        viaMonth.year = r.year;
        viaMonth.month = r.month;
        viaMonth.dayOfMonth = r.dayOfMonth;
        ASSERT_TRUE(LpmToJdn(viaMonth));
        ASSERT_EQ(viaMonth.jdn, jdn);
        ASSERT_EQ(viaMonth.week, r.week);
        ASSERT_EQ(viaMonth.weekday, r.weekday);
    }
}

// Records the text readers can produce beyond a well-formed date: weekday 0, week 0, weeks
// past the end of the year, month 0, day 0. They follow the plain arithmetic of the steps.
TEST(LeapWeekConversions, OddRecordsFollowThePlainArithmetic) {
    for (std::int32_t year : {-401, -2, 0, 1, 3, 20, 400, 2012, 5800000}) {
        for (int week = 0; week <= 70; ++week) {
            for (int weekday = 0; weekday <= 7; ++weekday) {
                LeapWeekRecord r{};
                r.year = year;
                r.week = static_cast<std::int16_t>(week);
                r.weekday = static_cast<std::int16_t>(weekday);
                LeapWeekRecord toJdn = r;
                ASSERT_TRUE(LpwToJdn(toJdn));
                ASSERT_EQ(toJdn.jdn, reference::ToJdn({year, week, weekday}));
                ASSERT_TRUE(LpwToLpm(r));
                const reference::MonthDay md = reference::WeekToMonth(year, week, weekday);
                ASSERT_EQ(r.month, md.month) << year << "-" << week << "-" << weekday;
                ASSERT_EQ(r.dayOfMonth, md.day) << year << "-" << week << "-" << weekday;
            }
        }
        for (int month = 0; month <= 12; ++month) {
            for (int day = 0; day <= 35; ++day) {
                LeapWeekRecord r{};
                r.year = year;
                r.month = static_cast<std::int16_t>(month);
                r.dayOfMonth = static_cast<std::int16_t>(day);
                const int length = 7 * reference::WeeksInMonth(month, reference::IsLeap(year));
                ASSERT_EQ(LpmToLpw(r), day <= length) << year << "-" << month << "-" << day;
                if (day <= length) {
                    const reference::Week w = reference::MonthToWeek(year, month, day);
                    ASSERT_EQ(r.week, w.week) << year << "-" << month << "-" << day;
                    ASSERT_EQ(r.weekday, w.weekday) << year << "-" << month << "-" << day;
                }
            }
        }
    }
}

}  // namespace
}  // namespace daybridge
