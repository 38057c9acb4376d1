// The month display's text: week grids, the added ISO / LPW / LPM dates and the copied text.
#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

#include "app/month_text.h"
#include "calendar/calendar_table.h"

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace daybridge {
namespace {

const QString kMondayHeader = QStringLiteral(" Mon  Tue  Wed  Thu  Fri  Sat  Sun ");
const QString kSundayHeader = QStringLiteral(" Sun  Mon  Tue  Wed  Thu  Fri  Sat ");

QStringList Lines(const QString& text) {
    return text.split(u'\n');
}

// A grid row as the display writes it: a blank, then five characters per day.
QString Row(const std::vector<int>& days) {
    QString row = QStringLiteral(" ");
    for (int day : days) {
        row += QString::number(day).rightJustified(3, u' ') + QStringLiteral("  ");
    }
    return row;
}

// Every month of some years, both calendars and both first days, against the rule the grid
// follows: rows from the week of the 1st to the week of the last day, each cell the day of the
// month in the shown calendar.
TEST(MonthGrid, MonthsAgainstTheirCalendar) {
    EXPECT_EQ(Row({2, 3, 4, 5, 6, 7, 18}), QStringLiteral("   2    3    4    5    6    7   18  "));
    for (int year : {-kMaxYearMagnitude, -1, 0, 1900, 2012, 2013, 2015, 2016, kMaxYearMagnitude}) {
        for (int month = 1; month <= 12; ++month) {
            for (bool julian : {false, true}) {
                for (bool mondayFirst : {false, true}) {
                    const char letter = julian ? 'J' : 'G';
                    const std::int32_t first = JdnOfCivil(year, month, 1, letter);
                    const std::int32_t last = JdnOfCivil(year, month + 1, 1, letter) - 1;
                    const std::int32_t start = first - (DayOfWeek(first) + 7 - mondayFirst) % 7;
                    const int rows = (last - start) / 7 + 1;
                    QString text = mondayFirst ? kMondayHeader : kSundayHeader;
                    for (std::int32_t week = start; week <= last; week += 7) {
                        std::vector<int> days;
                        for (std::int32_t jdn = week; jdn < week + 7; ++jdn) {
                            days.push_back(CivilOfJdn(jdn, letter).day);
                        }
                        text += u'\n' + Row(days);
                    }
                    const MonthGrid grid =
                        BuildMonthGrid(year, month, julian, mondayFirst, kEnglish);
                    ASSERT_EQ(grid.text, text) << year << "-" << month << " " << letter;
                    ASSERT_EQ(grid.weekRowCount, rows);
                    ASSERT_EQ(grid.weekStartJdn, start);
                }
            }
        }
    }
}

TEST(MonthGrid, GermanDayNames) {
    const QStringList lines = Lines(BuildMonthGrid(2015, 2, false, false, kGerman).text);
    EXPECT_EQ(lines[0], QStringLiteral(" Son  Mon  Die  Mit  Don  Fre  Sam "));
}

struct YearCase {
    const char* text;
    MonthYear::Status status;
    std::int32_t year;
    const char* thousands = ",";
};

TEST(MonthYearText, CleanedAndChecked) {
    const YearCase cases[] = {
        {"2015", MonthYear::Ok, 2015},
        {"  2015 ", MonthYear::Ok, 2015},
        {"2,015", MonthYear::Ok, 2015},
        {"-44", MonthYear::Ok, -44},
        {"0", MonthYear::Ok, 0},
        {"5800000", MonthYear::Ok, 5800000},
        {"5800001", MonthYear::OutOfRange, 0},
        {"99999999999999999999999999", MonthYear::OutOfRange, 0},
        {"", MonthYear::Empty, 0},
        {"   ", MonthYear::Empty, 0},
        {"abc", MonthYear::NotANumber, 0},
        {"-", MonthYear::NotANumber, 0},
        {"+-12", MonthYear::NotANumber, 0},
        // Blanks, the thousands separator between digits and U+2212 are read; any other
        // character refuses the year instead of being dropped.
        {"2 015", MonthYear::Ok, 2015},
        {"2.015", MonthYear::Ok, 2015, "."},
        {"\u2212"
         "44",
         MonthYear::Ok, -44},
        {"2O12", MonthYear::NotANumber, 0},
        {"2.015", MonthYear::NotANumber, 0},
        {"2,015", MonthYear::NotANumber, 0, ""},
        {"2015-", MonthYear::NotANumber, 0},
        {"20,", MonthYear::NotANumber, 0},
        {"(44)", MonthYear::NotANumber, 0},
    };
    for (const YearCase& c : cases) {
        const MonthYear read =
            ReadMonthYear(QString::fromUtf8(c.text), QString::fromUtf8(c.thousands));
        EXPECT_EQ(read.status, c.status) << c.text;
        if (c.status == MonthYear::Ok) {
            EXPECT_EQ(read.year, c.year) << c.text;
        }
    }
}

TEST(AddedDates, IsoWithAndWithoutYear) {
    // February 2015, Monday first: the rows start on 26 January (2015-W05-1) .. 23 February.
    const MonthGrid grid = BuildMonthGrid(2015, 2, false, true, kEnglish);
    const QLocale c = QLocale::c();
    QStringList withYear = Lines(BuildAddedDates(grid.weekStartJdn, grid.weekRowCount,
                                                 MonthAddedDates::ISO, true, kEnglish, c));
    ASSERT_EQ(withYear.size(), 6);
    EXPECT_EQ(withYear[0],
              QStringLiteral("Monday    Tuesday   Wednesday Thursday  Friday    Saturday  Sunday"));
    EXPECT_EQ(withYear[1], QStringLiteral("5-W05-1   5-W05-2   5-W05-3   5-W05-4   5-W05-5   "
                                          "5-W05-6   5-W05-7"));
    EXPECT_TRUE(withYear[5].startsWith(QStringLiteral("5-W09-1   5-W09-2")));

    QStringList without = Lines(BuildAddedDates(grid.weekStartJdn, grid.weekRowCount,
                                                MonthAddedDates::ISO, false, kEnglish, c));
    EXPECT_EQ(without[0], QStringLiteral(" Mon    Tue    Wed    Thu    Fri    Sat    Sun"));
    EXPECT_EQ(without[1], QStringLiteral("W05-1  W05-2  W05-3  W05-4  W05-5  W05-6  W05-7"));
}

TEST(AddedDates, IsoWeeksAcrossYearEnds) {
    const QLocale c = QLocale::c();
    // Monday 31 December 2012 is 2013-W01-1.
    const MonthGrid december = BuildMonthGrid(2012, 12, false, true, kEnglish);
    const QStringList lines = Lines(BuildAddedDates(december.weekStartJdn, december.weekRowCount,
                                                    MonthAddedDates::ISO, true, kEnglish, c));
    EXPECT_TRUE(lines.back().startsWith(QStringLiteral("3-W01-1"))) << lines.back().toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2-W48-1")));
    // Monday 28 December 2015 is 2015-W53-1.
    const MonthGrid january = BuildMonthGrid(2016, 1, false, true, kEnglish);
    const QStringList first = Lines(BuildAddedDates(january.weekStartJdn, january.weekRowCount,
                                                    MonthAddedDates::ISO, false, kEnglish, c));
    EXPECT_TRUE(first[1].startsWith(QStringLiteral("W53-1  W53-2"))) << first[1].toStdString();
}

TEST(AddedDates, LeapWeekFormsOfYearOne) {
    // Year 1 of the leap week calendar starts on Monday 25 December of year 0 (JDN 1721419), so
    // Monday 1 January 1 is in its week 2; in the month form that is the 8th of month 1.
    const MonthGrid grid = BuildMonthGrid(1, 1, false, true, kEnglish);
    ASSERT_EQ(grid.weekStartJdn, 1721426);
    const QLocale c = QLocale::c();
    const QStringList lpw =
        Lines(BuildAddedDates(grid.weekStartJdn, 2, MonthAddedDates::LPW, true, kEnglish, c));
    EXPECT_EQ(lpw[1], QStringLiteral("1-02-1    1-02-2    1-02-3    1-02-4    1-02-5    1-02-6    "
                                     "1-02-7"));
    const QStringList lpwShort =
        Lines(BuildAddedDates(grid.weekStartJdn, 2, MonthAddedDates::LPW, false, kEnglish, c));
    EXPECT_EQ(lpwShort[2], QStringLiteral("03-1   03-2   03-3   03-4   03-5   03-6   03-7"));
    const QStringList lpm =
        Lines(BuildAddedDates(grid.weekStartJdn, 2, MonthAddedDates::LPM, true, kEnglish, c));
    EXPECT_EQ(lpm[1], QStringLiteral("1-01-08   1-01-09   1-01-10   1-01-11   1-01-12   1-01-13   "
                                     "1-01-14"));
    // Without the year the month keeps both of its digits.
    const QStringList lpmShort =
        Lines(BuildAddedDates(grid.weekStartJdn, 2, MonthAddedDates::LPM, false, kEnglish, c));
    EXPECT_EQ(lpmShort[2], QStringLiteral("01-15  01-16  01-17  01-18  01-19  01-20  01-21"));
}

TEST(AddedDates, EveryCellStandsUnderItsDayName) {
    const QLocale c = QLocale::c();
    for (const MonthAddedDates kind :
         {MonthAddedDates::ISO, MonthAddedDates::LPW, MonthAddedDates::LPM}) {
        for (const bool withYear : {true, false}) {
            const int width = withYear ? 10 : 7;
            const MonthGrid grid = BuildMonthGrid(2026, 12, false, true, kEnglish);
            const QStringList lines = Lines(
                BuildAddedDates(grid.weekStartJdn, grid.weekRowCount, kind, withYear, kEnglish, c));
            ASSERT_EQ(lines.size(), grid.weekRowCount + 1);
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const QString& line = lines[i];
                EXPECT_EQ(line.size(), 6 * width + (withYear                       ? 7
                                                    : kind == MonthAddedDates::LPW ? 4
                                                                                   : 5))
                    << line.toStdString();
                for (int column = 1; column < 7; ++column) {
                    EXPECT_EQ(line[column * width - 1], u' ') << line.toStdString();
                    EXPECT_NE(line[column * width], u' ') << line.toStdString();
                }
            }
        }
    }
}

TEST(AddedDates, GermanHeaderWithYearKeepsDonnerstagWhole) {
    const QString header =
        Lines(BuildAddedDates(2457049, 1, MonthAddedDates::ISO, true, kGerman, QLocale::c()))[0];
    EXPECT_EQ(header, QStringLiteral(
                          "Montag    Dienstag  Mittwoch Donnerstag Freitag   Samstag   Sonntag"));
}

TEST(MonthClipboard, HeadingGridAndAddedDates) {
    const MonthGrid grid = BuildMonthGrid(2015, 2, false, true, kEnglish);
    const QString dates = BuildAddedDates(grid.weekStartJdn, grid.weekRowCount,
                                          MonthAddedDates::ISO, true, kEnglish, QLocale::c());
    const QString title = QStringLiteral("ISO Week dates");
    const QString text = BuildMonthClipboardText(2, QStringLiteral("2015"), false, kEnglish,
                                                 grid.text, title, dates);
    EXPECT_EQ(text, QStringLiteral("February 2015 (Common Era Calendar)\n\n") + grid.text +
                        QStringLiteral("\n\nISO Week dates\n\n") + dates);

    const QString plain =
        BuildMonthClipboardText(2, QStringLiteral("2015"), true, kGerman, grid.text, title, {});
    EXPECT_EQ(plain, QStringLiteral("Februar 2015 (Julianischer Kalender)\n\n") + grid.text);
    EXPECT_FALSE(plain.contains(title));
}

}  // namespace
}  // namespace daybridge
