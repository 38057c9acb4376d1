// What the calendars' entries share: the checks of a month and a day, and the conversion of
// jdcore's year-month-day value.
#pragma once

#include <cstdint>
#include <limits>

#include "calendar/calendars/calendar_entries.h"
#include "jdcore/day_count.h"

namespace daybridge::calendars {

inline CalendarDate YearMonthDayDate(const jdcore::YearMonthDay& d) {
    return {.month = d.month, .year = d.year, .day = d.day};
}

// Month 1..months, then day 1..the days of that month (by `daysInMonth`, which is asked only
// for a month the year has).
template <typename DaysInMonth>
jdcore::DateCheck CheckMonthAndDay(const CalendarDate& date, int months, DaysInMonth daysInMonth) {
    if (date.month < 1 || date.month > months) {
        return {jdcore::DateProblem::MonthOutOfRange, months};
    }
    const int days = daysInMonth(date);
    if (date.day < 1 || date.day > days) {
        return {jdcore::DateProblem::DayOutOfRange, days};
    }
    return {};
}

// The first and last day a 32-bit day number holds.
inline constexpr std::int64_t kFirstInt32 = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int64_t kLastInt32 = std::numeric_limits<std::int32_t>::max();

}  // namespace daybridge::calendars
