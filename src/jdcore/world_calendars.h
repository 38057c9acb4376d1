// The world's calendars on the Julian Day Number: Hebrew, Islamic (tabular), Persian (Solar
// Hijri), Coptic, Ethiopian, French Republican, Indian national (Saka), the Mayan Long Count
// and the Modified Julian Day.
//
// Every conversion is O(1): closed forms and floor division, never a loop over years or
// cycles (the Hebrew year of a day is estimated and then corrected at most once). Years are
// signed numbers of each calendar's own era: year 0 and negative years continue the rule
// backwards. FromJdn is exact for every |jdn| <= 2,200,000,000 (and on to 5,000,000,000);
// ToJdn for every valid date, and for every date FromJdn gives. |year| <= kMaxWorldYear holds
// every day of the range |jdn| <= 2,100,000,000 in every calendar (docs/calendars.md gives
// each rule, epoch, month numbering and range). Uses the C++ standard library only.
#pragma once

#include <cstdint>

#include "jdcore/day_count.h"  // YearMonthDay: { int64 year; int32 month; int32 day; }

namespace jdcore {

enum class WorldCalendar { Hebrew, Islamic, Persian, Coptic, Ethiopian, FrenchRepublican, Indian };

// Years beyond this magnitude are out of range in every calendar.
inline constexpr std::int64_t kMaxWorldYear = 6'000'000;

// Hebrew months: Nisan = 1 .. Elul = 6, Tishri = 7 (the first month of the year) .. Adar = 12
// (Adar I in a leap year), Adar II = 13. French Republican month 13 holds the complementary
// days; Coptic and Ethiopian month 13 the epagomenal days.
// ToJdn expects a date that IsValidDate accepts (or one FromJdn gave); for any other input the
// result is unspecified but computed without overflow.
std::int64_t ToJdn(WorldCalendar cal, std::int64_t year, int month, int day);
YearMonthDay FromJdn(WorldCalendar cal, std::int64_t jdn);

// The year holding a day, its first day (1 Tishri in the Hebrew calendar, else the first of
// month 1) and its length in days: FromJdn's year and two ToJdn, at the cost of one FromJdn
// for the Hebrew calendar.
struct CalendarYear {
    std::int64_t year;
    std::int64_t first;
    int length;
};
CalendarYear YearOfJdn(WorldCalendar cal, std::int64_t jdn);

// False also for |year| > kMaxWorldYear.
bool IsValidDate(WorldCalendar cal, std::int64_t year, int month, int day);
// Lengths; 0 for a month the year does not have or a year beyond kMaxWorldYear.
int MonthsInYear(WorldCalendar cal, std::int64_t year);  // 12 or 13 (French Republican: 13)
int DaysInMonth(WorldCalendar cal, std::int64_t year, int month);
int DaysInYear(WorldCalendar cal, std::int64_t year);

// Mayan Long Count with the correlation 584,283 (0.0.0.0.0 is JDN 584,283). Before that day
// the baktun is negative and the other places stay in their usual ranges.
struct LongCount {
    std::int64_t baktun;
    int katun, tun, uinal, kin;  // katun and tun [0, 19], uinal [0, 17], kin [0, 19]
};
std::int64_t LongCountToJdn(const LongCount& date);
LongCount JdnToLongCount(std::int64_t jdn);

// Modified Julian Day: the day count starting at midnight on 17 November 1858.
inline constexpr std::int64_t kMjdOffset = 2'400'001;  // MJD = JDN - kMjdOffset

}  // namespace jdcore
