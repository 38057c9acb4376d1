// The historical Christian calendar (HIS): Julian before a switch day and Gregorian from it,
// as the countries adopting the Gregorian reform counted (and as ICU's GregorianCalendar does
// with setGregorianChange). The switch is the JDN of the first Gregorian day: by default 15
// October 1582 (the day after Julian 4 October 1582), 14 September 1752 for Great Britain and
// its colonies (after Julian 2 September). The days skipped at the switch are not dates of
// this calendar. Years are astronomical (year 0 is 1 BCE) and begin on 1 January (England's
// 25 March new year before 1752 is not modelled). O(1).
#pragma once

#include <cstdint>

#include "jdcore/calendar_check.h"
#include "jdcore/day_count.h"  // YearMonthDay, jdn_from_gregorian

namespace jdcore {

inline constexpr std::int64_t kGregorianReform = 2299161;  // 15 October 1582
inline constexpr std::int64_t kBritishReform = 2361222;    // 14 September 1752
// The earliest switch: before 1 March 200 the Julian calendar runs ahead of the Gregorian, and
// a switch would repeat days. Earlier switches are taken as this one.
inline constexpr std::int64_t kEarliestReform = jdn_from_gregorian(200, 3, 1);

// ToJdn expects a date CheckHistoricalDate accepts (and |year| <= 1e9); for others the result
// is unspecified.
constexpr std::int64_t HistoricalToJdn(std::int64_t year, int month, int day,
                                       std::int64_t reform = kGregorianReform) {
    reform = reform < kEarliestReform ? kEarliestReform : reform;
    const std::int64_t gregorian = jdn_from_gregorian(year, month, day);
    const bool inGregorianMonth =
        month < 1 || month > 12 || day <= month_length(month, gregorian_leap(year));
    return gregorian >= reform && inGregorianMonth ? gregorian : jdn_from_julian(year, month, day);
}
constexpr YearMonthDay HistoricalFromJdn(std::int64_t jdn, std::int64_t reform = kGregorianReform) {
    if (jdn < (reform < kEarliestReform ? kEarliestReform : reform)) {
        return julian_from_jdn(jdn);
    }
    // The 32-bit count where the day fits it, as every day of a date record does: twice as fast.
    return static_cast<std::int32_t>(jdn) == jdn
               ? gregorian_from_jdn32(static_cast<std::int32_t>(jdn))
               : gregorian_from_jdn(jdn);
}
// InSwitchGap for the skipped days (limit: the day of the month of the first Gregorian day).
DateCheck CheckHistoricalDate(std::int64_t year, int month, int day,
                              std::int64_t reform = kGregorianReform);

// Lengths as days that exist: October 1582 has 21 days by default, 1582 has 355.
int HistoricalDaysInMonth(std::int64_t year, int month, std::int64_t reform = kGregorianReform);
int HistoricalDaysInYear(std::int64_t year, std::int64_t reform = kGregorianReform);
// The year's leap day (29 February) exists.
bool HistoricalIsLeapYear(std::int64_t year, std::int64_t reform = kGregorianReform);

}  // namespace jdcore
