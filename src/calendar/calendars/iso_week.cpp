// The ISO 8601 week date (ISO): week-year, week 1..52 or 53, weekday 1 (Monday) .. 7.
#include "calendar/calendars/entry_support.h"

namespace daybridge {
namespace {

CalendarDate IsoDate(std::int64_t jdn) {
    const jdcore::IsoWeekDate d = jdcore::iso_week_from_jdn(jdn);
    return {.month = d.week, .year = d.year, .day = d.weekday};
}
std::int64_t IsoJdn(const CalendarDate& d) {
    return jdcore::jdn_from_iso_week(d.year, d.month, d.day);
}
int Weeks(std::int64_t year) {
    return jdcore::iso_weeks_in_year(year);
}
int SevenDays(const CalendarDate&) {
    return 7;
}
jdcore::DateCheck Check(const CalendarDate& d) {
    return calendars::CheckMonthAndDay(d, Weeks(d.year), SevenDays);
}
// A year of 53 weeks.
std::optional<bool> Leap(std::int64_t year) {
    return Weeks(year) == 53;
}

}  // namespace

constinit const CalendarEntry kISOCalendar{
    .id = CalendarId::ISO,
    .code = "ISO",
    .libraryLetter = "I",
    .recordLetter = 'I',
    .fields = FieldKind::YearWeekDay,
    .notation = Notation::IsoWeekDate,
    .fromJdn = IsoDate,
    .toJdn = IsoJdn,
    .check = Check,
    .monthsInYear = Weeks,
    .daysInMonth = SevenDays,
    .isLeapYear = Leap,
    .unitMonths = CalendarId::CE,
    .weekYears = true,
    .breakdown = Breakdown::YearsWeeksDays,
    .breakdownAfterDays = 6,
    .fieldChoice = FieldChoice::Option,
    .optionSlot = 2,
    .todaySlot = 1,
    .monthDisplay = MonthDisplay::Today,
    .pageMonthsIn = CalendarId::CE,
};

}  // namespace daybridge
