// The Umm al-Qura calendar of Saudi Arabia (UQ) over 1300-1600 AH, from a table made by its
// astronomical rules (umm_al_qura_rules.h): up to 1419 AH a month begins on the day after the
// Greenwich date of the new moon; from 1420 AH on the day after the 29th when, that evening
// at Mecca, the moon sets after the sun (and, from 1423 AH, the new moon came before sunset);
// else after the 30th. Twelve months of 29 or 30 days; days counted from midnight, as the
// civil calendar prints them.
//
// Years outside 1300-1600 AH are refused (std::nullopt, OutOfSpan), never filled in from the
// tabular Islamic calendar, which stays ISL (world_calendars.h). No rule of the official
// calendar is known before 1392 AH: the table carries the Greenwich rule back to 1300
// (docs/calendars.md says how far that can be off). Every conversion is O(1): one or two
// table reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "jdcore/calendar_check.h"
#include "jdcore/day_count.h"  // YearMonthDay

namespace jdcore {

inline constexpr std::int64_t kUmmAlQuraFirstYear = 1300;
inline constexpr std::int64_t kUmmAlQuraLastYear = 1600;

// (Both are defined inline below, so that a caller's loop keeps them in registers.)
// std::nullopt for a date CheckUmmAlQuraDate refuses.
std::optional<std::int64_t> UmmAlQuraToJdn(std::int64_t year, int month, int day);
// std::nullopt outside UmmAlQuraFirstJdn() .. UmmAlQuraLastJdn().
std::optional<YearMonthDay> UmmAlQuraFromJdn(std::int64_t jdn);
DateCheck CheckUmmAlQuraDate(std::int64_t year, int month, int day);

std::int64_t UmmAlQuraFirstJdn();  // 1 Muharram 1300 AH: 11 November 1882
std::int64_t UmmAlQuraLastJdn();   // the last day of Dhu al-Hijjah 1600 AH: 25 November 2174

// Lengths; 0 outside the span or for a month the year lacks.
int UmmAlQuraMonthsInYear(std::int64_t year);            // 12
int UmmAlQuraDaysInMonth(std::int64_t year, int month);  // 29 or 30
int UmmAlQuraDaysInYear(std::int64_t year);              // 353 .. 355

// English transliterations, as the tabular Islamic calendar's; the text layer adds the other
// languages.
inline constexpr std::string_view kUmmAlQuraMonthNames[12] = {
    "Muharram", "Safar",   "Rabi' al-awwal", "Rabi' al-thani", "Jumada al-awwal", "Jumada al-thani",
    "Rajab",    "Sha'ban", "Ramadan",        "Shawwal",        "Dhu al-Qi'dah",   "Dhu al-Hijjah"};

// ---- the month index behind the conversions (made and checked in umm_al_qura.cpp)

namespace umm_al_qura_detail {

inline constexpr std::size_t kMonths = 12 * (kUmmAlQuraLastYear - kUmmAlQuraFirstYear + 1);
inline constexpr std::uint64_t kDays = 106666;  // the span's days
inline constexpr std::size_t kBlocks = (kDays + 31) / 32;

struct MonthIndex {
    std::array<std::int32_t, kMonths + 1> start;  // JDN of each month's first day, then the end
    // Per block of 32 days from start[0]: the month of its first day (bits 0-12) and the days
    // into the block at which the next two months start (bits 13-18 and 19-24; 32: not in it).
    std::array<std::uint32_t, kBlocks> block;
};
extern const MonthIndex kIndex;

// The month (counted from Muharram 1300) holding the day `days` after start[0].
constexpr std::size_t MonthOf(std::uint64_t days) {
    const std::uint32_t block = kIndex.block[days >> 5];
    const auto r = static_cast<std::uint32_t>(days & 31);
    return (block & 0x1fffu) + (r >= (block >> 13 & 63u) ? 1u : 0u) +
           (r >= (block >> 19) ? 1u : 0u);
}

}  // namespace umm_al_qura_detail

inline std::optional<std::int64_t> UmmAlQuraToJdn(std::int64_t year, int month, int day) {
    using namespace umm_al_qura_detail;
    // Unsigned differences: any year or month out of range wraps to a large one.
    const std::uint64_t y =
        static_cast<std::uint64_t>(year) - static_cast<std::uint64_t>(kUmmAlQuraFirstYear);
    const std::uint64_t m = static_cast<std::uint32_t>(month) - 1u;
    if (y > static_cast<std::uint64_t>(kUmmAlQuraLastYear - kUmmAlQuraFirstYear) || m >= 12 ||
        day < 1) {
        return std::nullopt;
    }
    const std::size_t n = 12 * y + m;
    if (day > kIndex.start[n + 1] - kIndex.start[n]) {
        return std::nullopt;
    }
    return std::int64_t{kIndex.start[n]} + day - 1;
}

inline std::optional<YearMonthDay> UmmAlQuraFromJdn(std::int64_t jdn) {
    using namespace umm_al_qura_detail;
    const std::uint64_t days =
        static_cast<std::uint64_t>(jdn) - static_cast<std::uint64_t>(std::int64_t{kIndex.start[0]});
    if (days >= kDays) {
        return std::nullopt;
    }
    const std::size_t n = MonthOf(days);
    return YearMonthDay{kUmmAlQuraFirstYear + static_cast<std::int64_t>(n / 12),
                        static_cast<std::int32_t>(n % 12) + 1,
                        static_cast<std::int32_t>(jdn - kIndex.start[n] + 1)};
}

}  // namespace jdcore
