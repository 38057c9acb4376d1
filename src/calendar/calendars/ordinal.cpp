// The ordinal date (ORD): a CE year from 1 to 9999 and the day of that year.
#include "calendar/calendars/entry_support.h"

namespace daybridge {
namespace {

std::int64_t NewYear(std::int64_t year) {
    return jdcore::jdn_from_gregorian(year, 1, 1);
}
CalendarDate OrdinalDate(std::int64_t jdn) {
    const jdcore::YearMonthDay d = jdcore::gregorian_from_jdn(jdn);
    return {.year = d.year, .day = static_cast<std::int32_t>(jdn - NewYear(d.year) + 1)};
}
std::int64_t OrdinalJdn(const CalendarDate& d) {
    return NewYear(d.year) + d.day - 1;
}
jdcore::DateCheck Check(const CalendarDate& d) {
    const int days = jdcore::gregorian_leap(d.year) ? 366 : 365;
    if (d.day < 1 || d.day > days) {
        return {jdcore::DateProblem::DayOutOfRange, days};
    }
    return {};
}
std::optional<bool> Leap(std::int64_t year) {
    return jdcore::gregorian_leap(year);
}

}  // namespace

constinit const CalendarEntry kORDCalendar{
    .id = CalendarId::ORD,
    .code = "ORD",
    .libraryLetter = "",
    .recordLetter = 'G',  // ordinal dates are CE dates
    .fields = FieldKind::YearDay,
    .notation = Notation::OrdinalDate,
    .fromJdn = OrdinalDate,
    .toJdn = OrdinalJdn,
    .check = Check,
    .isLeapYear = Leap,
    .firstJdn = 1721426,  // 1 January 1
    .lastJdn = 5373484,   // 31 December 9999
    .minYear = 1,
    .maxYear = 9999,
    .unitMonths = CalendarId::CE,
    .breakdown = Breakdown::YearsDays,
    .breakdownAfterDays = 364,
    .fieldChoice = FieldChoice::Option,
    .optionSlot = 4,
    .todaySlot = 3,
    .monthDisplay = MonthDisplay::Today,
    .pageMonthsIn = CalendarId::CE,
};

}  // namespace daybridge
