// The month display's text: week grids, the added ISO / LPW / LPM dates and the copied text.
#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

#include "support/qstring_printer.h"

#include "app/month_text.h"
#include "calendar/calendar_table.h"

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
        // Blanks, the thousands separator between digits and U+2212 are read; any other
        // character refuses the year instead of being dropped.
        {"2 015", MonthYear::Ok, 2015},
        {"2.015", MonthYear::Ok, 2015, "."},
        {"\u2212"
         "44",
         MonthYear::Ok, -44},
        {"2,015", MonthYear::NotANumber, 0, ""},
    };
    for (const YearCase& c : cases) {
        const MonthYear read =
            ReadMonthYear(QString::fromUtf8(c.text), QString::fromUtf8(c.thousands));
        EXPECT_EQ(read.status, c.status) << c.text;
        if (c.status == MonthYear::Ok) {
            EXPECT_EQ(read.year, c.year) << c.text;
        }
    }
    for (const char* text : {"abc", "-", "+-12", "2O12", "2.015", "2015-", "20,", "(44)"}) {
        EXPECT_EQ(ReadMonthYear(QString::fromLatin1(text), QStringLiteral(",")).status,
                  MonthYear::NotANumber)
            << text;
    }
}

// Lines of the added dates under a month's grid (Monday first) by how they start; line -1 is
// the last. Monday 31 December 2012 is 2013-W01-1, Monday 28 December 2015 is 2015-W53-1. Year 1
// of the leap week calendar starts on Monday 25 December of year 0, so Monday 1 January 1 is in
// its week 2, the 8th of its month 1; without the year the month keeps both of its digits.
TEST(AddedDates, IsoAndLeapWeekForms) {
    using enum MonthAddedDates;
    struct Case {
        int year, month;
        MonthAddedDates kind;
        bool withYear;
        int line;
        const char* start;
    };
    const Case cases[] = {
        {2015, 2, ISO, true, 0,
         "Monday    Tuesday   Wednesday Thursday  Friday    Saturday  Sunday"},
        {2015, 2, ISO, true, 1,
         "5-W05-1   5-W05-2   5-W05-3   5-W05-4   5-W05-5   5-W05-6   5-W05-7"},
        {2015, 2, ISO, true, -1, "5-W09-1   5-W09-2"},
        {2015, 2, ISO, false, 0, " Mon    Tue    Wed    Thu    Fri    Sat    Sun"},
        {2015, 2, ISO, false, 1, "W05-1  W05-2  W05-3  W05-4  W05-5  W05-6  W05-7"},
        {2012, 12, ISO, true, 1, "2-W48-1"},
        {2012, 12, ISO, true, -1, "3-W01-1"},
        {2016, 1, ISO, false, 1, "W53-1  W53-2"},
        {1, 1, LPW, true, 1, "1-02-1    1-02-2    1-02-3    1-02-4    1-02-5    1-02-6    1-02-7"},
        {1, 1, LPW, false, 2, "03-1   03-2   03-3   03-4   03-5   03-6   03-7"},
        {1, 1, LPM, true, 1, "1-01-08   1-01-09   1-01-10   1-01-11   1-01-12   1-01-13   1-01-14"},
        {1, 1, LPM, false, 2, "01-15  01-16  01-17  01-18  01-19  01-20  01-21"}};
    for (const Case& c : cases) {
        const MonthGrid grid = BuildMonthGrid(c.year, c.month, false, true, kEnglish);
        const QStringList lines = Lines(BuildAddedDates(
            grid.weekStartJdn, grid.weekRowCount, c.kind, c.withYear, kEnglish, QLocale::c()));
        ASSERT_EQ(lines.size(), grid.weekRowCount + 1);
        const QString& line = lines[c.line < 0 ? lines.size() - 1 : c.line];
        EXPECT_TRUE(line.startsWith(QString::fromLatin1(c.start)))
            << c.year << "-" << c.month << ": " << line.toStdString();
    }
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

// German day names: the grid's, and the added dates' header, which keeps Donnerstag whole.
TEST(MonthGrid, GermanDayNames) {
    EXPECT_EQ(Lines(BuildMonthGrid(2015, 2, false, false, kGerman).text)[0],
              QStringLiteral(" Son  Mon  Die  Mit  Don  Fre  Sam "));
    EXPECT_EQ(
        Lines(BuildAddedDates(2457049, 1, MonthAddedDates::ISO, true, kGerman, QLocale::c()))[0],
        QStringLiteral("Montag    Dienstag  Mittwoch Donnerstag Freitag   Samstag   Sonntag"));
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
