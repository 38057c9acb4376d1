// The Gregorian calendar with its years counted from another epoch (jdcore/civil_eras.h): the
// Minguo calendar of the Republic of China (ROC), year = Gregorian year - 1911 (1912 is Minguo
// 1), and the Thai Buddhist Era (BUD), year = Gregorian year + 543. Years 0 and below continue
// backwards. Their dates are written year first like the other calendars of their own
// arithmetic: 7 December 2026 is "115-12-07 ROC" and "2569-12-07 BUD".
#include "calendar/calendars/entry_support.h"
#include "calendar/names.h"
#include "jdcore/civil_eras.h"

namespace daybridge {
namespace {

// The conversions of a calendar whose year is the Gregorian year less `Offset`.
template <std::int64_t Offset>
struct ShiftedYear {
    static CalendarDate Date(std::int64_t jdn) {
        return calendars::YearMonthDayDate(jdcore::ShiftedYearFromJdn(Offset, jdn));
    }
    static std::int64_t Jdn(const CalendarDate& d) {
        return jdcore::ShiftedYearToJdn(Offset, d.year, d.month, d.day);
    }
    static jdcore::DateCheck Check(const CalendarDate& d) {
        return jdcore::CheckShiftedYearDate(Offset, d.year, d.month, d.day);
    }
    static int Months(std::int64_t) { return 12; }
    static int MonthDays(const CalendarDate& d) {
        return jdcore::month_length(d.month, jdcore::gregorian_leap(d.year + Offset));
    }
    static std::optional<bool> Leap(std::int64_t year) {
        return jdcore::gregorian_leap(year + Offset);
    }
};

// Its entry: the Gregorian months and their English names, years and months added in its own
// years (which are the Gregorian ones).
template <std::int64_t Offset>
constexpr CalendarEntry ShiftedYearEntry(CalendarId id, const char* code, int nameText) {
    return calendars::MonthlyEntry<ShiftedYear<Offset>>(id, code, nameText,
                                                        {.fixed = kEnglishMonthNames});
}

}  // namespace

constinit const CalendarEntry kROCCalendar =
    ShiftedYearEntry<jdcore::kMinguoOffset>(CalendarId::ROC, "ROC", 409);
constinit const CalendarEntry kBUDCalendar =
    ShiftedYearEntry<jdcore::kBuddhistOffset>(CalendarId::BUD, "BUD", 1151);

}  // namespace daybridge
