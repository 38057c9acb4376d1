// Calendar units: adding years and months to a day in a calendar, and counting the whole
// months between two days, as people reckon ("three months from today", "one year and a
// day after").
//
// Years and months move the date's (year, month) in the calendar's own order of months; a
// day the target month does not have becomes the month's last day (31 January + 1 month =
// 28 or 29 February). The day is clamped once, after years and months: 29 February 2024 +
// 1 year 1 month is 29 March 2025. Weeks and days then count as plain days. Calendars
// without months use the CE months; ISO and LPW take years as week-date years keeping week
// and weekday (week 53 becomes week 52 in a year without it). docs/calendars.md
// ("Adding years and months") gives every calendar's rule.
//
// Each calendar's rule is its registry entry's unit policy (calendar/calendar_registry.h): whose
// months it adds in and whether its years are week-years.
//
// Everything is O(1) and exact: closed forms on 64-bit values, never a loop over months or
// years. A result beyond JDN +-2,100,000,000 is reported as out of range, never cut.
#pragma once

#include <cstdint>

#include "calendar/calendar_list.h"

namespace daybridge {

// A unit difference as typed: a sign and the non-negative size of each part.
struct UnitDifference {
    bool negative = false;
    std::int64_t years = 0;
    std::int64_t months = 0;
    std::int64_t weeks = 0;
    std::int64_t days = 0;
    // The parts present in the text (kUnitYears | ...), so that "1y0m" shows both.
    unsigned typed = 0;
};
inline constexpr unsigned kUnitYears = 1;
inline constexpr unsigned kUnitMonths = 2;
inline constexpr unsigned kUnitWeeks = 4;
inline constexpr unsigned kUnitDays = 8;

// Each part's largest size: beyond it no date of the range can reach another one, so a
// larger part is out of range whatever the date (the whole range spans 4.2e9 days; the
// shortest year has 354 days, the shortest average month 28 days).
inline constexpr std::int64_t kMaxUnitYears = 12'000'000;
inline constexpr std::int64_t kMaxUnitMonths = 150'000'000;
inline constexpr std::int64_t kMaxUnitWeeks = 600'000'000;
inline constexpr std::int64_t kMaxUnitDays = 4'200'000'000;

// The largest JDN magnitude a result may have.
inline constexpr std::int64_t kMaxUnitJdn = 2'100'000'000;

enum class UnitOutcome {
    Done,
    OutOfRange,  // the result (or the given day) lies beyond JDN +-2,100,000,000
};

struct UnitResult {
    UnitOutcome outcome = UnitOutcome::OutOfRange;
    std::int64_t jdn = 0;  // set when outcome is Done
};

// Adds `years`, then `months` (signed) to the day `jdn` in a calendar.
UnitResult AddYearsMonths(CalendarId calendar, std::int64_t jdn, std::int64_t years,
                          std::int64_t months);
inline UnitResult AddYears(CalendarId calendar, std::int64_t jdn, std::int64_t years) {
    return AddYearsMonths(calendar, jdn, years, 0);
}
inline UnitResult AddMonths(CalendarId calendar, std::int64_t jdn, std::int64_t months) {
    return AddYearsMonths(calendar, jdn, 0, months);
}

// The difference's years and months, signed; `subtract` reverses the sign (the first date
// found from a second date). The caller then steps the day part (DayPart) from the result,
// by plain days or by working days.
UnitResult AddCalendarPart(CalendarId calendar, std::int64_t jdn, const UnitDifference& difference,
                           bool subtract = false);
// Weeks and days as a signed number of days: 7 weeks + days, with the same sign rule. Parts
// beyond kMaxUnitWeeks or kMaxUnitDays count as those sizes (the parser never gives more;
// AddUnits reports them out of range).
std::int64_t DayPart(const UnitDifference& difference, bool subtract = false);
// The calendar part, then the day part as plain days.
UnitResult AddUnits(CalendarId calendar, std::int64_t jdn, const UnitDifference& difference,
                    bool subtract = false);

// The whole months from `from` to `to` in the calendar's months: the months of the
// years-months-days breakdown plus the months of its years (a month is counted once the
// day of the month is reached, borrowing as the breakdown does); negative when `to` lies
// before `from` (minus the months from `to` to `from`). Both days within the range.
struct MonthsResult {
    UnitOutcome outcome = UnitOutcome::OutOfRange;
    std::int64_t months = 0;  // set when outcome is Done
};
MonthsResult MonthsBetween(CalendarId calendar, std::int64_t from, std::int64_t to);

}  // namespace daybridge
