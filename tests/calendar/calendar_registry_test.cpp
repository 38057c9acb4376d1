// The calendar registry: every entry is complete and in its place, converts every day of its
// span to a date its own check accepts and back, and refuses exactly the dates the conversions
// never give (the day after a month's last day, a month after a year's last), with the limit
// the conversions show. Facts of each calendar's month lengths and leap years as published.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "calendar/calendar_registry.h"
#include "calendar/calendar_units.h"
#include "calendar/gregorian_switch.h"

namespace daybridge {
namespace {

using jdcore::DateProblem;

std::string Code(const CalendarEntry& c) {
    return c.code;
}

TEST(CalendarRegistry, EveryEntryIsCompleteAndInItsPlace) {
    std::set<std::string> codes;
    int options = 0;
    for (int i = 0; i < kCalendarCount; ++i) {
        const CalendarEntry& c = *AllCalendars()[static_cast<std::size_t>(i)];
        EXPECT_EQ(IndexOf(c.id), i) << Code(c);
        EXPECT_TRUE(codes.insert(Code(c)).second) << "code twice: " << Code(c);
        EXPECT_EQ(CalendarOfCode(QString::fromLatin1(c.code).toLower()), c.id);
        ASSERT_TRUE(c.fromJdn && c.toJdn && c.check) << Code(c);
        EXPECT_LE(c.firstJdn, c.lastJdn) << Code(c);
        EXPECT_LE(c.minYear, c.maxYear) << Code(c);
        // A calendar the window offers is named by its option caption or by a text of the text
        // data file (AN and VLW, which it never offers, go by their codes).
        if (c.fieldChoice != FieldChoice::None) {
            EXPECT_TRUE(c.nameText != 0 || c.fieldChoice == FieldChoice::Option) << Code(c);
        }
        options += c.fieldChoice == FieldChoice::Option ? 1 : 0;
        if (c.HasYears()) {
            EXPECT_TRUE(c.isLeapYear) << Code(c);
        }
        if (c.fields == FieldKind::YearMonthDay || c.fields == FieldKind::YearWeekDay) {
            ASSERT_TRUE(c.monthsInYear && c.daysInMonth) << Code(c);
        }
        // Month names for every month a year can have, or none.
        const int names = static_cast<int>(c.monthNames.fixed.size()) + c.monthNames.textCount;
        if (names > 0) {
            EXPECT_GE(names, c.monthsInYear(2000)) << Code(c);
        }
        // Years and months are added in a calendar of months; Page Up/Down steps by one.
        for (CalendarId months : {c.unitMonths, c.pageMonthsIn}) {
            EXPECT_EQ(Calendar(months).fields, FieldKind::YearMonthDay) << Code(c);
        }
        EXPECT_EQ(c.weekYears, c.fields == FieldKind::YearWeekDay) << Code(c);
    }
    EXPECT_EQ(static_cast<int>(OptionCalendars().size()), options);
    EXPECT_EQ(static_cast<int>(AllCalendars().size()), kCalendarCount);
}

// Random days of each span, its ends and days near the year 0 and J2000: the date converts
// back to the day, its own check accepts it, and the next day is the next date: the same
// month's next day, or the first day of the next month (or year).
TEST(CalendarRegistry, EveryDayConvertsBackAndFollowsTheMonthLengths) {
    std::mt19937_64 random(20261207);
    for (const CalendarEntry* entry : AllCalendars()) {
        const CalendarEntry& c = *entry;
        // Inside the range every caller uses.
        const std::int64_t first = std::max<std::int64_t>(c.firstJdn, -2'100'000'000);
        const std::int64_t last = std::min<std::int64_t>(c.lastJdn, 2'100'000'000) - 1;
        std::uniform_int_distribution<std::int64_t> day(first, last);
        std::vector<std::int64_t> days = {first, last, 1721425, 1721426, 2451545};
        for (int n = 0; n < 20000; ++n) {
            days.push_back(day(random));
        }
        for (std::int64_t jdn : days) {
            if (jdn < first || jdn > last) {
                continue;
            }
            const CalendarDate date = FromJdn(c.id, jdn);
            ASSERT_TRUE(CheckDate(date).ok()) << Code(c) << " " << jdn;
            ASSERT_EQ(ToJdn(date), jdn) << Code(c) << " " << jdn;
            if (c.fields != FieldKind::YearMonthDay && c.fields != FieldKind::YearWeekDay) {
                continue;
            }
            const CalendarDate next = FromJdn(c.id, jdn + 1);
            CalendarDate dayAfter = date;
            ++dayAfter.day;
            const jdcore::DateCheck check = CheckDate(dayAfter);
            if (next.month == date.month && next.leapMonth == date.leapMonth &&
                next.year == date.year) {
                ASSERT_TRUE(check.ok()) << Code(c) << " " << jdn;
                ASSERT_EQ(next.day, date.day + 1) << Code(c) << " " << jdn;
                continue;
            }
            ASSERT_EQ(next.day, 1) << Code(c) << " " << jdn;
            ASSERT_EQ(check.problem, DateProblem::DayOutOfRange) << Code(c) << " " << jdn;
            ASSERT_EQ(check.limit, date.day) << Code(c) << " " << jdn;
            ASSERT_EQ(c.daysInMonth(date), date.day) << Code(c) << " " << jdn;
            // A year's last month: the one after it is refused (Hebrew years end with Elul; the
            // leap week record takes weeks beyond the year, which run into the next).
            if (next.year != date.year && c.monthArithmetic == nullptr &&
                c.notation != Notation::LeapWeekDate) {
                CalendarDate monthAfter = date;
                ++monthAfter.month;
                monthAfter.day = 1;
                ASSERT_FALSE(CheckDate(monthAfter).ok()) << Code(c) << " " << jdn;
                ASSERT_EQ(date.month, c.monthsInYear(date.year)) << Code(c) << " " << jdn;
            }
        }
    }
}

// A calendar computed over a span of years begins on the first day of its first year and ends
// on the last day of its last; the day before and the day after have no date in jdcore.
TEST(CalendarRegistry, TableSpansAreWholeYears) {
    int tables = 0;
    for (const CalendarEntry* entry : AllCalendars()) {
        const CalendarEntry& c = *entry;
        if (c.fields != FieldKind::YearMonthDay || c.lastJdn > 3'000'000) {
            continue;  // not computed over a span of years
        }
        ++tables;
        const CalendarId id = c.id;
        const CalendarDate first = FromJdn(id, c.firstJdn);
        EXPECT_EQ(first.year, c.minYear) << Code(c);
        EXPECT_EQ(first.month * 100 + first.day, 101) << Code(c);
        const CalendarDate last = FromJdn(id, c.lastJdn);
        EXPECT_EQ(last.year, c.maxYear) << Code(c);
        EXPECT_EQ(last.month, c.monthsInYear(last.year)) << Code(c);
        EXPECT_EQ(last.day, c.daysInMonth(last)) << Code(c);
        CalendarDate before = first;
        --before.year;
        before.month = 12;
        EXPECT_FALSE(CheckDate(before).ok()) << Code(c);
        CalendarDate after = last;
        ++after.year;
        after.month = after.day = 1;
        EXPECT_FALSE(CheckDate(after).ok()) << Code(c);
    }
    EXPECT_GE(tables, 4);  // PEA, FRE, UQ, BAH at least
}

// The historical calendar around each switch: every day converts back, the next day is the
// next date or the first day kept, and the skipped days are refused as such. The year of a
// switch has the Julian leap day while it comes before the switch.
TEST(CalendarRegistry, HistoricalCalendarFollowsItsSwitch) {
    struct Switch {
        const char* text;
        std::int64_t jdn;  // the first Gregorian day
        int skippedDays;
        std::int64_t year;
        bool leap;  // `year` has 29 February
    };
    const Switch switches[] = {
        {"rome", 2299161, 10, 1700, false},       // 1582-10-15, after Julian 4 October
        {"Britain", 2361222, 11, 1700, true},     // 1752-09-14, after Julian 2 September
        {"1918-02-14", 2421639, 13, 1900, true},  // Russia, after Julian 31 January
        {"0200-03-01", 1794168, 0, 100, true},    // the earliest: nothing skipped
    };
    for (const Switch& s : switches) {
        const std::optional<std::int64_t> jdn = GregorianSwitchOfText(QString::fromLatin1(s.text));
        ASSERT_EQ(jdn, s.jdn) << s.text;
        ASSERT_TRUE(SetGregorianSwitchJdn(*jdn));
        EXPECT_EQ(GregorianSwitchOfText(GregorianSwitchText(*jdn)), jdn);
        int skipped = 0;
        for (std::int64_t day = s.jdn - 400; day < s.jdn + 400; ++day) {
            const CalendarDate date = FromJdn(CalendarId::HIS, day);
            ASSERT_EQ(ToJdn(date), day) << s.text << " " << day;
            const CalendarDate next = FromJdn(CalendarId::HIS, day + 1);
            const bool sameMonth = next.month == date.month;
            if (sameMonth ? next.day == date.day + 1 : next.day == 1) {
                continue;
            }
            ASSERT_EQ(day + 1, s.jdn) << s.text;  // a day is skipped only at the switch
            CalendarDate firstSkipped = sameMonth ? date : next;
            firstSkipped.day = sameMonth ? date.day + 1 : 1;
            EXPECT_EQ(CheckDate(firstSkipped).problem, DateProblem::InSwitchGap) << s.text;
            skipped = sameMonth ? next.day - date.day - 1 : next.day - 1;
        }
        EXPECT_EQ(skipped, s.skippedDays) << s.text;
        EXPECT_EQ(Calendar(CalendarId::HIS).isLeapYear(s.year), s.leap) << s.text;
    }
    for (const char* bad : {"0200-02-28", "1752-9-14", "1752-02-30", "10000-01-01", "", "paris"}) {
        EXPECT_FALSE(GregorianSwitchOfText(QString::fromLatin1(bad))) << bad;
    }
    EXPECT_FALSE(SetGregorianSwitchJdn(1794167));
    ASSERT_TRUE(SetGregorianSwitchJdn(2299161));
}

struct Fact {
    CalendarId calendar;
    std::int64_t year;
    std::int32_t month, day;
    DateProblem problem;
    std::int64_t limit;
};

// What is wrong with a date, from each calendar's published month lengths and leap years.
TEST(CalendarRegistry, RefusedDatesSayWhatIsWrong) {
    using enum CalendarId;
    const Fact facts[] = {
        // Hebrew: 5785 is a common year, 5784 a leap year with Adar II (29 days).
        {HEB, 5785, 13, 1, DateProblem::NoSuchLeapMonth, 0},
        {HEB, 5784, 13, 29, DateProblem::None, 0},
        {HEB, 5784, 13, 30, DateProblem::DayOutOfRange, 29},
        {HEB, 5785, 14, 1, DateProblem::MonthOutOfRange, 13},
        {HEB, 5785, 0, 1, DateProblem::MonthOutOfRange, 13},
        {HEB, 5785, 7, 31, DateProblem::DayOutOfRange, 30},  // Tishri
        // Islamic (tabular): Safar has 29 days; Dhu al-Hijjah 30 in the leap year 1447.
        {ISL, 1448, 2, 30, DateProblem::DayOutOfRange, 29},
        {ISL, 1448, 1, 0, DateProblem::DayOutOfRange, 30},
        {ISL, 1447, 12, 30, DateProblem::None, 0},
        {ISL, 1448, 12, 30, DateProblem::DayOutOfRange, 29},
        {ISL, 1448, 13, 1, DateProblem::MonthOutOfRange, 12},
        // Persian: Esfand has 30 days in the leap year 1403, 29 in 1404.
        {PER, 1403, 12, 30, DateProblem::None, 0},
        {PER, 1404, 12, 30, DateProblem::DayOutOfRange, 29},
        // Coptic and Ethiopian: six epagomenal days in the year before a Julian leap year.
        {COP, 1739, 13, 6, DateProblem::None, 0},
        {COP, 1741, 13, 6, DateProblem::DayOutOfRange, 5},
        {ETH, 2018, 14, 1, DateProblem::MonthOutOfRange, 13},
        // French Republican: year III was sextile, year IV not.
        {FRR, 3, 13, 6, DateProblem::None, 0},
        {FRR, 4, 13, 6, DateProblem::DayOutOfRange, 5},
        // Indian national: Chaitra has 31 days when the Gregorian year is a leap year.
        {IND, 1946, 1, 31, DateProblem::None, 0},
        {IND, 1947, 1, 31, DateProblem::DayOutOfRange, 30},
        {IND, 7'000'000, 1, 1, DateProblem::OutOfSpan, 6'000'000},
        // CE and JC: 1900 is a leap year only in the Julian calendar.
        {CE, 1900, 2, 29, DateProblem::DayOutOfRange, 28},
        {JC, 1900, 2, 29, DateProblem::None, 0},
        // ISO: 2015 has 53 weeks, 2014 52.
        {ISO, 2015, 53, 7, DateProblem::None, 0},
        {ISO, 2014, 53, 1, DateProblem::MonthOutOfRange, 52},
        // Ordinal dates: years 1 to 9999 only.
        {ORD, 2000, 0, 366, DateProblem::None, 0},
        {ORD, 1900, 0, 366, DateProblem::DayOutOfRange, 365},
        {ORD, 10000, 0, 1, DateProblem::OutOfSpan, 9999},
    };
    for (const Fact& f : facts) {
        const CalendarDate date{
            .calendar = f.calendar, .month = f.month, .year = f.year, .day = f.day};
        const jdcore::DateCheck check = CheckDate(date);
        const std::string what = CodeOf(f.calendar).toStdString() + " " + std::to_string(f.year) +
                                 "-" + std::to_string(f.month) + "-" + std::to_string(f.day);
        EXPECT_EQ(check.problem, f.problem) << what;
        EXPECT_EQ(check.limit, f.limit) << what;
    }
    // A Long Count's places: katun and tun 0..19, uinal 0..17, kin 0..19.
    const std::array<std::int32_t, 4> kLargest = {19, 19, 17, 19};
    for (int place = 0; place < 4; ++place) {
        std::array<std::int32_t, 4> places = {0, 14, 2, 19};
        places[static_cast<std::size_t>(place)] = kLargest[static_cast<std::size_t>(place)] + 1;
        const CalendarDate date{.calendar = CalendarId::MAY,
                                .month = places[0],
                                .year = 13,
                                .day = places[1],
                                .uinal = places[2],
                                .kin = places[3]};
        const jdcore::DateCheck check = CheckDate(date);
        EXPECT_EQ(check.problem, DateProblem::PlaceOutOfRange);
        EXPECT_EQ(check.place, place + 2);
        EXPECT_EQ(check.limit, kLargest[static_cast<std::size_t>(place)]);
    }
}

// The lists of the window: the option buttons in their described order, the today labels'
// cycle, the other calendars' list with every calendar the options leave out but AN and VLW.
TEST(CalendarRegistry, WindowLists) {
    using enum CalendarId;
    const std::vector<CalendarId> options(OptionCalendars().begin(), OptionCalendars().end());
    EXPECT_EQ(options, (std::vector<CalendarId>{CE, JC, ISO, JDN, ORD, LPW, LPM}));
    const std::vector<CalendarId> cycle(TodayCycle().begin(), TodayCycle().end());
    ASSERT_GE(cycle.size(), 7u);
    EXPECT_EQ(std::vector<CalendarId>(cycle.begin(), cycle.begin() + 7),
              (std::vector<CalendarId>{CE, ISO, JC, ORD, LPM, LPW, JDN}));
    for (const CalendarEntry* c : AllCalendars()) {
        const bool listed = std::find(OtherListCalendars().begin(), OtherListCalendars().end(),
                                      c->id) != OtherListCalendars().end();
        const bool inCycle = std::find(cycle.begin(), cycle.end(), c->id) != cycle.end();
        const bool described = DescribedIndexOf(c->id).has_value();
        EXPECT_EQ(listed, !described) << c->code;
        EXPECT_EQ(inCycle, c->id != AN && c->id != VLW) << c->code;
    }
}

}  // namespace
}  // namespace daybridge
