// The Velmora Leap Week calendar in its three forms: week dates (LPW), month dates (LPM) and
// the calendar library's year-month-day form (VLW), which counts as LPM does.
//
// A date given by numbers (DATE() follows the leap week record's own rules: weekday 0 is the
// day before weekday 1, a week beyond the year's runs into the next year, month 0 has no month
// before it; only a weekday beyond 0..7, a month beyond 0..12 or a day beyond its month (or
// below 0) is refused, and each number must fit the record's 16 bits.
#include <array>

#include "calendar/calendars/entry_support.h"

namespace daybridge {
namespace {

constexpr std::array<const char*, 12> kStarMonths = {"Arcturus", "Bellatrix", "Canopus", "Deneb",
                                                     "Elnath",   "Fomalhaut", "Girtab",  "Hadar",
                                                     "Izar",     "Jabbah",    "Kochab",  "Lesath"};

bool FitsRecord(std::int64_t v) {
    return v >= -32768 && v <= 32767;
}

bool Leap(std::int64_t year) {
    return jdcore::leap_week_is_leap(year);
}
std::optional<bool> LeapYear(std::int64_t year) {
    return Leap(year);
}

// ---- week form

CalendarDate WeekDate(std::int64_t jdn) {
    const jdcore::LeapWeekDate d = jdcore::leap_week_from_jdn(jdn);
    return {.month = d.week, .year = d.year, .day = d.weekday};
}
std::int64_t WeekDateJdn(const CalendarDate& d) {
    return jdcore::jdn_from_leap_week(d.year, d.month, d.day);
}
jdcore::DateCheck WeekDateCheck(const CalendarDate& d) {
    if (!FitsRecord(d.month)) {
        return {jdcore::DateProblem::MonthOutOfRange, 32767};
    }
    if (!FitsRecord(d.day) || d.day < 0 || d.day > 7) {
        return {jdcore::DateProblem::DayOutOfRange, 7};
    }
    return {};
}
int Weeks(std::int64_t year) {
    return Leap(year) ? 53 : 52;
}
int SevenDays(const CalendarDate&) {
    return 7;
}

// ---- month form

CalendarDate MonthDate(std::int64_t jdn) {
    return calendars::YearMonthDayDate(jdcore::leap_week_month_date_from_jdn(jdn));
}
// Month 0 counts no months before it (it is not December of the year before).
std::int64_t MonthDateJdn(const CalendarDate& d) {
    const int weeksBefore = d.month >= 1 ? jdcore::leap_week_weeks_before_month(d.month) : 0;
    return jdcore::leap_week_year_start(d.year) + 7 * weeksBefore + d.day - 1;
}
int MonthDays(const CalendarDate& d) {
    return 7 * jdcore::leap_week_weeks_in_month(d.month, Leap(d.year));
}
jdcore::DateCheck MonthDateCheck(const CalendarDate& d) {
    if (!FitsRecord(d.month) || d.month < 0 || d.month > 12) {
        return {jdcore::DateProblem::MonthOutOfRange, 12};
    }
    const int days = MonthDays(d);
    if (!FitsRecord(d.day) || d.day < 0 || d.day > days) {
        return {jdcore::DateProblem::DayOutOfRange, days};
    }
    return {};
}
int TwelveMonths(std::int64_t) {
    return 12;
}

}  // namespace

constinit const CalendarEntry kVLWCalendar{
    .id = CalendarId::VLW,
    .code = "VLW",
    .libraryLetter = "V",
    .recordLetter = 'V',
    .fields = FieldKind::YearMonthDay,
    .notation = Notation::LibraryYearFirst,
    .fromJdn = MonthDate,
    .toJdn = MonthDateJdn,
    .check = MonthDateCheck,
    .monthsInYear = TwelveMonths,
    .daysInMonth = MonthDays,
    .isLeapYear = LeapYear,
    .unitMonths = CalendarId::LPM,
    .monthNames = {.fixed = kStarMonths},
    .fieldChoice = FieldChoice::None,
    .todaySlot = kTodayNever,
    .monthDisplay = MonthDisplay::Today,
    .pageMonthsIn = CalendarId::CE,
};

constinit const CalendarEntry kLPWCalendar{
    .id = CalendarId::LPW,
    .code = "LPW",
    .libraryLetter = "",
    .fields = FieldKind::YearWeekDay,
    .notation = Notation::LeapWeekDate,
    .fromJdn = WeekDate,
    .toJdn = WeekDateJdn,
    .check = WeekDateCheck,
    .monthsInYear = Weeks,
    .daysInMonth = SevenDays,
    .isLeapYear = LeapYear,
    .unitMonths = CalendarId::LPM,
    .weekYears = true,
    .fieldChoice = FieldChoice::Option,
    .optionSlot = 5,
    .todaySlot = 5,
    .monthDisplay = MonthDisplay::Today,
    .pageMonthsIn = CalendarId::CE,
};

constinit const CalendarEntry kLPMCalendar{
    .id = CalendarId::LPM,
    .code = "LPM",
    .libraryLetter = "",
    .fields = FieldKind::YearMonthDay,
    .notation = Notation::LeapMonthDate,
    .fromJdn = MonthDate,
    .toJdn = MonthDateJdn,
    .check = MonthDateCheck,
    .monthsInYear = TwelveMonths,
    .daysInMonth = MonthDays,
    .isLeapYear = LeapYear,
    .unitMonths = CalendarId::LPM,
    .monthNames = {.fixed = kStarMonths},
    .fieldChoice = FieldChoice::Option,
    .optionSlot = 6,
    .todaySlot = 4,
    .monthDisplay = MonthDisplay::Today,
    .pageMonthsIn = CalendarId::CE,
};

}  // namespace daybridge
