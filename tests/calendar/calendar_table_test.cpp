// The calendar code table, day-of-week forms, names, the leap-year rule, day-of-year helpers,
// ISO 8601 week dates against the steps that define them, and ordinal dates.
#include <gtest/gtest.h>

#include <QDate>
#include <vector>

#include "calendar/calendar_table.h"
#include "calendar/iso_ordinal.h"
#include "jdcore/records.h"

namespace daybridge {
namespace {

TEST(CalendarTable, CodesAndLettersRoundTripThroughTheIndex) {
    for (int i = 0; i < kCalendarCount; ++i) {
        const CalendarId id = *CalendarOfIndex(i);
        EXPECT_EQ(CalendarIndexOfCode(CalendarCode(id)), i);
        EXPECT_EQ(CalendarIndexOfCode(CalendarCode(id).toLower()), i);
    }
    EXPECT_EQ(CalendarIndexOfCode(QStringLiteral("lpm")), 8);
    EXPECT_EQ(CalendarIndexOfCode(QStringLiteral("pEr")), IndexOf(CalendarId::PER));
    for (const char* unknown : {"XYZ", "", " CE", "C", "LPMX"}) {
        EXPECT_EQ(CalendarIndexOfCode(QString::fromLatin1(unknown)), -1) << unknown;
    }
    EXPECT_EQ(LibraryLetter(CalendarId::JDN), QStringLiteral("JD"));
    EXPECT_TRUE(LibraryLetter(CalendarId::ORD).isEmpty());
    EXPECT_TRUE(LibraryLetter(CalendarId::HEB).isEmpty());
    EXPECT_FALSE(CalendarOfIndex(kCalendarCount));
    EXPECT_FALSE(CalendarOfIndex(-1));
}

struct LetterCase {
    CalendarId calendar;
    bool stored;
    char letter;  // the record's calendar field afterwards
};
const LetterCase kLetters[] = {
    {CalendarId::CE, true, 'G'},   {CalendarId::JC, true, 'J'},   {CalendarId::JDN, false, 'Z'},
    {CalendarId::AN, true, 'A'},   {CalendarId::ORD, true, 'G'},  {CalendarId::VLW, true, 'V'},
    {CalendarId::ISO, true, 'I'},  {CalendarId::LPW, false, 'Z'}, {CalendarId::LPM, false, 'Z'},
    {CalendarId::HEB, false, 'Z'}, {CalendarId::MJD, false, 'Z'},
};

TEST(CalendarTable, CalendarLetterLeavesTheRecordAloneWithoutALetter) {
    for (const LetterCase& c : kLetters) {
        DateRecord r{};
        r.calendar = 'Z';
        EXPECT_EQ(CalendarLetter(c.calendar, r), c.stored) << IndexOf(c.calendar);
        EXPECT_EQ(r.calendar, c.letter) << IndexOf(c.calendar);
    }
}

TEST(DayOfWeek, ThreeFormsOverOneWeek) {
    const std::int32_t sunday = JdnOfCivil(2012, 1, 1);  // a Sunday
    const char* names[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                           "Thursday", "Friday", "Saturday"};
    for (int k = 0; k < 14; ++k) {
        const std::int32_t jdn = sunday + k;
        EXPECT_EQ(DayOfWeek(jdn), k % 7);
        EXPECT_EQ(IsoDayOfWeek(jdn), k % 7 == 0 ? 7 : k % 7);
        EXPECT_EQ(IsWeekday(jdn), k % 7 >= 1 && k % 7 <= 5);
        EXPECT_EQ(DayName(DayOfWeek(jdn)), QString::fromLatin1(names[k % 7]));
    }
}

TEST(Names, OutsideTheirRangeAreEmpty) {
    EXPECT_TRUE(DayName(7).isEmpty());
    EXPECT_TRUE(DayName(-1).isEmpty());
    EXPECT_TRUE(MonthName(0).isEmpty());
    EXPECT_TRUE(MonthName(13).isEmpty());
    EXPECT_EQ(MonthName(1), QStringLiteral("January"));
    EXPECT_EQ(MonthName(12), QStringLiteral("December"));
}

// Each day of a year counted from its 1 January, in the Gregorian and the Julian calendar: the
// day of the year, its Gregorian inverse, and the year's length as the leap-year rule named by
// any spelling of its first letter gives it.
TEST(DayOfYear, CountsFromTheFirstOfJanuaryInTheRecordsCalendar) {
    const char* const names[2][3] = {{"G", "gregorian", ""}, {"J", "j", "julian"}};
    for (const char letter : {'G', 'J'}) {
        for (std::int32_t year : {-400, -100, -4, -1, 1, 4, 100, 1582, 1900, 2000, 2011, 9999}) {
            const std::int32_t first = JdnOfCivil(year, 1, 1, letter);
            const std::int32_t next = JdnOfCivil(year + 1, 1, 1, letter);
            for (std::int32_t jdn = first; jdn < next; ++jdn) {
                const DateRecord r = CivilOfJdn(jdn, letter);
                ASSERT_EQ(r.year, year) << jdn;
                ASSERT_EQ(DayOfYear(r), jdn - first + 1) << letter << " " << jdn;
                ASSERT_TRUE(letter == 'J' || FirstDayOfYearPlus(year, jdn - first + 1) == jdn);
            }
            for (const char* name : names[letter == 'J' ? 1 : 0]) {
                EXPECT_EQ(IsLeapYear(year, QString::fromLatin1(name)), next - first == 366)
                    << year << " " << name;
            }
        }
    }
    EXPECT_EQ(FirstDayOfYearPlus(1, 1), kMinOrdinalJDN);
    EXPECT_EQ(FirstDayOfYearPlus(9999, 365), kMaxOrdinalJDN);
}

TEST(TodayJDN, IsTheCurrentLocalDate) {
    const qint64 before = QDate::currentDate().toJulianDay();
    const std::int32_t today = TodayJDN();
    const qint64 after = QDate::currentDate().toJulianDay();
    EXPECT_TRUE(today == before || today == after);
}

// The steps as written: 1 January's weekday decides week 1's Monday, the Thursday of a
// day's week decides its year.
std::int32_t Week1MondayBySteps(std::int32_t year) {
    const std::int32_t j = JdnOfCivil(year, 1, 1);
    const int d = DayOfWeek(j);
    return d <= 4 ? j - (d - 1) : j + (8 - d);
}

TEST(IsoWeek, AgreesWithTheStepsAndTheWeekCountEverywhere) {
    const std::vector<std::int64_t> jdns = jdcore_test::SampleJdns(
        kMaxDayNumber, 104729, {-kMaxDayNumber + 800, -1721426, 0, 2451545, kMaxDayNumber - 800},
        800);
    for (const std::int64_t day : jdns) {
        const auto jdn = static_cast<std::int32_t>(day);
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
