// The month display's months of other calendars: known months, every cell against the
// calendar's own conversion back to its day, the month list and the ends of the days shown.
#include <gtest/gtest.h>

#include <QStringList>
#include <random>

#include "support/program_text.h"
#include "support/qstring_printer.h"

#include "app/calendar_month.h"
#include "calendar/calendar_table.h"
#include "calendar/names.h"

namespace daybridge {
namespace {

class CalendarMonthTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(testing::LoadShippedTexts()); }
};

CalendarMonthGrid GridOf(CalendarId calendar, std::int64_t year, int place, bool mondayFirst) {
    const std::optional<CalendarMonthGrid> grid =
        BuildCalendarMonthGrid({calendar, year, place}, mondayFirst, kEnglish);
    EXPECT_TRUE(grid.has_value()) << CodeOf(calendar).toStdString() << " " << year << "/" << place;
    return grid.value_or(CalendarMonthGrid{});
}

// Published dates: Tishri 5787 begins Saturday 12 September 2026; 5787 is a leap year (Purim,
// 14 Adar II, on 23 March 2027); the tabular Ramadan 1447 runs 18 February to 19 March 2026;
// Coptic 1742 ends with the five days before Nayrouz, 11 September 2026.
TEST_F(CalendarMonthTest, KnownMonths) {
    struct Case {
        CalendarId calendar;
        std::int64_t year;
        int place;
        const char* title;
        int rows;
    };
    const Case cases[] = {
        {CalendarId::HEB, 5787, 1,
         "Tishri 5787 (Hebrew calendar)\n12 September \u2013 11 October 2026", 5},
        {CalendarId::HEB, 5787, 6, "Adar 5787 (Hebrew calendar)\n8 February \u2013 9 March 2027",
         5},
        {CalendarId::HEB, 5787, 7, "Adar II 5787 (Hebrew calendar)\n10 March \u2013 7 April 2027",
         5},
        {CalendarId::HEB, 5787, 8, "Nisan 5787 (Hebrew calendar)\n8 April \u2013 7 May 2027", 5},
        {CalendarId::ISL, 1447, 9,
         "Ramadan 1447 (Islamic calendar (tabular))\n18 February \u2013 19 March 2026", 5},
        {CalendarId::COP, 1742, 13,
         "Pi Kogi Enavot 1742 (Coptic calendar)\n6 September \u2013 10 September 2026", 2},
        // The leap month after the 11th of 2033 begins on 22 December 2033.
        {CalendarId::CHN, 2033, 12,
         "Dongyue (leap month) 2033 (Chinese calendar)\n22 December 2033 \u2013 19 January 2034",
         5},
        // Julian 1-4 October 1582 (a Monday on), then Gregorian 15-31 October: three weeks.
        {CalendarId::HIS, 1582, 10,
         "October 1582 (Historical Christian calendar (Julian, then Gregorian))\n11 October "
         "\u2013 31 October 1582",
         3},
    };
    for (const Case& c : cases) {
        const CalendarMonthGrid grid = GridOf(c.calendar, c.year, c.place, true);
        EXPECT_EQ(grid.title,
                  QString::fromUtf8(c.title) + QStringLiteral(" (Common Era Calendar)"));
        EXPECT_EQ(grid.weekRowCount, c.rows) << c.title;
        EXPECT_EQ(grid.text.count(u'\n'), c.rows) << c.title;
    }
    // Saturday 12 September in the 6th column of Monday-first weeks, the 7th of Sunday-first.
    const QStringList monday = GridOf(CalendarId::HEB, 5787, 1, true).text.split(u'\n');
    EXPECT_EQ(monday[0], QStringLiteral(" Mon         Tue         Wed         Thu         Fri"
                                        "         Sat         Sun"));
    EXPECT_EQ(monday[1], QString(61, u' ') + QStringLiteral("  1 (12 Sep)  2 (13 Sep)"));
    EXPECT_TRUE(monday[5].startsWith(QStringLiteral("  24 (5 Oct)  25 (6 Oct)")));
    EXPECT_TRUE(monday[5].endsWith(QStringLiteral(" 30 (11 Oct)")));
    EXPECT_TRUE(GridOf(CalendarId::HIS, 1582, 10, true)
                    .text.split(u'\n')[1]
                    .endsWith(QStringLiteral("  4 (14 Oct) 15 (15 Oct) 16 (16 Oct) 17 (17 Oct)")));
    const QStringList sunday = GridOf(CalendarId::HEB, 5787, 1, false).text.split(u'\n');
    EXPECT_EQ(sunday[1], QString(73, u' ') + QStringLiteral("  1 (12 Sep)"));
}

TEST_F(CalendarMonthTest, MonthListsFollowTheYear) {
    const QStringList leap = MonthNamesOfYear(CalendarId::HEB, 5787, kEnglish);
    ASSERT_EQ(leap.size(), 13);
    EXPECT_EQ(leap[0], QStringLiteral("Tishri"));
    EXPECT_EQ(leap[5], QStringLiteral("Adar"));
    EXPECT_EQ(leap[6], QStringLiteral("Adar II"));
    EXPECT_EQ(leap[12], QStringLiteral("Elul"));
    EXPECT_EQ(MonthNamesOfYear(CalendarId::HEB, 5786, kEnglish).size(), 12);
    EXPECT_EQ(MonthNamesOfYear(CalendarId::HEB, 5786, kGerman)[0], QStringLiteral("Tischri"));
    EXPECT_EQ(MonthNamesOfYear(CalendarId::COP, 1742, kEnglish).size(), 13);
}

