// The leap week calendar: its rules, the edges of its records, and every conversion against
// the step-by-step reference calendar. The star month names: the golden builtins program.
#include <gtest/gtest.h>

#include <vector>

#include "calendar/leap_week.h"
#include "jdcore/leap_week_reference.h"
#include "jdcore/records.h"

namespace daybridge {
namespace {

TEST(LeapWeekYear, LengthsOfYearsAndMonths) {
    for (bool leap : {false, true}) {
        EXPECT_EQ(WeeksInYear(leap), leap ? 53 : 52);
        EXPECT_EQ(DaysInLeapWeekYear(leap), 7 * WeeksInYear(leap));
        for (int m = 1; m <= 12; ++m) {
            EXPECT_EQ(WeeksInMonth(m, leap), reference::WeeksInMonth(m, leap)) << m;
        }
    }
}

// A JDN beyond 32 bits, or a day of the month beyond 16 bits (7 * -5001 + 1), fails instead of
// wrapping; the largest years the date readers pass on still convert.
TEST(LeapWeekRecords, ResultsBeyondTheirFieldsFail) {
    for (std::int32_t year : {6000000, -6000000, 5800000, -5800000}) {
        LeapWeekRecord r{};
        r.year = year;
        r.week = 1;
        r.weekday = 1;
        const bool beyond = year == 6000000 || year == -6000000;
        EXPECT_EQ(LpwToJdn(r), !beyond) << year;
        EXPECT_EQ(r.status, beyond ? kLeapWeekBeyondRange : 0) << year;
    }
    LeapWeekRecord r{};
    r.year = 1;
    r.week = -5000;
    r.weekday = 1;
    EXPECT_FALSE(LpwToLpm(r));
    EXPECT_EQ(r.status, -3);
}

TEST(Hexade, LeapYearsPositionsAndShortHexadesMatchTheReference) {
    for (std::int64_t y = -6000000; y <= 6000000; y += 1237) {
        for (std::int64_t k = y; k < y + 12; ++k) {
            for (std::int64_t year : {k, k % 1237 - 600}) {
                ASSERT_EQ(IsLeapWeekYear(year), reference::IsLeap(year)) << year;
                ASSERT_EQ(YearInHexade(year), reference::YearInHexade(year)) << year;
                ASSERT_EQ(IsInShortHexade(year), reference::IsInShortHexade(year)) << year;
            }
        }
    }
}

// JDN -> month and week forms against the reference (every 16th sample), and both forms back.
TEST(LeapWeekConversions, MatchTheReferenceAndRoundTripIncludingBothEnds) {
    // A sample of the whole day range, dense around the cycle edges the loops step over.
    std::vector<std::int64_t> jdns = jdcore_test::SampleJdns(
        kMaxDayNumber, 7919,
        {kMinDayNumber + 400, kLeapWeekEpoch, kLeapWeekCycleEnd,
         std::int64_t{kLeapWeekEpoch} - kLeapWeekCycleDays, kMaxDayNumber - 400},
        400);
    jdns.push_back(kMinDayNumber);
    jdns.push_back(kMaxDayNumber);
    for (std::size_t i = 0; i < jdns.size(); ++i) {
        const auto jdn = static_cast<std::int32_t>(jdns[i]);
        LeapWeekRecord r{};
        r.jdn = jdn;
        r.status = -3;
        ASSERT_TRUE(JdnToLpm(r));
        ASSERT_EQ(r.status, 0);
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
            // Only the weekday is checked: a bad one fails with its code and keeps the JDN.
            for (int weekday = -2; weekday <= 9; ++weekday) {
                LeapWeekRecord r{};
                r.year = year;
                r.week = static_cast<std::int16_t>(week);
                r.weekday = static_cast<std::int16_t>(weekday);
                r.jdn = 12345;
                r.status = -2;
                LeapWeekRecord toJdn = r;
                const bool ok = weekday >= 0 && weekday <= 7;
                ASSERT_EQ(CheckLeapWeekRecord(r), ok ? 0 : -3) << weekday;
                ASSERT_EQ(LpwToJdn(toJdn), ok) << weekday;
                ASSERT_EQ(toJdn.status, ok ? 0 : -3) << weekday;
                ASSERT_EQ(LpwToLpm(r), ok) << weekday;
                if (!ok) {
                    ASSERT_EQ(toJdn.jdn, 12345);
                    ASSERT_EQ(r.status, -3);
                    continue;
                }
                ASSERT_EQ(toJdn.jdn, reference::ToJdn({year, week, weekday}));
                const reference::MonthDay md = reference::WeekToMonth(year, week, weekday);
                ASSERT_EQ(r.month, md.month) << year << "-" << week << "-" << weekday;
                ASSERT_EQ(r.dayOfMonth, md.day) << year << "-" << week << "-" << weekday;
            }
        }
        // Months beyond 0..12 and days beyond the month are refused with their own codes.
        for (int month = -1; month <= 13; ++month) {
            for (int day = -1; day <= 36; ++day) {
                LeapWeekRecord r{};
                r.year = year;
                r.month = static_cast<std::int16_t>(month);
                r.dayOfMonth = static_cast<std::int16_t>(day);
                const bool monthOk = month >= 0 && month <= 12;
                const bool ok = monthOk && day >= 0 &&
                                day <= 7 * reference::WeeksInMonth(month, reference::IsLeap(year));
                ASSERT_EQ(LpmToLpw(r), ok) << year << "-" << month << "-" << day;
                ASSERT_EQ(r.status, ok        ? 0
                                    : monthOk ? -3
                                              : -2)
                    << year << "-" << month << "-" << day;
                if (ok) {
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
