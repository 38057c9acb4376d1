#include "calendar/calendar_units.h"

#include <algorithm>

#include "calendar/calendar_registry.h"
#include "jdcore/day_count.h"

namespace daybridge {
namespace {

using jdcore::floor_div;
using jdcore::floor_mod;

// Every day of the range lies within this year magnitude in every calendar's months (the
// Islamic year of JDN 2.1e9 is about 5.93 million), and every calendar's arithmetic is exact
// there.
constexpr std::int64_t kMaxFormYear = 6'000'000;
// Larger steps leave the range from any day; refusing them first keeps every product below.
constexpr std::int64_t kMaxYearStep = 1'000'000'000;
constexpr std::int64_t kMaxMonthStep = 100'000'000'000;

// A date with its month given as the place in the order of the year (1 = first month).
struct MonthDate {
    std::int64_t year;
    std::int64_t month;
    std::int64_t day;
};

bool InRange(std::int64_t jdn) {
    return jdn >= -kMaxUnitJdn && jdn <= kMaxUnitJdn;
}

// The months of a calendar whose years all have the same months, numbered in their order
// (asked of a year it has: a calendar of a span of years has no other).
int FixedMonthsPerYear(const CalendarEntry& months) {
    return months.monthsInYear(std::clamp<std::int64_t>(1, months.minYear, months.maxYear));
}

MonthDate DateOf(const CalendarEntry& months, std::int64_t jdn) {
    const CalendarDate date = months.fromJdn(jdn);
    const MonthArithmetic* order = months.monthArithmetic;
    const std::int64_t place =
        order != nullptr ? order->placeOf(date.year, date.month, date.leapMonth) : date.month;
    return {date.year, place, date.day};
}

// The calendar's own date of the month at `place` of `year`, day `day`.
CalendarDate MonthAtPlace(const CalendarEntry& months, std::int64_t year, std::int64_t place,
                          std::int64_t day) {
    CalendarDate date{.calendar = months.id, .year = year, .day = static_cast<std::int32_t>(day)};
    if (months.monthArithmetic != nullptr) {
        months.monthArithmetic->monthAt(year, static_cast<int>(place), date);
    } else {
        date.month = static_cast<std::int32_t>(place);
    }
    return date;
}

// Days in the month at `place` of `year`, |year| <= kMaxFormYear.
std::int64_t MonthLength(const CalendarEntry& months, std::int64_t year, std::int64_t place) {
    return months.daysInMonth(MonthAtPlace(months, year, place, 1));
}

std::int64_t JdnOf(const CalendarEntry& months, const MonthDate& date) {
    return months.toJdn(MonthAtPlace(months, date.year, date.month, date.day));
}

// Months from the first month of year 0 (or the calendar's own origin) to the month at
// `place` of `year`; |year| <= 1.1e9, so every product stays below 2^41.
std::int64_t MonthIndex(const CalendarEntry& months, std::int64_t year, std::int64_t place) {
    if (months.monthArithmetic != nullptr) {
        return months.monthArithmetic->monthsBeforeYear(year) + place - 1;
    }
    return year * FixedMonthsPerYear(months) + place - 1;
}

struct YearPosition {
    std::int64_t year;
    std::int64_t position;
};
YearPosition MonthAtIndex(const CalendarEntry& months, std::int64_t index) {
    if (const MonthArithmetic* order = months.monthArithmetic) {
        const std::int64_t year = order->yearOfMonth(index);
        return {year, index - order->monthsBeforeYear(year) + 1};
    }
    const int perYear = FixedMonthsPerYear(months);
    return {floor_div(index, perYear), floor_mod(index, perYear) + 1};
}

UnitResult OutOfRange() {
    return {UnitOutcome::OutOfRange, 0};
}

// Years and months in a calendar's months; the day clamped once, at the end.
UnitResult AddInMonths(const CalendarEntry& months, std::int64_t jdn, std::int64_t years,
                       std::int64_t monthCount) {
    MonthDate date = DateOf(months, jdn);
    if (months.monthArithmetic != nullptr && years != 0) {
        // Years keep the month's name, which may stand at another place in the later year.
        const std::int64_t year = date.year + years;  // |year| <= 1.1e9
        if (year < -kMaxFormYear || year > kMaxFormYear) {
            return OutOfRange();
        }
        date.month =
            months.monthArithmetic->placeAfterYears(date.year, static_cast<int>(date.month), year);
        date.year = year;
        years = 0;
    }
    // |index| <= 1.1e9 * 13 + 1e11 + 7.8e7
    const std::int64_t index =
        MonthIndex(months, date.year, date.month) + years * FixedMonthsPerYear(months) + monthCount;
    const YearPosition target = MonthAtIndex(months, index);
    if (target.year < -kMaxFormYear || target.year > kMaxFormYear) {
        return OutOfRange();
    }
    if (target.year < months.minYear || target.year > months.maxYear) {
        return OutOfRange();  // beyond the years of a calendar of a span of years
    }
    const std::int64_t day = std::min(date.day, MonthLength(months, target.year, target.position));
    const std::int64_t result = JdnOf(months, {target.year, target.position, day});
    return InRange(result) ? UnitResult{UnitOutcome::Done, result} : OutOfRange();
}

// Years of a week date: the same week and weekday, week 53 becoming week 52 in a year of 52
// weeks.
UnitResult AddWeekYears(const CalendarEntry& weeks, std::int64_t jdn, std::int64_t years) {
    CalendarDate date = weeks.fromJdn(jdn);
    date.year += years;
    if (date.year < -kMaxFormYear || date.year > kMaxFormYear) {
        return OutOfRange();
    }
    date.month = std::min(date.month, weeks.monthsInYear(date.year));
    const std::int64_t result = weeks.toJdn(date);
    return InRange(result) ? UnitResult{UnitOutcome::Done, result} : OutOfRange();
}

}  // namespace

UnitResult AddYearsMonths(CalendarId calendar, std::int64_t jdn, std::int64_t years,
                          std::int64_t months) {
    if (!InRange(jdn) || years < -kMaxYearStep || years > kMaxYearStep || months < -kMaxMonthStep ||
        months > kMaxMonthStep) {
        return OutOfRange();
    }
    const CalendarEntry& entry = Calendar(calendar);
    const CalendarEntry& monthCalendar = Calendar(entry.unitMonths);
    if (!InSpan(monthCalendar, jdn)) {
        return OutOfRange();  // a calendar of a span of years has no date for the day
    }
    if (entry.weekYears) {
        UnitResult result{UnitOutcome::Done, jdn};
        if (years != 0) {
            result = AddWeekYears(entry, jdn, years);
        }
        if (result.outcome == UnitOutcome::Done && months != 0) {
            result = AddInMonths(monthCalendar, result.jdn, 0, months);
        }
        return result;
    }
    return AddInMonths(monthCalendar, jdn, years, months);
}

UnitResult AddCalendarPart(CalendarId calendar, std::int64_t jdn, const UnitDifference& difference,
                           bool subtract) {
    const std::int64_t sign = difference.negative != subtract ? -1 : 1;
    return AddYearsMonths(calendar, jdn, sign * difference.years, sign * difference.months);
}

std::int64_t DayPart(const UnitDifference& difference, bool subtract) {
    const std::int64_t sign = difference.negative != subtract ? -1 : 1;
    // Parts within kMaxUnitWeeks and kMaxUnitDays: |result| < 8.5e9.
    const std::int64_t weeks = std::clamp(difference.weeks, std::int64_t{0}, kMaxUnitWeeks);
    const std::int64_t days = std::clamp(difference.days, std::int64_t{0}, kMaxUnitDays);
    return sign * (7 * weeks + days);
}

UnitResult AddUnits(CalendarId calendar, std::int64_t jdn, const UnitDifference& difference,
                    bool subtract) {
    if (difference.weeks > kMaxUnitWeeks || difference.days > kMaxUnitDays) {
        return OutOfRange();
    }
    UnitResult result = AddCalendarPart(calendar, jdn, difference, subtract);
    if (result.outcome != UnitOutcome::Done) {
        return result;
    }
    result.jdn += DayPart(difference, subtract);
    return InRange(result.jdn) ? result : OutOfRange();
}

MonthsResult MonthsBetween(CalendarId calendar, std::int64_t from, std::int64_t to) {
    if (!InRange(from) || !InRange(to)) {
        return {UnitOutcome::OutOfRange, 0};
    }
    if (to < from) {
        MonthsResult back = MonthsBetween(calendar, to, from);
        back.months = -back.months;
        return back;
    }
    const CalendarEntry& months = Calendar(Calendar(calendar).unitMonths);
    if (!InSpan(months, from) || !InSpan(months, to)) {
        return {UnitOutcome::OutOfRange, 0};
    }
    const MonthDate first = DateOf(months, from);
    const MonthDate second = DateOf(months, to);
    const std::int64_t secondIndex = MonthIndex(months, second.year, second.month);
    std::int64_t count = secondIndex - MonthIndex(months, first.year, first.month);
    if (second.day < first.day) {
        // The month before the second date's is not complete; when it is shorter than the
        // gap of days, the month before that is borrowed as well.
        --count;
        const YearPosition before = MonthAtIndex(months, secondIndex - 1);
        if (second.day + MonthLength(months, before.year, before.position) < first.day) {
            --count;
        }
    }
    return {UnitOutcome::Done, count};
}

}  // namespace daybridge
