// Week numbering rules: which day starts a week and which week is week 1 of a year, as ISO 8601,
// the United States and Canada, the Middle East and the spreadsheet WEEKNUM return types count.
//
// A week date is (week-year, week, day of the week). The day of the week counts from the
// rule's first day (1 = that day .. 7), so that "W50-1" is the first day of week 50 under every
// rule; IsoWeekday gives Monday = 1 .. Sunday = 7.
//
// Week 1 of week-year Y, by WeekOne:
//   HoldsJanuary1  the week holding 1 January;
//   FourDays       the first week with at least four days in January (ISO 8601);
//   FullWeek       the first week wholly in January;
//   CalendarYear   the week holding 1 January, but every day stays in its own calendar year:
//                  the year's first and last weeks may be short, and a year has 53 or 54
//                  weeks (31 December of a leap year starting on the week's last day is in
//                  week 54). This is how WEEKNUM numbers weeks.
// Under the first three, whole weeks run from week 1 of Y to the day before week 1 of Y + 1 (52
// or 53 weeks), so the first days of January or the last days of December may belong to the
// week-year before or after.
//
// Everything is O(1): one Gregorian conversion each way, never a loop. JDNs are exact within
// +-kMaxWeekJdn and clamped to it; the checks refuse years beyond kMaxWeekYear, the conversions
// clamp them a little further out. Uses the C++ standard library only.
#pragma once

#include <cstdint>
#include <optional>

#include "jdcore/calendar_check.h"

namespace jdcore {

inline constexpr std::int64_t kMaxWeekJdn = 2'147'000'000;
inline constexpr std::int64_t kMaxWeekYear = 5'900'000;  // holds every day of +-kMaxWeekJdn

enum class Weekday : std::uint8_t {
    Monday = 1,
    Tuesday,
    Wednesday,
    Thursday,
    Friday,
    Saturday,
    Sunday
};

enum class WeekOne : std::uint8_t { HoldsJanuary1, FourDays, FullWeek, CalendarYear };

struct WeekRule {
    Weekday firstDay = Weekday::Monday;
    WeekOne weekOne = WeekOne::FourDays;
    friend constexpr bool operator==(WeekRule, WeekRule) = default;
};

inline constexpr WeekRule kIsoWeeks{Weekday::Monday, WeekOne::FourDays};
inline constexpr WeekRule kUsWeeks{Weekday::Sunday, WeekOne::HoldsJanuary1};  // and Canada
inline constexpr WeekRule kMiddleEastWeeks{Weekday::Saturday, WeekOne::HoldsJanuary1};

// The rule of a spreadsheet WEEKNUM return type: 1 and 17 Sunday, 2 and 11 Monday, 12 Tuesday,
// 13 Wednesday, 14 Thursday, 15 Friday, 16 Saturday, all of them calendar-year weeks ("system
// 1": the week holding 1 January is week 1); 21 is ISO 8601 ("system 2"). Nothing for any
// other number.
std::optional<WeekRule> WeekNumReturnType(int type);

struct WeekDate {
    std::int64_t year;  // week-year
    std::int32_t week;  // 1 .. WeeksInYear
    std::int32_t day;   // 1 .. 7, 1 = the rule's first day
};

constexpr int IsoWeekday(std::int64_t jdn) {  // JDN 0 is a Monday
    const std::int64_t r = jdn % 7;
    return static_cast<int>(r < 0 ? r + 8 : r + 1);
}

int DayOfWeek(WeekRule rule, std::int64_t jdn);  // 1 = the rule's first day
// The first day of the whole week holding `jdn` (for calendar-year weeks too: it may lie in
// the year before).
std::int64_t WeekStart(WeekRule rule, std::int64_t jdn);

WeekDate ToWeekDate(WeekRule rule, std::int64_t jdn);
// Any week and day convert by plain arithmetic (week 0 is the week before week 1, day 8 the
// next week's first day); CheckWeekDate says whether they lie in the year.
std::int64_t FromWeekDate(WeekRule rule, std::int64_t year, std::int32_t week, std::int32_t day);
DateProblem CheckWeekDate(WeekRule rule, std::int64_t year, std::int32_t week, std::int32_t day);

int WeeksInYear(WeekRule rule, std::int64_t year);  // 52 or 53; calendar-year weeks 53 or 54
// The first and last day of a week-year (of a calendar-year rule: 1 January and 31 December).
std::int64_t WeekYearStart(WeekRule rule, std::int64_t year);
std::int64_t WeekYearEnd(WeekRule rule, std::int64_t year);

// The number of the rule's first days passed going from `from` to `to` (negative backwards):
// the difference of the weeks' starts, in weeks. Calendar-year weeks cut at a year's end count
// as the whole week they are part of.
std::int64_t WeeksBetween(WeekRule rule, std::int64_t from, std::int64_t to);

// `jdn` moved by `weeks` whole weeks, and by `years` week-years keeping the week and the day:
// week 53 becomes week 52 in a year without it (54 becomes 53), and a day of a short
// calendar-year week that the target year lacks becomes the year's first or last day. Nothing
// when the result lies beyond +-kMaxWeekJdn.
std::optional<std::int64_t> AddWeeks(std::int64_t jdn, std::int64_t weeks);
std::optional<std::int64_t> AddWeekYears(WeekRule rule, std::int64_t jdn, std::int64_t years);

}  // namespace jdcore
