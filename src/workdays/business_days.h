// The conventions finance and payroll use to move a date onto a working day, and the working
// days of a month or year, on top of a working-day calendar. Day numbers are JDNs; a result
// that does not exist is WorkdayCalendar::kNoDate.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "workdays/workday_calendar.h"

namespace daybridge {

// As numpy's busday_offset names its `roll=` choices. The modified conventions keep the date in
// its (Gregorian) month: when the roll would leave it, they roll the other way instead. A month
// is a month of a year: numpy compares the month of the year alone, which differs only when no
// working day lies within a year of the day.
enum class Roll : std::uint8_t { Following, Preceding, ModifiedFollowing, ModifiedPreceding };

// FOLLOWING, PRECEDING, MODFOLLOWING, MODPRECEDING (upper case, as the batch language has them).
std::optional<Roll> RollNamed(std::string_view upperName);

// The day itself when it is a working day, else the nearest working day the convention chooses.
std::int64_t Rolled(const WorkdayCalendar& workdays, std::int64_t jdn, Roll roll);

// The first working day after the day, and the last before it.
std::int64_t NextWorkday(const WorkdayCalendar& workdays, std::int64_t jdn);
std::int64_t PreviousWorkday(const WorkdayCalendar& workdays, std::int64_t jdn);

// The n-th working day of a Gregorian month (month 1..12), counted from its end when n is
// negative (-1 the last); kNoDate when the month has fewer than |n| or n is 0.
std::int64_t NthWorkdayOfMonth(const WorkdayCalendar& workdays, std::int64_t year, int month,
                               std::int64_t n);

// The working days of a Gregorian month, and of a Gregorian year.
std::int64_t WorkdaysInMonth(const WorkdayCalendar& workdays, std::int64_t year, int month);
std::int64_t WorkdaysInYear(const WorkdayCalendar& workdays, std::int64_t year);

}  // namespace daybridge
