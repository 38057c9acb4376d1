// ISO 8601 week dates and ordinal dates.
#include <gtest/gtest.h>

#include <vector>

#include "calendar/calendar_table.h"
#include "calendar/iso_ordinal.h"

namespace daybridge {
namespace {

struct IsoCase {
    std::int32_t year, month, day;  // CE
    std::int32_t isoYear, week, weekday;
};
const IsoCase kIsoDates[] = {
    {2010, 1, 1, 2009, 53, 5},  // a Friday: still in the last week of 2009
    {2010, 1, 3, 2009, 53, 7},   {2010, 1, 4, 2010, 1, 1},   {2014, 12, 29, 2015, 1, 1},
    {2012, 2, 1, 2012, 5, 3},    {2008, 12, 29, 2009, 1, 1}, {2005, 1, 2, 2004, 53, 7},
    {2020, 12, 31, 2020, 53, 4}, {2021, 1, 3, 2020, 53, 7},  {1, 1, 1, 1, 1, 1},
    {0, 1, 1, -1, 52, 6},      // a Saturday, in the last week of year -1
    {-44, 12, 31, -43, 1, 1},  // years -44 and 356 share their weekdays (400-year cycle)
};

TEST(IsoWeek, KnownDatesBothWays) {
    for (const IsoCase& c : kIsoDates) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                     std::to_string(c.day));
        const std::int32_t jdn = JdnOfCivil(c.year, c.month, c.day);
        IsoWeekRecord r{};
        r.jdn = jdn;
        JdnToIsoWeek(r);
        EXPECT_EQ(r.year, c.isoYear);
        EXPECT_EQ(r.week, c.week);
        EXPECT_EQ(r.weekday, c.weekday);
        IsoWeekRecord back{c.isoYear, c.week, c.weekday, 0, 1};
        EXPECT_EQ(IsoWeekToJdn(back), jdn);
        EXPECT_EQ(back.jdn, jdn);
    }
    EXPECT_EQ(Week1Monday(2010), JdnOfCivil(2010, 1, 4));
}

struct Week53Case {
    std::int64_t year;
    bool has53;
};
const Week53Case kWeek53[] = {{2004, true},  {2009, true},  {2015, true},  {2020, true},
                              {2026, true},  {2014, false}, {2019, false}, {2021, false},
                              {2000, false}, {0, false},    {-1, false},   {-44, false},
                              {-2, true}};

TEST(IsoWeek, YearsWithAWeek53) {
    for (const Week53Case& c : kWeek53) {
        EXPECT_EQ(HasWeek53(c.year), c.has53) << c.year;
    }
}

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

struct ValidWeekCase {
    std::int32_t year, week, weekday;
    bool valid;
};
const ValidWeekCase kValidWeeks[] = {
    {2014, 53, 1, false}, {2015, 53, 1, true}, {2015, 54, 1, false}, {2014, 0, 1, false},
    {2014, 1, 0, false},  {2014, 1, 8, false}, {2014, 52, 7, true},  {2014, 1, 1, true},
    {-44, 53, 1, false},  {-2, 53, 1, true},
};

TEST(IsValidIsoWeek, RangesAndTheValidFlag) {
    for (const ValidWeekCase& c : kValidWeeks) {
        IsoWeekRecord r{c.year, c.week, c.weekday, 0, 1};
        EXPECT_EQ(IsValidIsoWeek(r), c.valid) << c.year << "-W" << c.week << "-" << c.weekday;
        EXPECT_EQ(r.valid, c.valid ? 1 : 0);
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
