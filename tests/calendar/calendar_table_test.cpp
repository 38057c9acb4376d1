// The calendar code table, day-of-week forms, names, the leap-year rule and day-of-year
// helpers.
#include <gtest/gtest.h>

#include <QDate>

#include "calendar/calendar_table.h"

namespace daybridge {
namespace {

TEST(CalendarTable, CodesAndLettersRoundTripThroughTheIndex) {
    for (int i = 0; i < kAllCalendarCount; ++i) {
        EXPECT_EQ(CalendarIndexOfCode(CalendarCode(i)), i);
        EXPECT_EQ(CalendarIndexOfCode(CalendarCode(i).toLower()), i);
    }
    EXPECT_EQ(CalendarIndexOfCode(QStringLiteral("pEr")), kPER);
    for (const char* unknown : {"XYZ", "", " CE", "C", "LPMX"}) {
        EXPECT_EQ(CalendarIndexOfCode(QString::fromLatin1(unknown)), -1) << unknown;
    }
    EXPECT_EQ(LibraryLetter(kJDN), QStringLiteral("JD"));
    EXPECT_TRUE(LibraryLetter(kORD).isEmpty());
    EXPECT_TRUE(LibraryLetter(kHEB).isEmpty());
    EXPECT_TRUE(CalendarCode(kAllCalendarCount).isEmpty());
    EXPECT_TRUE(CalendarCode(-1).isEmpty());
    EXPECT_TRUE(LibraryLetter(kAllCalendarCount).isEmpty());
}

struct LetterCase {
    int index;
    bool stored;
    char letter;  // the record's calendar field afterwards
};
const LetterCase kLetters[] = {
    {kCE, true, 'G'},   {kJC, true, 'J'},   {kJDN, false, 'Z'}, {kAN, true, 'A'},
    {kORD, true, 'G'},  {kVLW, true, 'V'},  {kISO, true, 'I'},  {kLPW, false, 'Z'},
    {kLPM, false, 'Z'}, {kHEB, false, 'Z'}, {kMJD, false, 'Z'}, {18, false, 'Z'},
    {-1, false, 'Z'},
};

TEST(CalendarTable, CalendarLetterLeavesTheRecordAloneWithoutALetter) {
    for (const LetterCase& c : kLetters) {
        DateRecord r{};
        r.calendar = 'Z';
        EXPECT_EQ(CalendarLetter(c.index, r), c.stored) << c.index;
        EXPECT_EQ(r.calendar, c.letter) << c.index;
    }
}

struct LeapCase {
    std::int64_t year;
    const char* letter;
    bool leap;
};
const LeapCase kLeaps[] = {
    {1900, "G", false}, {1900, "J", true},  {2000, "G", true},
    {0, "G", true},     {0, "J", true},     {-4, "G", true},
    {-4, "J", true},    {-100, "J", true},  {-100, "gregorian", false},
    {-400, "G", true},  {2012, "j", true},  {2100, "julian", true},
    {2100, "", false},  {2011, "J", false}, {-1, "J", false},
    {-2000, "G", true},
};

TEST(IsLeapYear, FirstLetterChoosesTheRule) {
    for (const LeapCase& c : kLeaps) {
        EXPECT_EQ(IsLeapYear(c.year, QString::fromLatin1(c.letter)), c.leap)
            << c.year << " " << c.letter;
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

struct DayOfYearCase {
    std::int32_t year, month, day;
    char letter;
    int dayOfYear;
};
const DayOfYearCase kDaysOfYear[] = {
    {2012, 12, 31, 'G', 366}, {2011, 12, 31, 'G', 365}, {2012, 1, 1, 'G', 1},
    {2011, 3, 1, 'G', 60},    {2012, 3, 1, 'G', 61},    {1900, 12, 31, 'J', 366},
    {1900, 12, 31, 'G', 365}, {-4, 12, 31, 'G', 366},   {-1, 12, 31, 'G', 365},
};

TEST(DayOfYear, CountsFromTheFirstOfJanuaryInTheRecordsCalendar) {
    for (const DayOfYearCase& c : kDaysOfYear) {
        DateRecord r{};
        r.year = c.year;
        r.month = c.month;
        r.day = c.day;
        r.calendar = c.letter;
        EXPECT_EQ(DayOfYear(r), c.dayOfYear) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(FirstDayOfYearPlus, IsTheInverseOfDayOfYear) {
    for (std::int32_t year : {1, 4, 100, 1582, 1900, 2000, 2011, 9999}) {
        const int days = IsLeapYear(year, QStringLiteral("G")) ? 366 : 365;
        for (int d = 1; d <= days; ++d) {
            const DateRecord r = CivilOfJdn(FirstDayOfYearPlus(year, d));
            ASSERT_EQ(r.year, year);
            ASSERT_EQ(DayOfYear(r), d);
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

}  // namespace
}  // namespace daybridge
