// The world's calendars that jdcore computes into tables over a span of years: the Persian
// calendar by the vernal equinox at Tehran (PEA), the French Republican calendar by the
// autumnal equinox at Paris (FRE), the Islamic calendar of Umm al-Qura (UQ, 1300-1600 AH) and
// the Baha'i calendar (BAH, 1-357 BE). The months of the first three are those of PER, FRR and
// ISL, whose month names they share. Baha'i months are numbered by their place in the year:
// 1-18, then 19 for the intercalary days (Ayyam-i-Ha) and 20 for the month 'Ala'. Outside its span
// a calendar has no dates: the registry's span keeps every caller inside it.
#include <array>
#include <iterator>

#include "calendar/calendars/entry_support.h"
#include "jdcore/equinox_calendars.h"
#include "jdcore/umm_al_qura.h"

namespace daybridge {
namespace {

using jdcore::EquinoxCalendar;

// The day of a date outside the tables: beyond every day number, so that a caller building a
// date unchecked (NEWYEARSDAY) finds it out of range rather than at JDN 0.
constexpr std::int64_t kNoDay = -(std::int64_t{1} << 50);

template <EquinoxCalendar kCalendar>
struct Equinox {
    static CalendarDate Date(std::int64_t jdn) {
        return calendars::YearMonthDayDate(
            jdcore::EquinoxFromJdn(kCalendar, jdn).value_or(jdcore::YearMonthDay{}));
    }
    static std::int64_t Jdn(const CalendarDate& d) {
        return jdcore::EquinoxToJdn(kCalendar, d.year, d.month, d.day).value_or(kNoDay);
    }
    static int Months(std::int64_t year) { return jdcore::EquinoxMonthsInYear(kCalendar, year); }
    static int MonthDays(const CalendarDate& d) {
        return jdcore::EquinoxDaysInMonth(kCalendar, d.year, d.month);
    }
    static jdcore::DateCheck Check(const CalendarDate& d) {
        return jdcore::CheckEquinoxDate(kCalendar, d.year, d.month, d.day);
    }
    static std::optional<bool> Leap(std::int64_t year) {
        if (jdcore::EquinoxDaysInYear(kCalendar, year) == 0) {
            return std::nullopt;
        }
        return jdcore::EquinoxIsLeapYear(kCalendar, year);
    }
};

struct UmmAlQura {
    static CalendarDate Date(std::int64_t jdn) {
        return calendars::YearMonthDayDate(
            jdcore::UmmAlQuraFromJdn(jdn).value_or(jdcore::YearMonthDay{}));
    }
    static std::int64_t Jdn(const CalendarDate& d) {
        return jdcore::UmmAlQuraToJdn(d.year, d.month, d.day).value_or(kNoDay);
    }
    static int Months(std::int64_t year) { return jdcore::UmmAlQuraMonthsInYear(year); }
    static int MonthDays(const CalendarDate& d) {
        return jdcore::UmmAlQuraDaysInMonth(d.year, d.month);
    }
    static jdcore::DateCheck Check(const CalendarDate& d) {
        return jdcore::CheckUmmAlQuraDate(d.year, d.month, d.day);
    }
    static std::optional<bool> Leap(std::int64_t year) {
        const int days = jdcore::UmmAlQuraDaysInYear(year);
        return days == 0 ? std::nullopt : std::optional<bool>(days == 355);
    }
};

// The span of each, its first and last day and years (a test compares them with jdcore's).
using calendars::Span;
constexpr Span kPersianSpan{2321963, 2525037, 1024, 1579};
constexpr Span kFrenchSpan{2375840, 2525223, 1, 409};
constexpr Span kUmmAlQuraSpan{2408761, 2515426, jdcore::kUmmAlQuraFirstYear,
                              jdcore::kUmmAlQuraLastYear};
constexpr Span kBahaiSpan{2394647, 2525037, 1, 357};

// The Baha'i month names are transliterations, the same in every language.
constexpr auto kBahaiMonths = [] {
    std::array<const char*, std::size(jdcore::kBahaiMonthNames)> names{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = jdcore::kBahaiMonthNames[i].data();  // literals: terminated
    }
    return names;
}();

}  // namespace

constinit const CalendarEntry kPEACalendar =
    calendars::MonthlyEntry<Equinox<EquinoxCalendar::PersianAstronomical>>(
        CalendarId::PEA, "PEA", 560, calendars::MonthTexts(450, 12), kPersianSpan);
constinit const CalendarEntry kFRECalendar =
    calendars::MonthlyEntry<Equinox<EquinoxCalendar::FrenchAstronomical>>(
        CalendarId::FRE, "FRE", 561, calendars::MonthTexts(510, 13), kFrenchSpan);
constinit const CalendarEntry kUQCalendar = calendars::MonthlyEntry<UmmAlQura>(
    CalendarId::UQ, "UQ", 562, calendars::MonthTexts(430, 12), kUmmAlQuraSpan);
constinit const CalendarEntry kBAHCalendar =
    calendars::MonthlyEntry<Equinox<EquinoxCalendar::Bahai>>(CalendarId::BAH, "BAH", 563,
                                                             {.fixed = kBahaiMonths}, kBahaiSpan);

}  // namespace daybridge
