// ISO 8601 week dates against the steps that define them, and ordinal dates.
#include <gtest/gtest.h>

#include <vector>

#include "calendar/calendar_table.h"
#include "calendar/iso_ordinal.h"

namespace daybridge {
namespace {

// The steps as written: 1 January's weekday decides week 1's Monday, the Thursday of a
// day's week decides its year.
std::int32_t Week1MondayBySteps(std::int32_t year) {
    const std::int32_t j = JdnOfCivil(year, 1, 1);
    const int d = DayOfWeek(j);
    return d <= 4 ? j - (d - 1) : j + (8 - d);
}

TEST(IsoWeek, AgreesWithTheStepsAndTheWeekCountEverywhere) {
    std::vector<std::int32_t> jdns;
    for (std::int64_t j = -kMaxDayNumber; j <= kMaxDayNumber; j += 104729) {
        jdns.push_back(static_cast<std::int32_t>(j));
    }
    for (std::int32_t c : {-kMaxDayNumber + 800, -1721426, 0, 2451545, kMaxDayNumber - 800}) {
        for (std::int32_t j = c - 800; j <= c + 800; ++j) {
            jdns.push_back(j);
        }
    }
    for (std::int32_t jdn : jdns) {
        IsoWeekRecord r{};
        r.jdn = jdn;
        JdnToIsoWeek(r);
        const int weekday = IsoDayOfWeek(jdn);
        const std::int32_t year = CivilOfJdn(jdn + 4 - weekday).year;
        ASSERT_EQ(r.year, year) << jdn;
        ASSERT_EQ(Week1Monday(year), Week1MondayBySteps(year)) << jdn;
        ASSERT_EQ(r.week, (jdn - Week1MondayBySteps(year)) / 7 + 1) << jdn;
        ASSERT_EQ(r.weekday, weekday) << jdn;
        // A week 53 only in a year that has one, also for negative years.
        ASSERT_TRUE(r.week <= 52 || HasWeek53(r.year)) << jdn;
        IsoWeekRecord back{r.year, r.week, r.weekday, 0, 1};
        ASSERT_EQ(IsoWeekToJdn(back), jdn);
    }
}

TEST(IsoWeek, Week53RuleMatchesTheDistanceBetweenWeekOnes) {
    for (std::int32_t year = -5800000; year <= 5800000; year += 4999) {
        for (std::int32_t y = year; y < year + 30; ++y) {
            const bool long_year = Week1MondayBySteps(y + 1) - Week1MondayBySteps(y) == 371;
            ASSERT_EQ(HasWeek53(y), long_year) << y;
        }
    }
}

TEST(IsValidIsoWeek, WeeksOfTheYearAndWeekdaysOneToSeven) {
    for (std::int32_t year : {-44, -2, 2000, 2014, 2015}) {
        for (int week = -1; week <= 55; ++week) {
            for (int weekday = -1; weekday <= 9; ++weekday) {
                IsoWeekRecord r{year, week, weekday, 0, 1};
                const bool valid = weekday >= 1 && weekday <= 7 && week >= 1 &&
                                   week <= (HasWeek53(year) ? 53 : 52);
                ASSERT_EQ(IsValidIsoWeek(r), valid) << year << "-W" << week << "-" << weekday;
                ASSERT_EQ(r.valid, valid ? 1 : 0);
            }
        }
    }
}

struct OrdinalCase {
    std::int32_t year, day;
    bool valid;
};
const OrdinalCase kOrdinals[] = {
    {2000, 366, true},  {1900, 366, false}, {1900, 365, true}, {10000, 1, false},
    {9999, 365, true},  {0, 1, false},      {1, 1, true},      {2012, 0, false},
    {2012, 367, false}, {2011, 366, false}, {-4, 1, false},
};

TEST(IsValidOrdinal, YearsOneTo9999AndTheirDays) {
    for (const OrdinalCase& c : kOrdinals) {
        EXPECT_EQ(IsValidOrdinal(c.year, c.day), c.valid) << c.year << "-" << c.day;
    }
}

}  // namespace
}  // namespace daybridge
