// Why a world calendar's date does not exist. The cases are facts of each calendar (its month
// lengths and leap years as published); the random part checks every answer against the
// conversions: a day after a month's last day, or a month after a year's last month, is
// refused, and the limit given is the last day or month the conversions reach.
#include <gtest/gtest.h>

#include <random>

#include "jdcore/date_faults.h"

namespace {

using jdcore::DateFault;
using jdcore::WorldCalendar;

struct Case {
    WorldCalendar cal;
    std::int64_t year, month, day;
    DateFault fault;
    std::int64_t limit;  // when there is a fault
};

constexpr WorldCalendar kHeb = WorldCalendar::Hebrew;
constexpr WorldCalendar kIsl = WorldCalendar::Islamic;
constexpr WorldCalendar kPer = WorldCalendar::Persian;
constexpr WorldCalendar kCop = WorldCalendar::Coptic;
constexpr WorldCalendar kEth = WorldCalendar::Ethiopian;
constexpr WorldCalendar kFrr = WorldCalendar::FrenchRepublican;
constexpr WorldCalendar kInd = WorldCalendar::Indian;

const Case kCases[] = {
    // Hebrew: 5785 is a common year (12 months), 5784 a leap year with Adar II (29 days).
    {kHeb, 5785, 13, 1, DateFault::LeapMonth, 12},
    {kHeb, 5784, 13, 29, DateFault::None, 0},
    {kHeb, 5784, 13, 30, DateFault::DayOfMonth, 29},
    {kHeb, 5785, 14, 1, DateFault::MonthNumber, 13},
    {kHeb, 5785, 0, 1, DateFault::MonthNumber, 13},
    {kHeb, 5785, 7, 31, DateFault::DayOfMonth, 30},  // Tishri
    // Islamic (tabular): Safar has 29 days; Dhu al-Hijjah 30 in a leap year (1447, year 7 of
    // the 30-year cycle), 29 otherwise (1448).
    {kIsl, 1448, 2, 30, DateFault::DayOfMonth, 29},
    {kIsl, 1448, 1, 0, DateFault::DayOfMonth, 30},
    {kIsl, 1447, 12, 30, DateFault::None, 0},
    {kIsl, 1448, 12, 30, DateFault::DayOfMonth, 29},
    {kIsl, 1448, 13, 1, DateFault::MonthNumber, 12},
    // Persian: Esfand has 30 days in 1403, a leap year, 29 in 1404; Mehr has 30.
    {kPer, 1403, 12, 30, DateFault::None, 0},
    {kPer, 1404, 12, 30, DateFault::DayOfMonth, 29},
    {kPer, 1404, 7, 31, DateFault::DayOfMonth, 30},
    // Coptic and Ethiopian: six epagomenal days in the year before a Julian leap year.
    {kCop, 1739, 13, 6, DateFault::None, 0},
    {kCop, 1741, 13, 6, DateFault::DayOfMonth, 5},
    {kEth, 2015, 13, 6, DateFault::None, 0},
    {kEth, 2018, 13, 6, DateFault::DayOfMonth, 5},
    {kEth, 2018, 14, 1, DateFault::MonthNumber, 13},
    // French Republican: year III was sextile, year IV not.
    {kFrr, 3, 13, 6, DateFault::None, 0},
    {kFrr, 4, 13, 6, DateFault::DayOfMonth, 5},
    // Indian national: Chaitra has 31 days when the Gregorian year is a leap year (Saka 1946 is
    // 2024), 30 otherwise.
    {kInd, 1946, 1, 31, DateFault::None, 0},
    {kInd, 1947, 1, 31, DateFault::DayOfMonth, 30},
    {kInd, 1947, 13, 1, DateFault::MonthNumber, 12},
    {kInd, 7'000'000, 1, 1, DateFault::YearOutOfRange, jdcore::kMaxWorldYear},
};

TEST(DateFaults, KnownDates) {
    for (const Case& c : kCases) {
        const jdcore::DateFaultReason why = jdcore::WhyInvalidDate(c.cal, c.year, c.month, c.day);
        const std::string what = std::to_string(static_cast<int>(c.cal)) + " " +
                                 std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                                 std::to_string(c.day);
        EXPECT_EQ(why.fault, c.fault) << what;
        if (c.fault != DateFault::None) {
            EXPECT_EQ(why.limit, c.limit) << what;
            EXPECT_EQ(why.year, c.year) << what;
        }
    }
}

TEST(DateFaults, LongCountPlaces) {
    struct Place {
        std::array<std::int64_t, 5> places;
        int place;  // 0: valid
        std::int64_t limit;
    };
    const Place cases[] = {{{13, 0, 0, 18, 0}, 4, 17},   {{13, 20, 0, 0, 0}, 2, 19},
                           {{13, 0, 20, 0, 0}, 3, 19},   {{13, 0, 0, 0, 20}, 5, 19},
                           {{-1, 19, 19, 17, 19}, 0, 0}, {{13, 0, 14, 2, 19}, 0, 0}};
    for (const Place& c : cases) {
        const jdcore::DateFaultReason why = jdcore::WhyInvalidLongCount(c.places);
        EXPECT_EQ(why.fault, c.place == 0 ? DateFault::None : DateFault::LongCountPlace);
        EXPECT_EQ(why.place, c.place);
        EXPECT_EQ(why.limit, c.limit);
    }
}

// Every day is a valid date; the day after a month's last day (as the conversion from the next
// JDN shows it) is refused with that last day, a month after the year's last one is refused,
// and Hebrew Adar II only where the conversions never reach it.
TEST(DateFaults, AgreeWithTheConversions) {
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<std::int64_t> days(-2'100'000'000, 2'100'000'000);
    for (WorldCalendar cal : {kHeb, kIsl, kPer, kCop, kEth, kFrr, kInd}) {
        for (int n = 0; n < 20000; ++n) {
            const std::int64_t jdn = days(random);
            const jdcore::YearMonthDay d = jdcore::FromJdn(cal, jdn);
            const jdcore::YearMonthDay next = jdcore::FromJdn(cal, jdn + 1);
            ASSERT_EQ(jdcore::WhyInvalidDate(cal, d.year, d.month, d.day).fault, DateFault::None);
            const jdcore::DateFaultReason dayAfter =
                jdcore::WhyInvalidDate(cal, d.year, d.month, d.day + 1);
            if (next.month != d.month) {
                ASSERT_EQ(dayAfter.fault, DateFault::DayOfMonth) << jdn;
                ASSERT_EQ(dayAfter.limit, d.day) << jdn;
            } else {
                ASSERT_EQ(dayAfter.fault, DateFault::None) << jdn;
            }
            if (cal == kHeb) {
                // Adar is followed by Adar II in a leap year and by Nisan in a common one.
                if (d.month == 12 && next.month != 12) {
                    ASSERT_EQ(jdcore::WhyInvalidDate(cal, d.year, 13, 1).fault,
                              next.month == 13 ? DateFault::None : DateFault::LeapMonth)
                        << jdn;
                }
            } else if (next.year != d.year) {
                ASSERT_EQ(jdcore::WhyInvalidDate(cal, d.year, d.month + 1, 1).fault,
                          DateFault::MonthNumber)
                    << jdn;
            }
        }
    }
}

}  // namespace
