// The Minguo calendar of the Republic of China (ROC): the Gregorian calendar with its years
// counted from 1912 (Minguo 1); years 0 and below continue backwards (jdcore/civil_eras.h).
// Its dates are written year first like the other calendars of their own arithmetic:
// "115-12-07" is 7 December 2026.
#include "calendar/calendars/entry_support.h"
#include "calendar/names.h"
#include "jdcore/civil_eras.h"

namespace daybridge {
namespace {

using jdcore::kMinguoOffset;

constexpr int kNameText = 409;

CalendarDate MinguoDate(std::int64_t jdn) {
    return calendars::YearMonthDayDate(jdcore::ShiftedYearFromJdn(kMinguoOffset, jdn));
}
std::int64_t MinguoJdn(const CalendarDate& d) {
    return jdcore::ShiftedYearToJdn(kMinguoOffset, d.year, d.month, d.day);
}
jdcore::DateCheck Check(const CalendarDate& d) {
    return jdcore::CheckShiftedYearDate(kMinguoOffset, d.year, d.month, d.day);
}
int TwelveMonths(std::int64_t) {
    return 12;
}
int MonthDays(const CalendarDate& d) {
    return jdcore::month_length(d.month, jdcore::gregorian_leap(d.year + kMinguoOffset));
}
std::optional<bool> Leap(std::int64_t year) {
    return jdcore::gregorian_leap(year + kMinguoOffset);
}

}  // namespace

constinit const CalendarEntry kROCCalendar{
    .id = CalendarId::ROC,
    .code = "ROC",
    .libraryLetter = "",
    .fields = FieldKind::YearMonthDay,
    .notation = Notation::YearMonthDay,
    .fromJdn = MinguoDate,
    .toJdn = MinguoJdn,
    .check = Check,
    .monthsInYear = TwelveMonths,
    .daysInMonth = MonthDays,
    .isLeapYear = Leap,
    .unitMonths = CalendarId::ROC,
    .nameText = kNameText,
    .monthNames = {.fixed = kEnglishMonthNames},
    .todaySlot = kTodayAfter,
    .pageMonthsIn = CalendarId::ROC,
};

}  // namespace daybridge
