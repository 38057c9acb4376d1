// The texts a result is shown with: a date's canonical text in its calendar and the breakdown
// of a difference into calendar units (years, months and days for CE and JC; years, weeks and
// days for ISO; years and days for ORD).
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "app/app_state.h"
#include "calendar/calendar_table.h"

namespace daybridge {

// A difference in calendar units. status: 0 good, -1 the dates are in the wrong order, or the
// status of the calendar library's day count.
struct DifferenceParts {
    std::int32_t years = 0;
    std::int16_t monthsOrWeeks = 0;
    std::int16_t days = 0;
    std::int32_t status = 0;
};

// The canonical text of a JDN in a calendar with the settings in force (date order, separators,
// hyphen); empty when the JDN cannot be written in that calendar (ORD outside years 1..9999).
QString CanonicalDateText(const AppState& state, CalendarId calendar, std::int32_t jdn);

// Date records ('G' or 'J'; 'A' counts 10 months a year), the earlier date first. A day borrow
// that leaves the days negative borrows once more from the month before, so no part is negative.
DifferenceParts DifferenceInYearsMonthsDays(const DateRecord& first, const DateRecord& second);
// ISO week records, the earlier date first.
DifferenceParts DifferenceInYearsWeeksDays(const IsoWeekRecord& first, const IsoWeekRecord& second);
// Ordinal dates as CE date records, the earlier date first.
DifferenceParts DifferenceInYearsDays(const DateRecord& first, const DateRecord& second);

// Days of the record's month and year, in the record's own calendar ('J' Julian, 'A' Annus
// Novus, anything else Gregorian).
std::int16_t DaysInMonth(const DateRecord& record);
std::int16_t DaysInYear(const DateRecord& record);

// The breakdown of the span from `firstJdn` to `secondJdn` (first <= second) in `calendar`,
// by its registry entry's breakdown (years, months and days for CE and JC; years, weeks and
// days for ISO; years and days for ORD) as "1 year, 2 months, 3 days", zero parts left out;
// empty for a calendar without one, a wrong order or nothing to show. Unit words are lower
// case except in German.
QString BreakdownText(CalendarId calendar, std::int32_t firstJdn, std::int32_t secondJdn,
                      Language language);
// The same in two steps: the parts (nothing for a calendar without a breakdown, a wrong order
// or dates its records cannot hold), and their text.
std::optional<DifferenceParts> BreakdownOf(CalendarId calendar, std::int32_t firstJdn,
                                           std::int32_t secondJdn);
QString BreakdownText(CalendarId calendar, const DifferenceParts& parts, Language language);

// What a result says when weekend days are not counted: "not counting weekend days" for
// Saturday and Sunday without holidays (as always); otherwise it names the weekend days when
// they are not Saturday and Sunday and the holiday set, e.g. "not counting weekend days and
// holidays (germany)", "not counting weekend days (Fri, Sat)".
QString WorkdayQualifier(const WorkdayCalendar& workdays, Language language);
// A holiday set as the qualifier names it: a shipped set by its name, a file by its file name.
QString HolidaySetDisplayName(const HolidaySet& set);

}  // namespace daybridge
