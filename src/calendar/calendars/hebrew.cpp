// The Hebrew calendar (HEB). Months are numbered from Nisan (1) as the calendar numbers them,
// but a year begins with Tishri (7) and a leap year has a 13th month, Adar II, after Adar I
// (12): for month arithmetic a month is counted by its place in the year, Tishri = 1.
#include "calendar/calendars/entry_support.h"
#include "jdcore/world_calendars.h"

namespace daybridge {
namespace {

using jdcore::floor_div;
using jdcore::WorldCalendar;

constexpr int kNameText = 400;
constexpr int kFirstMonthText = 410;  // Nisan; 422 Adar II

bool HebrewLeap(std::int64_t year) {
    return jdcore::MonthsInYear(WorldCalendar::Hebrew, year) == 13;
}

CalendarDate HebrewDate(std::int64_t jdn) {
    return calendars::YearMonthDayDate(jdcore::FromJdn(WorldCalendar::Hebrew, jdn));
}
std::int64_t HebrewJdn(const CalendarDate& d) {
    return jdcore::ToJdn(WorldCalendar::Hebrew, d.year, d.month, d.day);
}
int Months(std::int64_t year) {
    return jdcore::MonthsInYear(WorldCalendar::Hebrew, year);
}
int MonthDays(const CalendarDate& d) {
    return jdcore::DaysInMonth(WorldCalendar::Hebrew, d.year, d.month);
}
// Adar II (13) in a common year is a leap month the year has not.
jdcore::DateCheck Check(const CalendarDate& d) {
    if (d.month == 13 && Months(d.year) == 12) {
        return {jdcore::DateProblem::NoSuchLeapMonth, 0};
    }
    return calendars::CheckMonthAndDay(d, 13, MonthDays);
}
std::optional<bool> Leap(std::int64_t year) {
    const int months = Months(year);
    return months == 0 ? std::nullopt : std::optional<bool>(months == 13);
}

// ---- months by place: Tishri = 1 .. Elul = 12 or 13

int PlaceOf(std::int64_t year, std::int32_t month, bool) {
    if (month >= 7) {
        return month == 13 ? 7 : month - 6;
    }
    return month + 6 + (HebrewLeap(year) ? 1 : 0);
}
void MonthAt(std::int64_t year, int place, CalendarDate& date) {
    const bool leap = HebrewLeap(year);
    if (place <= 6) {
        date.month = place + 6;
    } else if (leap && place == 7) {
        date.month = 13;
    } else {
        date.month = place - 6 - (leap ? 1 : 0);
    }
}
// Months from Tishri of year 1 to Tishri of `year`: 235 months in every 19 years.
std::int64_t MonthsBeforeYear(std::int64_t year) {  // |year| <= 1.1e9: no overflow
    return floor_div(235 * year - 234, 19);
}
// The last year whose first month is at or before `index`: 235 year - 234 <= 19 index + 18,
// that is 235 year <= 19 index + 252 (|index| < 1.2e11).
std::int64_t YearOfMonth(std::int64_t index) {
    return floor_div(19 * index + 252, 235);
}
// A year later the month keeps its name: a leap year's Adar I and Adar II both become Adar in
// a common year, and a common year's Adar becomes Adar II (the month of Purim) in a leap year.
int PlaceAfterYears(std::int64_t fromYear, int place, std::int64_t toYear) {
    const bool fromLeap = HebrewLeap(fromYear);
    const bool toLeap = HebrewLeap(toYear);
    CalendarDate month;
    MonthAt(fromYear, place, month);
    if (month.month == 13 && !toLeap) {
        month.month = 12;
    } else if (month.month == 12 && !fromLeap && toLeap) {
        month.month = 13;
    }
    return PlaceOf(toYear, month.month, false);
}

constexpr MonthArithmetic kMonthArithmetic{PlaceOf, MonthAt, MonthsBeforeYear, YearOfMonth,
                                           PlaceAfterYears};

}  // namespace

constinit const CalendarEntry kHEBCalendar{
    .id = CalendarId::HEB,
    .code = "HEB",
    .libraryLetter = "",
    .fields = FieldKind::YearMonthDay,
    .notation = Notation::YearMonthDay,
    .fromJdn = HebrewDate,
    .toJdn = HebrewJdn,
    .check = Check,
    .monthsInYear = Months,
    .daysInMonth = MonthDays,
    .isLeapYear = Leap,
    .firstMonth = 7,  // Tishri
    .monthArithmetic = &kMonthArithmetic,
    .minYear = -jdcore::kMaxWorldYear,
    .maxYear = jdcore::kMaxWorldYear,
    .unitMonths = CalendarId::HEB,
    .nameText = kNameText,
    .monthNames = {.firstText = kFirstMonthText, .textCount = 13},
    .todaySlot = kTodayAfter,
    .pageMonthsIn = CalendarId::HEB,
};

}  // namespace daybridge
