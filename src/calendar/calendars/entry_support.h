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

// The days and years a calendar has (by default those of the registry's whole range).
struct Span {
    std::int64_t firstJdn = -2'100'000'000;
    std::int64_t lastJdn = 2'100'000'000;
    std::int64_t firstYear = -5'800'000;
    std::int64_t lastYear = 5'800'000;
};

// The entry of a year-month-day calendar whose dates are written year first: `C` gives its
// conversions (Date, Jdn, Check, Months, MonthDays, Leap). Years and months are added in its
// own months; Page Up/Down steps them.
template <typename C>
constexpr CalendarEntry MonthlyEntry(CalendarId id, const char* code, int nameText,
                                     MonthNames monthNames, Span span = {}) {
    return {
        .id = id,
        .code = code,
        .libraryLetter = "",
        .fields = FieldKind::YearMonthDay,
        .notation = Notation::YearMonthDay,
        .fromJdn = C::Date,
        .toJdn = C::Jdn,
        .check = C::Check,
        .monthsInYear = C::Months,
        .daysInMonth = C::MonthDays,
        .isLeapYear = C::Leap,
        .firstJdn = span.firstJdn,
        .lastJdn = span.lastJdn,
        .minYear = span.firstYear,
        .maxYear = span.lastYear,
        .unitMonths = id,
        .nameText = nameText,
        .monthNames = monthNames,
        .todaySlot = kTodayAfter,
        .pageMonthsIn = id,
    };
}
// Month names as texts of the text data file: `months` of them from `firstText`.
constexpr MonthNames MonthTexts(int firstText, int months) {
    return {.firstText = firstText, .textCount = months};
}

// The first and last day a 32-bit day number holds.
inline constexpr std::int64_t kFirstInt32 = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int64_t kLastInt32 = std::numeric_limits<std::int32_t>::max();

}  // namespace daybridge::calendars
