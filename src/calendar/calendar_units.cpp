#include "calendar/calendar_units.h"

#include <algorithm>

#include "calendar/calendar_table.h"
#include "jdcore/day_count.h"
#include "jdcore/world_calendars.h"

namespace daybridge {
namespace {

using jdcore::floor_div;
using jdcore::floor_mod;
using jdcore::WorldCalendar;

// Every day of the range lies within this year magnitude in every month form (the Islamic
// year of JDN 2.1e9 is about 5.93 million), and every form's arithmetic is exact there.
constexpr std::int64_t kMaxFormYear = 6'000'000;
// Larger steps leave the range from any day; refusing them first keeps every product below.
constexpr std::int64_t kMaxYearStep = 1'000'000'000;
constexpr std::int64_t kMaxMonthStep = 100'000'000'000;

enum class MonthKind { Gregorian, Julian, AnnusNovus, LeapWeek, World };

// The calendar whose months the years and months move in.
struct MonthForm {
    MonthKind kind = MonthKind::Gregorian;
    WorldCalendar world = WorldCalendar::Hebrew;  // for MonthKind::World
    bool IsHebrew() const { return kind == MonthKind::World && world == WorldCalendar::Hebrew; }
};

// A date with its month given as the position in the order of the year (1 = first month).
// Only the Hebrew year orders its months differently from their numbers: Tishri is first.
struct MonthDate {
    std::int64_t year;
    std::int64_t month;
    std::int64_t day;
};

bool InRange(std::int64_t jdn) {
    return jdn >= -kMaxUnitJdn && jdn <= kMaxUnitJdn;
}

bool HebrewLeap(std::int64_t year) {
    return jdcore::MonthsInYear(WorldCalendar::Hebrew, year) == 13;
}
// Hebrew month numbers (Nisan = 1 .. Elul = 6, Tishri = 7 .. Adar or Adar I = 12, Adar II =
// 13) and positions in the year (Tishri = 1 .. Elul = 12 or 13).
std::int64_t HebrewPosition(std::int64_t month, bool leap) {
    if (month >= 7) {
        return month == 13 ? 7 : month - 6;
    }
    return month + 6 + (leap ? 1 : 0);
}
std::int64_t HebrewMonthAt(std::int64_t position, bool leap) {
    if (position <= 6) {
        return position + 6;
    }
    if (leap && position == 7) {
        return 13;
    }
    return position - 6 - (leap ? 1 : 0);
}
// Months from Tishri of year 1 to Tishri of `year`: 235 months in every 19 years.
std::int64_t HebrewMonthsBeforeYear(std::int64_t year) {  // |year| <= 1.1e9: no overflow
    return floor_div(235 * year - 234, 19);
}

int FixedMonthsPerYear(const MonthForm& form) {
    switch (form.kind) {
        case MonthKind::AnnusNovus:
            return 10;
        case MonthKind::World:
            return jdcore::MonthsInYear(form.world, 1);  // the same every year, but Hebrew
        default:
            return 12;
    }
}

MonthDate DateOf(const MonthForm& form, std::int64_t jdn) {
    jdcore::YearMonthDay date{};
    switch (form.kind) {
        case MonthKind::Gregorian:
            date = jdcore::gregorian_from_jdn(jdn);
            break;
        case MonthKind::Julian:
            date = jdcore::julian_from_jdn(jdn);
            break;
        case MonthKind::AnnusNovus:
            date = jdcore::annus_novus_from_jdn(jdn);
            break;
        case MonthKind::LeapWeek:
            date = jdcore::leap_week_month_date_from_jdn(jdn);
            break;
        case MonthKind::World:
            date = jdcore::FromJdn(form.world, jdn);
            if (form.IsHebrew()) {
                return {date.year, HebrewPosition(date.month, HebrewLeap(date.year)), date.day};
            }
            break;
    }
    return {date.year, date.month, date.day};
}

// The month's number as the calendar writes it.
std::int64_t MonthNumber(const MonthForm& form, std::int64_t year, std::int64_t position) {
    return form.IsHebrew() ? HebrewMonthAt(position, HebrewLeap(year)) : position;
}

// Days in the month at `position` of `year`, |year| <= kMaxFormYear.
std::int64_t MonthLength(const MonthForm& form, std::int64_t year, std::int64_t position) {
    switch (form.kind) {
        case MonthKind::Gregorian:
            return jdcore::month_length(position, jdcore::gregorian_leap(year));
        case MonthKind::Julian:
            return jdcore::month_length(position, jdcore::julian_leap(year));
        case MonthKind::AnnusNovus:
            return jdcore::annus_novus_month_length(position, jdcore::annus_novus_leap(year));
        case MonthKind::LeapWeek:
            return 7 * jdcore::leap_week_weeks_in_month(position, jdcore::leap_week_is_leap(year));
        case MonthKind::World:
            return jdcore::DaysInMonth(form.world, year,
                                       static_cast<int>(MonthNumber(form, year, position)));
    }
    return 0;
}

std::int64_t JdnOf(const MonthForm& form, const MonthDate& date) {
    switch (form.kind) {
        case MonthKind::Gregorian:
            return jdcore::jdn_from_gregorian(date.year, date.month, date.day);
        case MonthKind::Julian:
            return jdcore::jdn_from_julian(date.year, date.month, date.day);
        case MonthKind::AnnusNovus:
            return jdcore::jdn_from_annus_novus(date.year, date.month, date.day);
        case MonthKind::LeapWeek:
            return jdcore::jdn_from_leap_week_month_date(date.year, date.month, date.day);
        case MonthKind::World:
            return jdcore::ToJdn(form.world, date.year,
                                 static_cast<int>(MonthNumber(form, date.year, date.month)),
                                 static_cast<int>(date.day));
    }
    return 0;
}

// Months from the first month of year 0 (Hebrew: Tishri of year 1) to the month at
// `position` of `year`; |year| <= 1.1e9, so every product stays below 2^41.
std::int64_t MonthIndex(const MonthForm& form, std::int64_t year, std::int64_t position) {
    if (form.IsHebrew()) {
        return HebrewMonthsBeforeYear(year) + position - 1;
    }
    return year * FixedMonthsPerYear(form) + position - 1;
}

struct YearPosition {
    std::int64_t year;
    std::int64_t position;
};
YearPosition MonthAtIndex(const MonthForm& form, std::int64_t index) {
    if (form.IsHebrew()) {
        // The last year whose first month is at or before `index`: 235 year - 234 <=
        // 19 index + 18, that is 235 year <= 19 index + 252. |index| < 1.2e11.
        const std::int64_t year = floor_div(19 * index + 252, 235);
        return {year, index - HebrewMonthsBeforeYear(year) + 1};
    }
    const int perYear = FixedMonthsPerYear(form);
    return {floor_div(index, perYear), floor_mod(index, perYear) + 1};
}

// Years named by month: the Hebrew year keeps the month's name, a leap year's Adar I and
// Adar II both become Adar in a common year, and a common year's Adar becomes Adar II (the
// month that holds Purim) in a leap year.
std::int64_t HebrewPositionAfterYears(std::int64_t fromYear, std::int64_t position,
                                      std::int64_t toYear) {
    const bool fromLeap = HebrewLeap(fromYear);
    const bool toLeap = HebrewLeap(toYear);
    std::int64_t month = HebrewMonthAt(position, fromLeap);
    if (month == 13 && !toLeap) {
        month = 12;
    } else if (month == 12 && !fromLeap && toLeap) {
        month = 13;
    }
    return HebrewPosition(month, toLeap);
}

UnitResult OutOfRange() {
    return {UnitOutcome::OutOfRange, 0};
}

// Years and months in a month form; the day clamped once, at the end.
UnitResult AddInForm(const MonthForm& form, std::int64_t jdn, std::int64_t years,
                     std::int64_t months) {
    MonthDate date = DateOf(form, jdn);
    if (form.IsHebrew() && years != 0) {
        const std::int64_t year = date.year + years;  // |year| <= 1.1e9
        if (year < -kMaxFormYear || year > kMaxFormYear) {
            return OutOfRange();
        }
        date.month = HebrewPositionAfterYears(date.year, date.month, year);
        date.year = year;
        years = 0;
    }
    // |index| <= 1.1e9 * 13 + 1e11 + 7.8e7
    const std::int64_t index =
        MonthIndex(form, date.year, date.month) + years * FixedMonthsPerYear(form) + months;
    const YearPosition target = MonthAtIndex(form, index);
    if (target.year < -kMaxFormYear || target.year > kMaxFormYear) {
        return OutOfRange();
    }
    const std::int64_t day = std::min(date.day, MonthLength(form, target.year, target.position));
    const std::int64_t result = JdnOf(form, {target.year, target.position, day});
    return InRange(result) ? UnitResult{UnitOutcome::Done, result} : OutOfRange();
}

// Years of a week date (ISO or the leap week calendar's week form): the same week and
// weekday, week 53 becoming week 52 in a year of 52 weeks.
UnitResult AddWeekYears(bool iso, std::int64_t jdn, std::int64_t years) {
    std::int64_t year = 0;
    std::int64_t week = 0;
    std::int64_t weekday = 0;
    if (iso) {
        const jdcore::IsoWeekDate date = jdcore::iso_week_from_jdn(jdn);
        year = date.year + years;
        week = date.week;
        weekday = date.weekday;
    } else {
        const jdcore::LeapWeekDate date = jdcore::leap_week_from_jdn(jdn);
        year = date.year + years;
        week = date.week;
        weekday = date.weekday;
    }
    if (year < -kMaxFormYear || year > kMaxFormYear) {
        return OutOfRange();
    }
    const std::int64_t weeksInYear =
        iso ? jdcore::iso_weeks_in_year(year) : (jdcore::leap_week_is_leap(year) ? 53 : 52);
    week = std::min(week, weeksInYear);
    const std::int64_t result = iso ? jdcore::jdn_from_iso_week(year, week, weekday)
                                    : jdcore::jdn_from_leap_week(year, week, weekday);
    return InRange(result) ? UnitResult{UnitOutcome::Done, result} : OutOfRange();
}

// The month form of a calendar's months; false for an unknown index.
bool MonthFormOf(int calendar, MonthForm& form) {
    switch (calendar) {
        case kCE:
        case kJDN:
        case kORD:
        case kISO:
        case kMAY:
        case kMJD:
            form = {MonthKind::Gregorian, WorldCalendar::Hebrew};
            return true;
        case kJC:
            form = {MonthKind::Julian, WorldCalendar::Hebrew};
            return true;
        case kAN:
            form = {MonthKind::AnnusNovus, WorldCalendar::Hebrew};
            return true;
        case kVLW:
        case kLPW:
        case kLPM:
            form = {MonthKind::LeapWeek, WorldCalendar::Hebrew};
            return true;
        default:
            break;
    }
    static constexpr WorldCalendar kWorld[] = {
        WorldCalendar::Hebrew, WorldCalendar::Islamic,   WorldCalendar::Persian,
        WorldCalendar::Coptic, WorldCalendar::Ethiopian, WorldCalendar::FrenchRepublican,
        WorldCalendar::Indian,
    };
    if (calendar >= kHEB && calendar <= kIND) {
        form = {MonthKind::World, kWorld[calendar - kHEB]};
        return true;
    }
    return false;
}

}  // namespace

UnitResult AddYearsMonths(int calendar, std::int64_t jdn, std::int64_t years, std::int64_t months) {
    MonthForm form;
    if (!MonthFormOf(calendar, form)) {
        return {};
    }
    if (!InRange(jdn) || years < -kMaxYearStep || years > kMaxYearStep || months < -kMaxMonthStep ||
        months > kMaxMonthStep) {
        return OutOfRange();
    }
    if (calendar == kISO || calendar == kLPW) {
        UnitResult result{UnitOutcome::Done, jdn};
        if (years != 0) {
            result = AddWeekYears(calendar == kISO, jdn, years);
        }
        if (result.outcome == UnitOutcome::Done && months != 0) {
            result = AddInForm(form, result.jdn, 0, months);
        }
        return result;
    }
    return AddInForm(form, jdn, years, months);
}

UnitResult AddCalendarPart(int calendar, std::int64_t jdn, const UnitDifference& difference,
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

UnitResult AddUnits(int calendar, std::int64_t jdn, const UnitDifference& difference,
                    bool subtract) {
    if (difference.weeks > kMaxUnitWeeks || difference.days > kMaxUnitDays) {
        MonthForm form;
        return MonthFormOf(calendar, form) ? OutOfRange() : UnitResult{};
    }
    UnitResult result = AddCalendarPart(calendar, jdn, difference, subtract);
    if (result.outcome != UnitOutcome::Done) {
        return result;
    }
    result.jdn += DayPart(difference, subtract);
    return InRange(result.jdn) ? result : OutOfRange();
}

MonthsResult MonthsBetween(int calendar, std::int64_t from, std::int64_t to) {
    MonthForm form;
    if (!MonthFormOf(calendar, form)) {
        return {};
    }
    if (!InRange(from) || !InRange(to)) {
        return {UnitOutcome::OutOfRange, 0};
    }
    if (to < from) {
        MonthsResult back = MonthsBetween(calendar, to, from);
        back.months = -back.months;
        return back;
    }
    const MonthDate first = DateOf(form, from);
    const MonthDate second = DateOf(form, to);
    const std::int64_t secondIndex = MonthIndex(form, second.year, second.month);
    std::int64_t months = secondIndex - MonthIndex(form, first.year, first.month);
    if (second.day < first.day) {
        // The month before the second date's is not complete; when it is shorter than the
        // gap of days, the month before that is borrowed as well.
        --months;
        const YearPosition before = MonthAtIndex(form, secondIndex - 1);
        if (second.day + MonthLength(form, before.year, before.position) < first.day) {
            --months;
        }
    }
    return {UnitOutcome::Done, months};
}

}  // namespace daybridge
