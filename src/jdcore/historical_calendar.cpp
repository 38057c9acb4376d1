// Julian, then Gregorian from a switch day (see historical_calendar.h).
#include "jdcore/historical_calendar.h"

#include <algorithm>

namespace jdcore {

namespace {

// Years far beyond the 32-bit day range are taken as the last one: no overflow below.
inline constexpr std::int64_t kMaxYear = 1'000'000'000;

std::int64_t Reform(std::int64_t reform) {
    return std::max(reform, kEarliestReform);
}

// The first day of a month that exists: its Gregorian first day on or after the switch, its
// Julian first day before it, or else the switch itself (the month's first days were skipped).
std::int64_t FirstDayOfMonth(std::int64_t year, std::int64_t month, std::int64_t reform) {
    normalise_month(year, month, 12);
    const std::int64_t gregorian = jdn_from_gregorian(year, month, 1);
    if (gregorian >= reform) {
        return gregorian;
    }
    return std::min(jdn_from_julian(year, month, 1), reform);
}

}  // namespace

DateCheck CheckHistoricalDate(std::int64_t year, int month, int day, std::int64_t reform) {
    reform = Reform(reform);
    if (year < -kMaxYear || year > kMaxYear) {
        return {DateProblem::OutOfSpan, year < 0 ? -kMaxYear : kMaxYear};
    }
    if (month < 1 || month > 12) {
        return {DateProblem::MonthOutOfRange, 12};
    }
    const int gregorianDays = month_length(month, gregorian_leap(year));
    const int julianDays = month_length(month, julian_leap(year));
    if (day >= 1 && day <= gregorianDays && jdn_from_gregorian(year, month, day) >= reform) {
        return {};
    }
    if (day >= 1 && day <= julianDays && jdn_from_julian(year, month, day) < reform) {
        return {};
    }
    // Out of the month, by the calendar its first day follows; else skipped at the switch.
    const int days = jdn_from_gregorian(year, month, 1) >= reform ? gregorianDays : julianDays;
    if (day < 1 || day > days) {
        return {DateProblem::DayOutOfRange, days};
    }
    return {DateProblem::InSwitchGap, gregorian_from_jdn(reform).day};
}

int HistoricalDaysInMonth(std::int64_t year, int month, std::int64_t reform) {
    if (month < 1 || month > 12 || year < -kMaxYear || year > kMaxYear) {
        return 0;
    }
    reform = Reform(reform);
    return static_cast<int>(FirstDayOfMonth(year, month + 1, reform) -
                            FirstDayOfMonth(year, month, reform));
}

int HistoricalDaysInYear(std::int64_t year, std::int64_t reform) {
    if (year < -kMaxYear || year > kMaxYear) {
        return 0;
    }
    reform = Reform(reform);
    return static_cast<int>(FirstDayOfMonth(year + 1, 1, reform) -
                            FirstDayOfMonth(year, 1, reform));
}

bool HistoricalIsLeapYear(std::int64_t year, std::int64_t reform) {
    return CheckHistoricalDate(year, 2, 29, reform).ok();
}

}  // namespace jdcore
