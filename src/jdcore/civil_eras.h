// Gregorian dates with other year counts: the Japanese eras from Meiji, the Minguo years of
// the Republic of China and the Thai Buddhist Era. All proleptic Gregorian (months and days
// as in CE), O(1).
//
// Japanese (JPN): an era runs from its official first day (the day the new era name took
// effect) to the day before the next one; its year 1 is the Gregorian year of that first
// day, so year 1 and the era's last year are partial years (Heisei 31 ends on 30 April 2019,
// Reiwa 1 begins on 1 May). Days before Meiji (23 October 1868) keep the plain Gregorian year
// (JapaneseEra::None). Japan kept its lunisolar calendar until the end of Meiji 5 (1872); the
// earlier Meiji dates here are the proleptic Gregorian ones, as in every civil register
// converted to the Western calendar.
// Minguo (ROC): year = Gregorian year - 1911 (1912 is Minguo 1); 0 and negative years count
// on backwards, one year before Minguo 1 being 0.
// Thai Buddhist (BUD): year = Gregorian year + 543, with 1 January as new year (Thailand's
// rule since 1941).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "jdcore/calendar_check.h"
#include "jdcore/day_count.h"  // YearMonthDay

namespace jdcore {

enum class JapaneseEra : std::int8_t { None, Meiji, Taisho, Showa, Heisei, Reiwa };

struct JapaneseEraInfo {
    std::string_view name;       // English transliteration
    std::int64_t firstJdn;       // its first day
    std::int64_t gregorianYear;  // the Gregorian year of its year 1
};
// Indexed by JapaneseEra; None describes the days before Meiji.
JapaneseEraInfo JapaneseEraOf(JapaneseEra era);

struct JapaneseDate {
    JapaneseEra era;
    std::int64_t year;  // year of the era (Gregorian year for None)
    std::int32_t month;
    std::int32_t day;
};

std::optional<std::int64_t> JapaneseToJdn(const JapaneseDate& date);
JapaneseDate JapaneseFromJdn(std::int64_t jdn);
// Beyond the Gregorian checks: OutsideEra for a day before the era's first day or after its
// last (limit: JapaneseEraLastYear).
DateCheck CheckJapaneseDate(const JapaneseDate& date);
// The era's last year (0 for the era still running; 1868 for the plain years), for year
// lists and messages.
std::int64_t JapaneseEraLastYear(JapaneseEra era);

inline constexpr std::int64_t kMinguoOffset = 1911;    // Gregorian year - Minguo year
inline constexpr std::int64_t kBuddhistOffset = -543;  // Gregorian year - Buddhist year

// Gregorian dates with the year shifted by `offset` (kMinguoOffset or kBuddhistOffset).
std::int64_t ShiftedYearToJdn(std::int64_t offset, std::int64_t year, int month, int day);
YearMonthDay ShiftedYearFromJdn(std::int64_t offset, std::int64_t jdn);
DateCheck CheckShiftedYearDate(std::int64_t offset, std::int64_t year, int month, int day);

}  // namespace jdcore
