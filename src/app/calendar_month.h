// The month display's month of a calendar other than its own two: a month of any calendar whose
// dates are year, month and day, as a grid of weeks whose cells give the day of that month and
// the CE date beside it, as printed Hebrew and Gregorian calendars do. Months are counted by
// their place in the year (calendar/calendar_registry.h: MonthArithmetic), so a Hebrew leap
// year's Adar II or a lunisolar leap month is one more place. Lines are separated by "\n".
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "calendar/calendar_registry.h"
#include "text/language.h"

namespace daybridge {

class WorkdayCalendar;

// Texts of dbrg_text.dat.
inline constexpr int kTextOtherCalendar = 620;  // the display's choice of another calendar
inline constexpr int kTextYearsShown = 621;     // %1 calendar, %2 and %3 the years shown
inline constexpr int kTextLeapMonth = 622;      // %1 the name of the month it repeats

// A month of a calendar by its place in the year: 1 is the year's first month.
struct CalendarMonth {
    CalendarId calendar = kDefaultCalendar;
    std::int64_t year = 0;
    int place = 1;
};

// The calendars whose dates are year, month and day, in registry order.
std::vector<CalendarId> MonthCalendars();

// The names of the months of `year` in the order of the year, in `language`: the registry's
// month names, the month's number where the calendar names none, a leap month marked as such.
// Empty for a year beyond the calendar's years.
QStringList MonthNamesOfYear(CalendarId calendar, std::int64_t year, Language language);

// The years of the calendar that the display shows months of, whole or in part: the days of the
// calendar's span within JDN +-2,100,000,000.
struct ShownYears {
    std::int64_t first = 0;
    std::int64_t last = 0;
};
ShownYears ShownYearsOf(CalendarId calendar);

// The first and last day of a month; nothing for a month its year has not or one with a day
// beyond the days shown.
struct MonthDays {
    std::int64_t first = 0;
    std::int64_t last = 0;
};
std::optional<MonthDays> DaysOfMonth(const CalendarMonth& month);

// The month holding a day of the calendar's span.
CalendarMonth MonthOfDay(CalendarId calendar, std::int64_t jdn);
// The month after (`forward`) or before a shown month; nothing beyond the days shown.
std::optional<CalendarMonth> NextMonth(const CalendarMonth& month, bool forward);

struct CalendarMonthGrid {
    QString title;  // "Tishri 5787 (Hebrew calendar)" and the CE days it covers
    QString text;   // header and the week rows
    MonthDays days;
    std::int64_t weekStartJdn = 0;  // first cell of the grid
    int weekRowCount = 0;
};

// A cell: the day of the month right-aligned in 3, then the CE day and month: "  1 (12 Sep)",
// " 24 (5 Oct)  ".
inline constexpr int kCalendarCellWidth = 12;

// The grid of a month shown (DaysOfMonth gives it), weeks starting on Monday or Sunday; cells
// outside the month are blank. Nothing for a month not shown.
std::optional<CalendarMonthGrid> BuildCalendarMonthGrid(const CalendarMonth& month,
                                                        bool mondayFirst, Language language);

// The holidays of the working-day calendar's set on the days of a month: a line for each day
// that has any, its cell text then the names ("  1 (12 Sep)  Name; Name"); empty without a set.
QString BuildCalendarMonthHolidays(CalendarId calendar, const MonthDays& days, Language language,
                                   const WorkdayCalendar& workdays);

// The clipboard text: title, grid, then the holidays when there are any.
QString BuildCalendarMonthClipboardText(const CalendarMonthGrid& grid, const QString& holidays);

}  // namespace daybridge
