// The Chinese and Korean lunisolar calendars over 1645-2200, from tables made by the
// astronomical rule (astronomical_rules.h): months start on the local day of a new moon, the
// month holding the December solstice is month 11, and a year of 13 months repeats, as a leap
// month, the number of the month before its first month without a major solar term.
//
// Years are running years: year Y is the one whose month 1 begins in Gregorian year Y (so the
// year of the Horse that began on 17 February 2026 is 2026). The sexagenary cycle gives its
// traditional name. Dates outside the table's span are refused (std::nullopt, OutOfSpan):
// before 1645 the calendar used the mean sun, and after 2200 the astronomy cannot be trusted
// to the day. Every conversion is O(1): one or two table reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "jdcore/calendar_check.h"

namespace jdcore {

enum class Lunisolar { Chinese, Korean };

struct LunisolarDate {
    std::int64_t year;
    std::int32_t month;  // 1..12
    bool leap;           // the leap month that follows month `month`
    std::int32_t day;    // 1..30
};

inline constexpr std::int64_t kLunisolarFirstYear = 1645;
inline constexpr std::int64_t kLunisolarLastYear = 2200;

// std::nullopt for a date CheckLunisolarDate refuses.
std::optional<std::int64_t> LunisolarToJdn(Lunisolar cal, const LunisolarDate& date);
// std::nullopt outside the span (LunisolarFirstJdn .. LunisolarLastJdn).
std::optional<LunisolarDate> LunisolarFromJdn(Lunisolar cal, std::int64_t jdn);
// (Both are defined inline below, so that a caller's loop keeps them in registers.)
DateCheck CheckLunisolarDate(Lunisolar cal, const LunisolarDate& date);

std::int64_t LunisolarFirstJdn(Lunisolar cal);  // month 1, day 1 of kLunisolarFirstYear
std::int64_t LunisolarLastJdn(Lunisolar cal);   // the last day of kLunisolarLastYear

// Lengths; 0 outside the span or for a month the year lacks.
int LunisolarMonthsInYear(Lunisolar cal, std::int64_t year);                       // 12 or 13
int LunisolarLeapMonth(Lunisolar cal, std::int64_t year);                          // 0 when none
int LunisolarDaysInMonth(Lunisolar cal, std::int64_t year, int month, bool leap);  // 29 or 30
int LunisolarDaysInYear(Lunisolar cal, std::int64_t year);  // 353..355 or 383..385

// Months by their place in the year (1 .. LunisolarMonthsInYear), for month arithmetic and
// month lists: the place of a month, 0 when the year lacks it, and the month at a place.
int LunisolarPlaceOf(Lunisolar cal, std::int64_t year, int month, bool leap);
struct LunisolarMonthName {
    std::int32_t month;
    bool leap;
};
LunisolarMonthName LunisolarMonthAt(Lunisolar cal, std::int64_t year, int place);

// The sexagenary name of a year: heavenly stem and earthly branch (its animal), and the cycle
// count of Calendrical Calculations (cycle 78 began in 1984, year 1 of a cycle is jia-zi).
struct Sexagenary {
    std::int64_t cycle;
    int yearOfCycle;  // 1..60
    int stem;         // 0..9: jia .. gui
    int branch;       // 0..11: zi (rat) .. hai (pig)
};
constexpr Sexagenary SexagenaryOf(std::int64_t year) {
    const std::int64_t n = year + 2636;  // years since the cycle epoch, 2637 BCE
    const std::int64_t cycle = (n >= 0 ? n : n - 59) / 60;
    const auto inCycle = static_cast<int>(n - 60 * cycle);
    return {cycle + 1, inCycle + 1, inCycle % 10, inCycle % 12};
}

// English transliterations; the text layer adds the other languages.
inline constexpr std::string_view kHeavenlyStems[10] = {"Jia", "Yi",   "Bing", "Ding", "Wu",
                                                        "Ji",  "Geng", "Xin",  "Ren",  "Gui"};
inline constexpr std::string_view kEarthlyBranches[12] = {
    "Zi", "Chou", "Yin", "Mao", "Chen", "Si", "Wu", "Wei", "Shen", "You", "Xu", "Hai"};
inline constexpr std::string_view kZodiacAnimals[12] = {"Rat",    "Ox",      "Tiger", "Rabbit",
                                                        "Dragon", "Snake",   "Horse", "Goat",
                                                        "Monkey", "Rooster", "Dog",   "Pig"};
inline constexpr std::string_view kChineseMonthNames[12] = {
    "Zhengyue", "Eryue", "Sanyue", "Siyue",  "Wuyue",   "Liuyue",
    "Qiyue",    "Bayue", "Jiuyue", "Shiyue", "Dongyue", "Layue"};
inline constexpr std::string_view kKoreanMonthNames[12] = {
    "Jeongwol", "Iwol",   "Samwol", "Sawol", "Owol",       "Yuwol",
    "Chirwol",  "Parwol", "Guwol",  "Siwol", "Dongjitdal", "Seotdal"};

// ---- the month index behind the conversions (made and checked in lunisolar.cpp)

namespace lunisolar_detail {

inline constexpr std::size_t kYears = 556;    // kLunisolarFirstYear .. kLunisolarLastYear
inline constexpr std::size_t kMonths = 6877;  // their months
inline constexpr std::size_t kBlocks = 6347;  // their days (203,081) in blocks of 32

struct MonthIndex {
    std::array<std::int32_t, kMonths + 1> start;  // JDN of each month's first day, then the end
    std::array<std::uint16_t, kMonths> label;     // year index << 5 | leap << 4 | month
    std::array<std::uint16_t, kYears + 1> first;  // each year's first month, then kMonths
    std::array<std::uint8_t, kYears> leapAfter;   // each year's leap month (0: none)
    // Per block of 32 days from start[0]: the month of its first day (bits 0-12) and the days
    // into the block at which the next two months start (bits 13-18 and 19-24; 32: not in it).
    std::array<std::uint32_t, kBlocks> block;
};
extern const MonthIndex kChinese;
extern const MonthIndex kKorean;

inline const MonthIndex& IndexOf(Lunisolar cal) {
    return cal == Lunisolar::Chinese ? kChinese : kKorean;
}

// The month holding the day `days` after start[0] (inside the span): its block's month, moved
// on by the month starts before the day in the block.
constexpr std::size_t MonthOf(const MonthIndex& index, std::uint64_t days) {
    const std::uint32_t block = index.block[days >> 5];
    const auto r = static_cast<std::uint32_t>(days & 31);
    return (block & 0x1fffu) + (r >= (block >> 13 & 63u) ? 1u : 0u) +
           (r >= (block >> 19) ? 1u : 0u);
}

// The place (0-based) of a month in a year whose leap month follows month leapAfter.
constexpr int PlaceIn(std::uint32_t leapAfter, int month, bool leap) {
    return month - 1 + ((leap || (leapAfter != 0 && month > static_cast<int>(leapAfter))) ? 1 : 0);
}

}  // namespace lunisolar_detail

inline std::optional<std::int64_t> LunisolarToJdn(Lunisolar cal, const LunisolarDate& date) {
    using namespace lunisolar_detail;
    const auto y = static_cast<std::uint64_t>(date.year - kLunisolarFirstYear);
    if (y >= kYears || date.month < 1 || date.month > 12 || date.day < 1) {
        return std::nullopt;
    }
    const MonthIndex& index = IndexOf(cal);
    const std::uint32_t leapAfter = index.leapAfter[y];
    if (date.leap && static_cast<std::uint32_t>(date.month) != leapAfter) {
        return std::nullopt;
    }
    const std::size_t m =
        index.first[y] + static_cast<std::size_t>(PlaceIn(leapAfter, date.month, date.leap));
    if (date.day > index.start[m + 1] - index.start[m]) {
        return std::nullopt;
    }
    return std::int64_t{index.start[m]} + date.day - 1;
}

inline std::optional<LunisolarDate> LunisolarFromJdn(Lunisolar cal, std::int64_t jdn) {
    using namespace lunisolar_detail;
    const MonthIndex& index = IndexOf(cal);
    const auto days = static_cast<std::uint64_t>(jdn - index.start[0]);
    if (days >= static_cast<std::uint64_t>(index.start[kMonths] - index.start[0])) {
        return std::nullopt;
    }
    const std::size_t m = MonthOf(index, days);
    const std::uint32_t label = index.label[m];
    return LunisolarDate{kLunisolarFirstYear + (label >> 5), static_cast<std::int32_t>(label & 15u),
                         (label & 16u) != 0, static_cast<std::int32_t>(jdn - index.start[m] + 1)};
}

}  // namespace jdcore
