// The Japanese calendar of the eras (JPN): Gregorian months and days with the year of the era,
// from Meiji on (jdcore/civil_eras.h): "Reiwa 8-12-07" is 7 December 2026. Days before Meiji
// (23 October 1868) have the plain Gregorian year and no era name: "1868-10-22".
//
// A date with era 0 names a plain Gregorian year of any day, as DATE(, NEWYEARSDAY( and
// ISLEAPYEAR( take it; the reader takes a date without an era name only where the writer writes
// none. Years and months are added in Gregorian years and months.
#include <array>

#include "calendar/calendars/entry_support.h"
#include "calendar/names.h"
#include "jdcore/civil_eras.h"

namespace daybridge {
namespace {

using jdcore::JapaneseEra;

constexpr std::array<const char*, 5> kEraNames = {"Meiji", "Taisho", "Showa", "Heisei", "Reiwa"};
// The initials that Japanese forms write before the year ("R8.12.7").
constexpr std::array<const char*, 5> kEraInitials = {"M", "T", "S", "H", "R"};
constexpr EraNames kEras{
    .names = kEraNames,
    .shortNames = kEraInitials,
    .firstJdn = std::span(jdcore::japanese_detail::kFirstJdn).subspan<1>(),
};

constexpr bool KnownEra(std::int16_t era) {
    return era >= 0 && static_cast<std::size_t>(era) <= kEraNames.size();
}

// The Gregorian year of a date's year (era 0: the year itself).
std::int64_t GregorianYear(const CalendarDate& d) {
    return KnownEra(d.era)
               ? d.year + jdcore::japanese_detail::kYearBefore[static_cast<std::size_t>(d.era)]
               : d.year;
}

CalendarDate JapaneseDate(std::int64_t jdn) {
    const jdcore::JapaneseDate d = jdcore::JapaneseFromJdn(jdn);
    return {
        .era = static_cast<std::int16_t>(d.era), .month = d.month, .year = d.year, .day = d.day};
}
std::int64_t JapaneseJdn(const CalendarDate& d) {
    return jdcore::jdn_from_gregorian(GregorianYear(d), d.month, d.day);
}
jdcore::DateCheck Check(const CalendarDate& d) {
    if (!KnownEra(d.era)) {
        return {jdcore::DateProblem::OutsideEra, 0};
    }
    if (d.era == 0) {
        return jdcore::CheckShiftedYearDate(0, d.year, d.month, d.day);
    }
    return jdcore::CheckJapaneseDate({static_cast<JapaneseEra>(d.era), d.year, d.month, d.day});
}
int TwelveMonths(std::int64_t) {
    return 12;
}
int MonthDays(const CalendarDate& d) {
    return jdcore::month_length(d.month, jdcore::gregorian_leap(GregorianYear(d)));
}
std::optional<bool> Leap(std::int64_t year) {
    return jdcore::gregorian_leap(year);
}

}  // namespace

constinit const CalendarEntry kJPNCalendar{
    .id = CalendarId::JPN,
    .code = "JPN",
    .libraryLetter = "",
    .fields = FieldKind::YearMonthDay,
    .notation = Notation::EraYearMonthDay,
    .fromJdn = JapaneseDate,
    .toJdn = JapaneseJdn,
    .check = Check,
    .monthsInYear = TwelveMonths,
    .daysInMonth = MonthDays,
    .isLeapYear = Leap,
    .unitMonths = CalendarId::CE,
    .nameText = 1150,
    .monthNames = {.fixed = kEnglishMonthNames},
    .eras = &kEras,
    .todaySlot = kTodayAfter,
    .pageMonthsIn = CalendarId::CE,
};

}  // namespace daybridge
