// The Common Era (proleptic Gregorian, CE) and the Julian calendar (JC), both with
// astronomical years; their dates are read and written through the calendar library.
#include "calendar/calendars/entry_support.h"
#include "calendar/names.h"

namespace daybridge {
namespace {

using calendars::CheckMonthAndDay;
using calendars::YearMonthDayDate;

CalendarDate GregorianDate(std::int64_t jdn) {
    return YearMonthDayDate(static_cast<std::int32_t>(jdn) == jdn
                                ? jdcore::gregorian_from_jdn32(static_cast<std::int32_t>(jdn))
                                : jdcore::gregorian_from_jdn(jdn));
}
std::int64_t GregorianJdn(const CalendarDate& d) {
    return jdcore::jdn_from_gregorian(d.year, d.month, d.day);
}
int GregorianMonthDays(const CalendarDate& d) {
    return jdcore::month_length(d.month, jdcore::gregorian_leap(d.year));
}
jdcore::DateCheck GregorianCheck(const CalendarDate& d) {
    return CheckMonthAndDay(d, 12, GregorianMonthDays);
}
std::optional<bool> GregorianLeap(std::int64_t year) {
    return jdcore::gregorian_leap(year);
}

CalendarDate JulianDate(std::int64_t jdn) {
    return YearMonthDayDate(jdcore::julian_from_jdn(jdn));
}
std::int64_t JulianJdn(const CalendarDate& d) {
    return jdcore::jdn_from_julian(d.year, d.month, d.day);
}
int JulianMonthDays(const CalendarDate& d) {
    return jdcore::month_length(d.month, jdcore::julian_leap(d.year));
}
jdcore::DateCheck JulianCheck(const CalendarDate& d) {
    return CheckMonthAndDay(d, 12, JulianMonthDays);
}
std::optional<bool> JulianLeap(std::int64_t year) {
    return jdcore::julian_leap(year);
}

int TwelveMonths(std::int64_t) {
    return 12;
}

}  // namespace

constinit const CalendarEntry kCECalendar{
    .id = CalendarId::CE,
    .code = "CE",
    .libraryLetter = "G",
    .recordLetter = 'G',
    .fields = FieldKind::YearMonthDay,
    .notation = Notation::CivilDate,
    .fromJdn = GregorianDate,
    .toJdn = GregorianJdn,
    .check = GregorianCheck,
    .monthsInYear = TwelveMonths,
    .daysInMonth = GregorianMonthDays,
    .isLeapYear = GregorianLeap,
    .unitMonths = CalendarId::CE,
    .breakdown = Breakdown::YearsMonthsDays,
    .breakdownAfterDays = 30,
    .monthNames = {.fixed = kEnglishMonthNames},
    .fieldChoice = FieldChoice::Option,
    .optionSlot = 0,
    .todaySlot = 0,
    .monthDisplay = MonthDisplay::CommonEra,
    .pageMonthsIn = CalendarId::CE,
    .easter = EasterRule::Gregorian,
};

constinit const CalendarEntry kJCCalendar{
    .id = CalendarId::JC,
    .code = "JC",
    .libraryLetter = "J",
    .recordLetter = 'J',
    .fields = FieldKind::YearMonthDay,
    .notation = Notation::CivilDate,
    .fromJdn = JulianDate,
    .toJdn = JulianJdn,
    .check = JulianCheck,
    .monthsInYear = TwelveMonths,
    .daysInMonth = JulianMonthDays,
    .isLeapYear = JulianLeap,
    .unitMonths = CalendarId::JC,
    .breakdown = Breakdown::YearsMonthsDays,
    .breakdownAfterDays = 30,
    .monthNames = {.fixed = kEnglishMonthNames},
    .fieldChoice = FieldChoice::Option,
    .optionSlot = 1,
    .todaySlot = 2,
    .monthDisplay = MonthDisplay::Julian,
    .pageMonthsIn = CalendarId::JC,
    .easter = EasterRule::Julian,
};

}  // namespace daybridge
