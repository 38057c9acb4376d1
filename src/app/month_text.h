// The text of the month display: a month of the Gregorian or Julian calendar as a grid of
// weeks, the ISO, LPW or LPM dates of the same weeks, and the text copied to the clipboard.
// Lines are separated by "\n".
#pragma once

#include <QString>
#include <cstdint>

#include "app/app_state.h"

namespace daybridge {

// The year typed into the month display: an optional sign ("+", "-" or U+2212) and digits, with
// blanks anywhere and `thousandsSeparator` between digits. Any other character makes it
// NotANumber rather than being dropped, so a mistyped "2O12" is not read as 212.
struct MonthYear {
    enum Status { Ok, Empty, NotANumber, OutOfRange };
    Status status = Empty;
    std::int32_t year = 0;
};
MonthYear ReadMonthYear(const QString& text, const QString& thousandsSeparator);

struct MonthGrid {
    QString text;                   // header and the week rows
    std::int32_t weekStartJdn = 0;  // first cell of the grid
    int weekRowCount = 0;           // 1..6
};

// The grid of `month` (1..12) of `year` (|year| <= kMaxYearMagnitude) in the Julian calendar
// or the Gregorian one, weeks starting on Monday or Sunday. Day names in `language`.
MonthGrid BuildMonthGrid(std::int32_t year, int month, bool julian, bool mondayFirst,
                         Language language);

// The added dates for the rows of a grid whose weeks start on Monday at `weekStartJdn`.
QString BuildAddedDates(std::int32_t weekStartJdn, int weekRowCount, MonthAddedDates kind,
                        bool withYear, Language language, const QLocale& regional);

// The holidays of `month` of `year` in the working-day calendar's set: a line for each day that
// has any, "25  Christmas Day" (several names joined by "; "); empty without a holiday set.
QString BuildMonthHolidays(std::int32_t year, int month, bool julian,
                           const WorkdayCalendar& workdays);

// The clipboard text: heading, grid and, when `addedDates` is not empty, the added-dates title
// (text 13) and the added dates; then the month's holidays when there are any.
QString BuildMonthClipboardText(int month, const QString& yearText, bool julian, Language language,
                                const QString& grid, const QString& addedDatesTitle,
                                const QString& addedDates, const QString& holidays = {});

}  // namespace daybridge
