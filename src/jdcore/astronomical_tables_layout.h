// The spans and the packing of the astronomical calendars' tables (astronomical_tables.h).
#pragma once

#include <cstdint>

namespace jdcore::tables {

// Chinese and Korean: Gregorian years whose month 1 the tables hold. From 1645 the calendar
// follows the true sun (the Shixian reform); after 2200 the uncertainty of Delta T (several
// minutes) may move a new moon or a solar term across midnight unnoticed.
inline constexpr int kLunisolarFirstYear = 1645;
inline constexpr int kLunisolarLastYear = 2200;

// A lunisolar year in 24 bits: bits 0-12 the lengths of its months by place (1 = 30 days, 0 =
// 29), bits 13-16 the number of the month its leap month follows (0: no leap month), bits
// 17-23 the day of its first day after 1 January (0 = 1 January).
constexpr std::uint32_t PackLunisolarYear(std::uint32_t dayOfYear, std::uint32_t leapAfter,
                                          std::uint32_t longMonths) {
    return dayOfYear << 17 | leapAfter << 13 | longMonths;
}
constexpr std::uint32_t LunisolarNewYearDay(std::uint32_t packed) {
    return packed >> 17;
}
constexpr std::uint32_t LunisolarLeapMonth(std::uint32_t packed) {
    return packed >> 13 & 15u;
}
constexpr std::uint32_t LunisolarLongMonths(std::uint32_t packed) {
    return packed & 0x1fffu;
}

// Astronomical new years: the Gregorian years 1645-2200 in each era (French: from its year I,
// 1792; Baha'i: from 172 BE, 2015, when the astronomical rule took effect).
inline constexpr std::int64_t kPersianFirstYear = 1024;    // AP, March 1645
inline constexpr std::int64_t kPersianLastYear = 1579;     // AP, March 2200
inline constexpr std::int64_t kFrenchFirstYear = 1;        // September 1792
inline constexpr std::int64_t kFrenchLastYear = 409;       // September 2200
inline constexpr std::int64_t kBahaiFirstTableYear = 172;  // March 2015
inline constexpr std::int64_t kBahaiLastYear = 357;        // March 2200

}  // namespace jdcore::tables
