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

#include <cstddef>
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

// (Both are defined inline below, so that a caller's loop keeps them in registers.)
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

// The Gregorian date of a day, by the 32-bit count where the day fits it (as every day of a
// date record does), which is twice as fast.
constexpr YearMonthDay GregorianOfJdn(std::int64_t jdn) {
    return static_cast<std::int32_t>(jdn) == jdn
               ? gregorian_from_jdn32(static_cast<std::int32_t>(jdn))
               : gregorian_from_jdn(jdn);
}

// Gregorian dates with the year shifted by `offset` (kMinguoOffset or kBuddhistOffset);
// ToJdn expects a date CheckShiftedYearDate accepts.
constexpr std::int64_t ShiftedYearToJdn(std::int64_t offset, std::int64_t year, int month,
                                        int day) {
    return jdn_from_gregorian(year + offset, month, day);
}
constexpr YearMonthDay ShiftedYearFromJdn(std::int64_t offset, std::int64_t jdn) {
    YearMonthDay g = GregorianOfJdn(jdn);
    g.year -= offset;
    return g;
}
DateCheck CheckShiftedYearDate(std::int64_t offset, std::int64_t year, int month, int day);

namespace japanese_detail {

// The official first days of the eras (by JapaneseEra; None has none): Meiji from the
// proclamation of 23 October 1868 (Meiji 1-9-8 of the lunisolar calendar), Taisho 30 July
// 1912, Showa 25 December 1926, Heisei 8 January 1989, Reiwa 1 May 2019.
inline constexpr std::int64_t kFirstJdn[6] = {
    0,
    jdn_from_gregorian(1868, 10, 23),
    jdn_from_gregorian(1912, 7, 30),
    jdn_from_gregorian(1926, 12, 25),
    jdn_from_gregorian(1989, 1, 8),
    jdn_from_gregorian(2019, 5, 1),
};
// The Gregorian year before each era's year 1.
inline constexpr std::int64_t kYearBefore[6] = {0, 1867, 1911, 1925, 1988, 2018};
// Years beyond this magnitude are out of span (no overflow below).
inline constexpr std::int64_t kMaxYear = 1'000'000'000;

}  // namespace japanese_detail

inline JapaneseDate JapaneseFromJdn(std::int64_t jdn) {
    using namespace japanese_detail;
    const YearMonthDay g = GregorianOfJdn(jdn);
    const int era = (jdn >= kFirstJdn[1] ? 1 : 0) + (jdn >= kFirstJdn[2] ? 1 : 0) +
                    (jdn >= kFirstJdn[3] ? 1 : 0) + (jdn >= kFirstJdn[4] ? 1 : 0) +
                    (jdn >= kFirstJdn[5] ? 1 : 0);
    return {static_cast<JapaneseEra>(era), g.year - kYearBefore[era], g.month, g.day};
}

inline std::optional<std::int64_t> JapaneseToJdn(const JapaneseDate& date) {
    using namespace japanese_detail;
    const auto i = static_cast<std::size_t>(date.era);
    if (date.year < -kMaxYear || date.year > kMaxYear || date.month < 1 || date.month > 12 ||
        date.day < 1 || i > 5) {
        return std::nullopt;
    }
    const std::int64_t gregorianYear = date.year + kYearBefore[i];
    if (date.day > month_length(date.month, gregorian_leap(gregorianYear))) {
        return std::nullopt;
    }
    const std::int64_t jdn = jdn_from_gregorian(gregorianYear, date.month, date.day);
    const bool before = i > 0 && jdn < kFirstJdn[i];
    const bool after = i < 5 && jdn >= kFirstJdn[i + 1];
    if (before || after) {
        return std::nullopt;
    }
    return jdn;
}

}  // namespace jdcore