// The days shown end where the calendar's span or JDN +-2,100,000,000 ends; a month cut there
// is not shown, and stepping stops before it.
TEST_F(CalendarMonthTest, EndsOfTheDaysShown) {
    struct Case {
        CalendarId calendar;
        std::int64_t year;
        int place;
        bool shown;
    };
    const Case cases[] = {
        {CalendarId::UQ, 1299, 12, false}, {CalendarId::UQ, 1300, 1, true},
        {CalendarId::UQ, 1600, 12, true},  {CalendarId::UQ, 1601, 1, false},
        {CalendarId::HEB, 5787, 13, true}, {CalendarId::HEB, 5786, 13, false},
        {CalendarId::HEB, 5787, 0, false}, {CalendarId::ISL, 5'930'000, 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DaysOfMonth({c.calendar, c.year, c.place}).has_value(), c.shown)
            << CodeOf(c.calendar).toStdString() << " " << c.year << "/" << c.place;
    }
    EXPECT_EQ(ShownYearsOf(CalendarId::UQ).first, 1300);
    EXPECT_EQ(ShownYearsOf(CalendarId::UQ).last, 1600);
    EXPECT_FALSE(NextMonth({CalendarId::UQ, 1600, 12}, true).has_value());
    EXPECT_FALSE(NextMonth({CalendarId::UQ, 1300, 1}, false).has_value());
    EXPECT_TRUE(MonthNamesOfYear(CalendarId::UQ, 1601, kEnglish).isEmpty());
    const ShownYears hebrew = ShownYearsOf(CalendarId::HEB);
    EXPECT_FALSE(DaysOfMonth({CalendarId::HEB, hebrew.last + 1, 1}).has_value());
    EXPECT_FALSE(DaysOfMonth({CalendarId::HEB, hebrew.first - 1, 12}).has_value());
}

// Reads a cell "  1 (12 Sep)": the day of the month, the CE day and month; nothing if blank.
struct Cell {
    int day = 0, ceDay = 0, ceMonth = 0;
};
std::optional<Cell> ReadCell(const QString& text) {
    if (text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    const QStringList parts = QString(text).remove(u'(').remove(u')').simplified().split(u' ');
    Cell cell{};
    if (parts.size() != 3) {
        return cell;  // day 0: no day of any month
    }
    cell.day = parts[0].toInt();
    cell.ceDay = parts[1].toInt();
    for (int m = 1; m <= 12; ++m) {
        if (MonthNameIn(m, kEnglish).left(3) == parts[2]) {
            cell.ceMonth = m;
        }
    }
    return cell;
}

// Random months of every calendar with months: every cell's day, taken back through the
// calendar's own conversion, and its CE date, taken back through the CE one, name the day the
// cell stands for; the month's days fill the cells from its weekday on; stepping a month forward
// and back returns to it.
TEST_F(CalendarMonthTest, EveryCellRoundTrips) {
    std::mt19937_64 random(20261208);
    for (const CalendarId calendar : MonthCalendars()) {
        const CalendarEntry& entry = Calendar(calendar);
        // Beyond the ends by more than a month, where no month is cut.
        std::uniform_int_distribution<std::int64_t> days(
            std::max<std::int64_t>(entry.firstJdn + 40, -2'099'990'000),
            std::min<std::int64_t>(entry.lastJdn - 40, 2'099'990'000));
        for (int i = 0; i < 60; ++i) {
            const std::int64_t jdn = i == 0 ? 2461296 : days(random);  // 12 September 2026
            const CalendarMonth month = MonthOfDay(calendar, jdn);
            const std::optional<MonthDays> span = DaysOfMonth(month);
            ASSERT_TRUE(span.has_value()) << CodeOf(calendar).toStdString() << " " << jdn;
            ASSERT_LE(span->first, jdn);
            ASSERT_GE(span->last, jdn);
            const bool mondayFirst = i % 2 == 0;
            const CalendarMonthGrid grid = GridOf(calendar, month.year, month.place, mondayFirst);
            ASSERT_EQ(DayOfWeek(static_cast<std::int32_t>(grid.weekStartJdn)), mondayFirst ? 1 : 0);
            const QStringList lines = grid.text.split(u'\n');
            ASSERT_EQ(lines.size(), grid.weekRowCount + 1);
            CalendarDate date = FromJdn(calendar, span->first);
            std::int64_t cells = 0;
            for (int row = 0; row < grid.weekRowCount; ++row) {
                for (int column = 0; column < 7; ++column) {
                    const std::int64_t day = grid.weekStartJdn + 7 * row + column;
                    const std::optional<Cell> cell = ReadCell(
                        lines[row + 1].mid(1 + kCalendarCellWidth * column, kCalendarCellWidth));
                    ASSERT_EQ(cell.has_value(), day >= span->first && day <= span->last)
                        << lines[row + 1].toStdString();
                    if (!cell) {
                        continue;
                    }
                    ++cells;
                    date.day = cell->day;
                    ASSERT_EQ(ToJdn(date), day) << CodeOf(calendar).toStdString() << " " << day;
                    const std::int32_t ceYear = CivilOfJdn(static_cast<std::int32_t>(day)).year;
                    ASSERT_EQ(JdnOfCivil(ceYear, cell->ceMonth, cell->ceDay), day);
                }
            }
            ASSERT_EQ(cells, span->last - span->first + 1);
            ASSERT_EQ(MonthNamesOfYear(calendar, month.year, kEnglish).size(),
                      entry.monthsInYear(month.year));
            const std::optional<CalendarMonth> next = NextMonth(month, true);
            if (next) {
                ASSERT_EQ(DaysOfMonth(*next)->first, span->last + 1);
                const std::optional<CalendarMonth> back = NextMonth(*next, false);
                ASSERT_TRUE(back && back->year == month.year && back->place == month.place);
            }
        }
    }
}

}  // namespace
}  // namespace daybridge
