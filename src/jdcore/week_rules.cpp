// Week numbering rules (see week_rules.h and docs/weeks-and-fiscal-years.md).
//
// Under a whole-week rule, week 1 is the first week with at least m days in January (m = 1, 4
// or 7), that is the first week whose day 8 - m lies in January. So every week belongs to the
// year of its day 8 - m and is numbered by that day's place in the year: one conversion from
// the JDN, as ISO weeks are found from their Thursday.
#include "jdcore/week_rules.h"

#include <algorithm>
#include <array>

#include "jdcore/day_count.h"

namespace jdcore {
namespace {

// Years a conversion takes: beyond every valid year, small enough that no count overflows.
inline constexpr std::int64_t kArithmeticYears = 6'000'000;

constexpr std::int64_t ClampJdn(std::int64_t jdn) {
    return std::clamp(jdn, -kMaxWeekJdn, kMaxWeekJdn);
}
constexpr std::int64_t ClampYear(std::int64_t year) {
    return std::clamp(year, -kArithmeticYears, kArithmeticYears);
}

// The days of week 1 that lie in January at least (calendar-year weeks: week 1 holds 1 January).
inline constexpr std::array<int, 4> kMinimalDays = {1, 4, 7, 1};

constexpr int MinimalDays(WeekOne weekOne) {
    return kMinimalDays[static_cast<unsigned>(weekOne) & 3u];
}

// Days from the week's first day, 0..6 (JDN 0 is a Monday).
constexpr int Position(WeekRule rule, std::int64_t jdn) {
    return static_cast<int>(floor_mod(jdn - static_cast<int>(rule.firstDay) + 1, 7));
}

struct JanuaryDay {
    std::int64_t year;
    std::int32_t day;  // 0 = 1 January
};

// Every day a conversion looks at lies within a few days of +-kMaxWeekJdn: a 32-bit JDN.
constexpr JanuaryDay JanuaryYearDay(std::int64_t jdn) {
    const MarchYearDay yd = gregorian_march_year_day32(static_cast<std::int32_t>(jdn));
    const auto doy = static_cast<std::int32_t>(yd.doy);
    if (doy >= 306) {  // January and February end a counting year
        return {yd.year + 1, doy - 306};
    }
    return {yd.year, doy + 59 + (gregorian_leap(yd.year) ? 1 : 0)};
}

constexpr std::int64_t January1(std::int64_t year) {
    return jdn_from_gregorian(year, 1, 1);
}
constexpr int DaysInYear(std::int64_t year) {
    return gregorian_leap(year) ? 366 : 365;
}

// The first day of week 1: the rule's first day on or before January m (m = MinimalDays).
constexpr std::int64_t Week1Start(WeekRule rule, std::int64_t year) {
    const std::int64_t latest = jdn_from_gregorian(year, 1, MinimalDays(rule.weekOne));
    return latest - Position(rule, latest);
}

static_assert(Week1Start(kIsoWeeks, 2010) == 2455201);  // 4 January 2010
static_assert(Week1Start(kUsWeeks, 2023) == 2459946);   // 1 January 2023, a Sunday

}  // namespace

std::optional<WeekRule> WeekNumReturnType(int type) {
    if (type == 1 || type == 2) {
        return WeekRule{type == 1 ? Weekday::Sunday : Weekday::Monday, WeekOne::CalendarYear};
    }
    if (type >= 11 && type <= 17) {  // Monday .. Sunday
        return WeekRule{static_cast<Weekday>(type - 10), WeekOne::CalendarYear};
    }
    if (type == 21) {
        return kIsoWeeks;
    }
    return std::nullopt;
}

int DayOfWeek(WeekRule rule, std::int64_t jdn) {
    return Position(rule, jdn) + 1;
}

std::int64_t WeekStart(WeekRule rule, std::int64_t jdn) {
    return jdn - Position(rule, jdn);
}

WeekDate ToWeekDate(WeekRule rule, std::int64_t jdn) {
    jdn = ClampJdn(jdn);
    const int position = Position(rule, jdn);
    if (rule.weekOne == WeekOne::CalendarYear) {
        // Weeks start on the rule's first day, and again on 1 January.
        const JanuaryDay d = JanuaryYearDay(jdn);
        return {d.year, (d.day - position + 6) / 7 + 1, position + 1};
    }
    const JanuaryDay anchor =
        JanuaryYearDay(jdn - position + 7 - MinimalDays(rule.weekOne));  // day 8 - m of the week
    return {anchor.year, anchor.day / 7 + 1, position + 1};
}

std::int64_t FromWeekDate(WeekRule rule, std::int64_t year, std::int32_t week, std::int32_t day) {
    return Week1Start(rule, ClampYear(year)) + 7 * (std::int64_t{week} - 1) + day - 1;
}

int WeeksInYear(WeekRule rule, std::int64_t year) {
    year = ClampYear(year);
    if (rule.weekOne == WeekOne::CalendarYear) {
        return (Position(rule, January1(year)) + DaysInYear(year) + 6) / 7;
    }
    return static_cast<int>((Week1Start(rule, year + 1) - Week1Start(rule, year)) / 7);
}

std::int64_t WeekYearStart(WeekRule rule, std::int64_t year) {
    year = ClampYear(year);
    return rule.weekOne == WeekOne::CalendarYear ? January1(year) : Week1Start(rule, year);
}

std::int64_t WeekYearEnd(WeekRule rule, std::int64_t year) {
    return WeekYearStart(rule, ClampYear(year) + 1) - 1;
}

DateProblem CheckWeekDate(WeekRule rule, std::int64_t year, std::int32_t week, std::int32_t day) {
    if (year < -kMaxWeekYear || year > kMaxWeekYear) {
        return DateProblem::YearOutOfRange;
    }
    if (day < 1 || day > 7) {
        return DateProblem::DayOutOfRange;
    }
    if (week < 1 || week > WeeksInYear(rule, year)) {
        return DateProblem::WeekOutOfRange;
    }
    if (rule.weekOne == WeekOne::CalendarYear) {
        const std::int64_t fromJanuary1 =
            7 * (std::int64_t{week} - 1) + day - 1 - Position(rule, January1(year));
        if (fromJanuary1 < 0 || fromJanuary1 >= DaysInYear(year)) {
            return DateProblem::DayOutsideYear;
        }
    }
    return DateProblem::None;
}

std::int64_t WeeksBetween(WeekRule rule, std::int64_t from, std::int64_t to) {
    return (WeekStart(rule, ClampJdn(to)) - WeekStart(rule, ClampJdn(from))) / 7;
}

std::optional<std::int64_t> AddWeeks(std::int64_t jdn, std::int64_t weeks) {
    constexpr std::int64_t kMaxWeeks = 2 * kMaxWeekJdn / 7 + 1;
    if (jdn < -kMaxWeekJdn || jdn > kMaxWeekJdn || weeks < -kMaxWeeks || weeks > kMaxWeeks) {
        return std::nullopt;
    }
    const std::int64_t result = jdn + 7 * weeks;
    if (result < -kMaxWeekJdn || result > kMaxWeekJdn) {
        return std::nullopt;
    }
    return result;
}

std::optional<std::int64_t> AddWeekYears(WeekRule rule, std::int64_t jdn, std::int64_t years) {
    if (jdn < -kMaxWeekJdn || jdn > kMaxWeekJdn || years < -2 * kMaxWeekYear ||
        years > 2 * kMaxWeekYear) {
        return std::nullopt;
    }
    const WeekDate date = ToWeekDate(rule, jdn);
    const std::int64_t year = date.year + years;
    if (year < -kMaxWeekYear || year > kMaxWeekYear) {
        return std::nullopt;
    }
    const std::int32_t week = std::min(date.week, WeeksInYear(rule, year));
    std::int64_t result = FromWeekDate(rule, year, week, date.day);
    if (rule.weekOne == WeekOne::CalendarYear) {
        result = std::clamp(result, WeekYearStart(rule, year), WeekYearEnd(rule, year));
    }
    if (result < -kMaxWeekJdn || result > kMaxWeekJdn) {
        return std::nullopt;
    }
    return result;
}

}  // namespace jdcore
