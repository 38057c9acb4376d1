// Breakdown of a difference into years, months, weeks and days.
#include <gtest/gtest.h>

#include <random>

#include "app/captions.h"
#include "calendar/calendar_table.h"
#include "calendar/iso_ordinal.h"
#include "compute/presentation.h"
#include "datetext/unit_difference.h"
#include "support/qstring_printer.h"

namespace daybridge {
namespace {

DateRecord Civil(std::int32_t year, std::int32_t month, std::int32_t day, char letter = 'G') {
    DateRecord record{};
    record.year = year;
    record.month = month;
    record.day = day;
    record.calendar = letter;
    record.jdn = JdnOfCivil(year, month, day, letter);
    return record;
}

IsoWeekRecord Iso(std::int32_t year, std::int32_t week, std::int32_t weekday) {
    IsoWeekRecord record;
    record.year = year;
    record.week = week;
    record.weekday = weekday;
    IsoWeekToJdn(record);
    return record;
}

DateRecord Ordinal(std::int32_t year, std::int32_t dayOfYear) {
    DateRecord record = CivilOfJdn(FirstDayOfYearPlus(year, dayOfYear), 'G');
    record.calendar = 'G';
    return record;
}

struct YmdCase {
    const char* what;
    DateRecord first;
    DateRecord second;
    std::int32_t years;
    int months;
    int days;
};

TEST(Breakdown, YearsMonthsDays) {
    const YmdCase cases[] = {
        {"borrow from February of a leap year", Civil(2012, 1, 15), Civil(2012, 3, 10), 0, 1, 24},
        {"borrow from May", Civil(2011, 6, 15), Civil(2012, 6, 14), 0, 11, 30},
        {"same day next year", Civil(2011, 6, 15), Civil(2012, 6, 15), 1, 0, 0},
        {"borrow twice: January after a short February", Civil(2011, 1, 31), Civil(2012, 3, 1), 1,
         0, 30},
        {"borrow twice inside one year", Civil(2012, 1, 31), Civil(2012, 3, 1), 0, 0, 30},
        {"Gregorian 1900 has a short February", Civil(1900, 1, 31), Civil(1900, 3, 1), 0, 0, 29},
        {"Julian 1900 has a long February", Civil(1900, 1, 31, 'J'), Civil(1900, 3, 1, 'J'), 0, 0,
         30},
        {"across a year end", Civil(2011, 12, 31), Civil(2012, 1, 1), 0, 0, 1},
        {"negative years", Civil(-500, 3, 1), Civil(-499, 2, 28), 0, 11, 27},
    };
    for (const YmdCase& c : cases) {
        const DifferenceParts parts = DifferenceInYearsMonthsDays(c.first, c.second);
        EXPECT_EQ(parts.status, 0) << c.what;
        EXPECT_EQ(parts.years, c.years) << c.what;
        EXPECT_EQ(parts.monthsOrWeeks, c.months) << c.what;
        EXPECT_EQ(parts.days, c.days) << c.what;
    }
    EXPECT_EQ(DifferenceInYearsMonthsDays(Civil(2012, 3, 1), Civil(2011, 3, 1)).status, -1);
}

// Adding the years and months to the first date (by plain arithmetic, so 31 April is 1 May)
// and then the days gives the second date; no part is negative.
TEST(Breakdown, YearsMonthsDaysAddUpToTheSpan) {
    std::mt19937 random(31);
    std::uniform_int_distribution<std::int32_t> jdn(JdnOfCivil(1, 1, 1), JdnOfCivil(3000, 1, 1));
    std::uniform_int_distribution<std::int32_t> span(0, 2000);
    for (int i = 0; i < 20000; ++i) {
        const char letter = (i & 1) != 0 ? 'J' : 'G';
        const std::int32_t from = jdn(random);
        DateRecord first = CivilOfJdn(from, letter);
        DateRecord second = CivilOfJdn(from + span(random), letter);
        first.calendar = letter;
        second.calendar = letter;
        const DifferenceParts parts = DifferenceInYearsMonthsDays(first, second);
        ASSERT_EQ(parts.status, 0);
        ASSERT_GE(parts.years, 0);
        ASSERT_GE(parts.monthsOrWeeks, 0);
        ASSERT_LE(parts.monthsOrWeeks, 11);
        ASSERT_GE(parts.days, 0);
        ASSERT_LE(parts.days, 30);
        const std::int32_t months = first.month - 1 + parts.monthsOrWeeks;
        const std::int32_t anchor =
            JdnOfCivil(first.year + parts.years + months / 12, months % 12 + 1, first.day, letter);
        ASSERT_EQ(anchor + parts.days, second.jdn)
            << first.year << "-" << first.month << "-" << first.day << " to " << second.year << "-"
            << second.month << "-" << second.day << " " << letter;
    }
}

struct YwdCase {
    const char* what;
    IsoWeekRecord first;
    IsoWeekRecord second;
    std::int32_t years;
    int weeks;
    int days;
    std::int32_t status;
};

TEST(Breakdown, YearsWeeksDays) {
    const YwdCase cases[] = {
        {"weekday borrow across a year", Iso(2012, 5, 5), Iso(2013, 5, 3), 0, 51, 5, 0},
        {"2015 has 53 weeks", Iso(2015, 50, 1), Iso(2016, 2, 1), 0, 5, 0, 0},
        {"the year crossed is the one before the second date", Iso(2015, 50, 1), Iso(2017, 2, 1), 1,
         4, 0, 0},
        {"the year crossed has 53 weeks", Iso(2019, 50, 1), Iso(2021, 2, 1), 1, 5, 0, 0},
        {"weekday borrow in the same year", Iso(2012, 5, 5), Iso(2012, 9, 2), 0, 3, 4, 0},
        {"from a week 53 over a year of 52 weeks", Iso(2015, 53, 5), Iso(2017, 1, 3), 0, 52, 5, 0},
        {"from a week 53 over several years", Iso(2015, 53, 5), Iso(2018, 1, 3), 1, 51, 5, 0},
        {"wrong order after a borrow", Iso(2013, 10, 1), Iso(2012, 5, 1), -2, 47, 0, -1},
        {"wrong order without a borrow", Iso(2013, 1, 1), Iso(2012, 1, 1), -1, 0, 0, 0},
    };
    for (const YwdCase& c : cases) {
        const DifferenceParts parts = DifferenceInYearsWeeksDays(c.first, c.second);
        EXPECT_EQ(parts.years, c.years) << c.what;
        EXPECT_EQ(parts.monthsOrWeeks, c.weeks) << c.what;
        EXPECT_EQ(parts.days, c.days) << c.what;
        EXPECT_EQ(parts.status, c.status) << c.what;
    }
}

TEST(Breakdown, YearsWeeksDaysAddUpToTheSpan) {
    std::mt19937 random(53);
    std::uniform_int_distribution<std::int32_t> jdn(JdnOfCivil(-3000, 1, 1),
                                                    JdnOfCivil(3000, 1, 1));
    std::uniform_int_distribution<std::int32_t> span(0, 3000);
    for (int i = 0; i < 20000; ++i) {
        IsoWeekRecord first;
        first.jdn = jdn(random);
        JdnToIsoWeek(first);
        IsoWeekRecord second;
        second.jdn = first.jdn + span(random);
        JdnToIsoWeek(second);
        const DifferenceParts parts = DifferenceInYearsWeeksDays(first, second);
        ASSERT_EQ(parts.status, 0);
        ASSERT_GE(parts.monthsOrWeeks, 0);
        ASSERT_LE(parts.monthsOrWeeks, 52);
        ASSERT_GE(parts.days, 0);
        ASSERT_LE(parts.days, 6);
        IsoWeekRecord anchor;
        anchor.year = first.year + parts.years;
        anchor.week = first.week;
        anchor.weekday = first.weekday;
        // A week 53 that the anchor year lacks counts on as week 1 of the next year.
        IsoWeekToJdn(anchor);
        ASSERT_EQ(anchor.jdn + 7 * parts.monthsOrWeeks + parts.days, second.jdn)
            << first.year << "-W" << first.week << "-" << first.weekday << " to " << second.year
            << "-W" << second.week << "-" << second.weekday;
    }
}

TEST(Breakdown, YearsDays) {
    DifferenceParts parts = DifferenceInYearsDays(Ordinal(2011, 300), Ordinal(2012, 10));
    EXPECT_EQ(parts.years, 0);
    EXPECT_EQ(parts.days, 75);
    EXPECT_EQ(parts.status, 0);
    parts = DifferenceInYearsDays(Ordinal(2012, 366), Ordinal(2013, 365));
    EXPECT_EQ(parts.years, 0);
    EXPECT_EQ(parts.days, 365);
    parts = DifferenceInYearsDays(Ordinal(2011, 300), Ordinal(2014, 310));
    EXPECT_EQ(parts.years, 3);
    EXPECT_EQ(parts.days, 10);
    EXPECT_EQ(DifferenceInYearsDays(Ordinal(2012, 10), Ordinal(2011, 300)).status, -1);
}

TEST(Breakdown, MonthAndYearLengthsInTheRecordsCalendar) {
    EXPECT_EQ(DaysInMonth(Civil(2012, 2, 10)), 29);
    EXPECT_EQ(DaysInMonth(Civil(1900, 2, 10)), 28);
    EXPECT_EQ(DaysInMonth(Civil(1900, 2, 10, 'J')), 29);
    EXPECT_EQ(DaysInMonth(Civil(2011, 12, 31)), 31);
    EXPECT_EQ(DaysInMonth(Civil(2011, 4, 1)), 30);
    EXPECT_EQ(DaysInYear(Civil(2012, 5, 5)), 366);
    EXPECT_EQ(DaysInYear(Civil(1900, 5, 5)), 365);
    EXPECT_EQ(DaysInYear(Civil(1900, 5, 5, 'J')), 366);
    EXPECT_EQ(DaysInYear(Civil(-100, 5, 5)), 365);
}

struct TextCase {
    int calendar;
    std::int32_t first;
    std::int32_t second;
    int language;
    const char* expected;
};

TEST(Breakdown, Text) {
    const std::int32_t jan15 = JdnOfCivil(2012, 1, 15);
    const TextCase cases[] = {
        {kCE, jan15, JdnOfCivil(2012, 3, 10), kEnglish, "1 month, 24 days"},
        {kCE, jan15, JdnOfCivil(2013, 2, 16), kEnglish, "1 year, 1 month, 1 day"},
        {kCE, jan15, JdnOfCivil(2014, 4, 19), kEnglish, "2 years, 3 months, 4 days"},
        {kCE, jan15, JdnOfCivil(2014, 1, 15), kEnglish, "2 years"},
        {kCE, jan15, JdnOfCivil(2013, 2, 16), kGerman, "1 Jahr, 1 Monat, 1 Tag"},
        {kCE, jan15, JdnOfCivil(2014, 4, 19), kGerman, "2 Jahre, 3 Monate, 4 Tage"},
        {kJC, JdnOfCivil(1900, 1, 31, 'J'), JdnOfCivil(1900, 3, 1, 'J'), kEnglish, "30 days"},
        {kISO, Iso(2012, 5, 5).jdn, Iso(2013, 5, 3).jdn, kEnglish, "51 weeks, 5 days"},
        {kISO, Iso(2012, 5, 1).jdn, Iso(2012, 6, 1).jdn, kEnglish, "1 week"},
        {kISO, Iso(2012, 5, 1).jdn, Iso(2014, 7, 2).jdn, kGerman, "2 Jahre, 2 Wochen, 1 Tag"},
        {kORD, FirstDayOfYearPlus(2011, 300), FirstDayOfYearPlus(2012, 310), kEnglish,
         "1 year, 10 days"},
        {kORD, FirstDayOfYearPlus(2011, 300), FirstDayOfYearPlus(2013, 300), kGerman, "2 Jahre"},
        {kLPW, jan15, jan15 + 400, kEnglish, ""},
        {kCE, jan15 + 1, jan15, kEnglish, ""},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(BreakdownText(c.calendar, c.first, c.second, c.language),
                  QString::fromUtf8(c.expected))
            << c.expected;
    }
}

// The result sentence of a unit difference names its units with the words of the breakdown.
TEST(Presentation, UnitDifferenceWordsAreTheBreakdownsWords) {
    const Caption captions[4][2] = {{Caption::Year, Caption::Years},
                                    {Caption::Month, Caption::Months},
                                    {Caption::Week, Caption::Weeks},
                                    {Caption::Day, Caption::Days}};
    const unsigned typed[4] = {kUnitYears, kUnitMonths, kUnitWeeks, kUnitDays};
    for (const int language : {kEnglish, kGerman}) {
        for (int unit = 0; unit < 4; ++unit) {
            for (const std::int64_t count : {1, 2}) {
                UnitDifference difference;
                difference.typed = typed[unit];
                (unit == 0   ? difference.years
                 : unit == 1 ? difference.months
                 : unit == 2 ? difference.weeks
                             : difference.days) = count;
                QString word = CaptionText(captions[unit][count == 1 ? 0 : 1], language);
                word = language == kEnglish ? word.toLower() : word;
                EXPECT_EQ(UnitDifferenceText(difference, language),
                          QString::number(count) + QLatin1Char(' ') + word);
            }
        }
    }
}

}  // namespace
}  // namespace daybridge
