// Annus Novus: ten months from 1 March (docs/calendars.md), through the calendar library.
#include "calendar/calendars/entry_support.h"

namespace daybridge {
namespace {

// The Latin month names, the same in every language.
constexpr std::array<const char*, 10> kMonthNames = {
    "Martius",  "Aprilis",   "Maius",   "Iunius",   "Quintilis",
    "Sextilis", "September", "October", "November", "December"};

CalendarDate AnnusNovusDate(std::int64_t jdn) {
    return calendars::YearMonthDayDate(jdcore::annus_novus_from_jdn(jdn));
}
std::int64_t AnnusNovusJdn(const CalendarDate& d) {
    return jdcore::jdn_from_annus_novus(d.year, d.month, d.day);
}
int MonthDays(const CalendarDate& d) {
    return jdcore::annus_novus_month_length(d.month, jdcore::annus_novus_leap(d.year));
}
jdcore::DateCheck Check(const CalendarDate& d) {
    return calendars::CheckMonthAndDay(d, 10, MonthDays);
}
int TenMonths(std::int64_t) {
    return 10;
}
// The leap day ends year y: 29 February of CE year y + 1.
std::optional<bool> Leap(std::int64_t year) {
    return jdcore::annus_novus_leap(year);
}

}  // namespace

constinit const CalendarEntry kANCalendar{
    .id = CalendarId::AN,
    .code = "AN",
    .libraryLetter = "A",
    .recordLetter = 'A',
    .fields = FieldKind::YearMonthDay,
    .notation = Notation::LibraryYearFirst,
    .groupsYear = false,
    .fromJdn = AnnusNovusDate,
    .toJdn = AnnusNovusJdn,
    .check = Check,
    .monthsInYear = TenMonths,
    .daysInMonth = MonthDays,
    .isLeapYear = Leap,
    .unitMonths = CalendarId::AN,
    .monthNames = {.fixed = kMonthNames},
    .fieldChoice = FieldChoice::None,
    .todaySlot = kTodayNever,
    .monthDisplay = MonthDisplay::Today,
    .pageMonthsIn = CalendarId::CE,
    .fiveDayWeekLabel = true,
};

}  // namespace daybridge
