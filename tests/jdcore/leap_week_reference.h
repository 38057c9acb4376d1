// A plain, loop-by-loop model of the leap week calendar, used as the reference that the O(1)
// arithmetic is checked against. Deliberately slow and literal; never used by the program.
#pragma once

#include <cstdint>

namespace reference {

constexpr std::int64_t kEpoch = 1721419;
constexpr std::int64_t kCycleDays = 146097;
constexpr std::int64_t kCycleEnd = 1867516;

inline bool IsLeap(std::int64_t y) {
    return ((71 * y + 203) % 400 + 400) % 400 < 71;
}
inline std::int64_t YearLength(std::int64_t y) {
    return IsLeap(y) ? 371 : 364;
}

// Five weeks in the first month of each quarter, and in the last month of a leap year.
inline int WeeksInMonth(std::int64_t month, bool leap) {
    return (month == 12 && leap) || (month % 3 + 3) % 3 == 1 ? 5 : 4;
}

struct Week {
    std::int64_t year;
    std::int64_t week;
    std::int64_t weekday;
};

// Whole 400-year cycles are stepped off one at a time, then years one at a time.
inline Week FromJdn(std::int64_t jdn) {
    std::int64_t c = 0;
    std::int64_t j = jdn;
    while (j < kEpoch) {
        j += kCycleDays;
        c -= 1;
    }
    while (j >= kCycleEnd) {
        j -= kCycleDays;
        c += 1;
    }
    std::int64_t y = 1;
    std::int64_t s = kEpoch;
    while (s + YearLength(y) <= j) {
        s += YearLength(y);
        y += 1;
    }
    const std::int64_t d = j - s;
    return {400 * c + y, d / 7 + 1, d % 7 + 1};
}

inline std::int64_t ToJdn(const Week& w) {
    std::int64_t c = 0;
    std::int64_t y = w.year;
    while (y < 1) {
        y += 400;
        c -= 1;
    }
    while (y >= 401) {
        y -= 400;
        c += 1;
    }
    std::int64_t sum = 0;
    for (std::int64_t k = 1; k < y; ++k) {
        sum += YearLength(k);
    }
    return kEpoch + kCycleDays * c + sum + 7 * (w.week - 1) + w.weekday - 1;
}

struct MonthDay {
    std::int64_t month;
    std::int64_t day;
};

inline MonthDay WeekToMonth(std::int64_t year, std::int64_t week, std::int64_t weekday) {
    const bool leap = IsLeap(year);
    std::int64_t w = week;
    std::int64_t month = 1;
    while (w > WeeksInMonth(month, leap)) {
        w -= WeeksInMonth(month, leap);
        month += 1;
    }
    return {month, 7 * (w - 1) + weekday};
}

// Month 0..12 and day 0..length only (the caller checks); truncating division as written.
inline Week MonthToWeek(std::int64_t year, std::int64_t month, std::int64_t day) {
    const bool leap = IsLeap(year);
    std::int64_t week = 0;
    for (std::int64_t m = 1; m <= month - 1; ++m) {
        week += WeeksInMonth(m, leap);
    }
    week += (day - 1) / 7 + 1;
    return {year, week, (day - 1) % 7 + 1};
}

inline int YearInHexade(std::int64_t y) {
    for (int i = 1; i <= 6; ++i) {
        if (IsLeap(y + 3 - i)) {
            return i;
        }
    }
    return 7;
}

inline bool IsInShortHexade(std::int64_t y) {
    const std::int64_t z = y - YearInHexade(y) + 1;
    return (71 * z) % 100 < 26;
}

}  // namespace reference
