// Fiscal years (see fiscal.h and docs/weeks-and-fiscal-years.md).
//
// Inside, a fiscal year is numbered by the calendar year of its last nominal month (the end
// month of a 52/53-week year); a name by the first month is one less unless that month is
// January. Periods are counted across years as 12 * year + period - 1, so that adding periods
// and their differences are plain sums.
#include "jdcore/fiscal.h"

#include <algorithm>
#include <array>

#include "jdcore/day_count.h"

namespace jdcore {
namespace {

inline constexpr std::int64_t kArithmeticYears = 6'000'000;  // as in week_rules.cpp
// Beyond these counts no day of the range reaches another one.
inline constexpr std::int64_t kMaxPeriods = 12 * 2 * kMaxWeekYear + 24;

constexpr std::int64_t ClampJdn(std::int64_t jdn) {
    return std::clamp(jdn, -kMaxWeekJdn, kMaxWeekJdn);
}
constexpr std::int64_t ClampYear(std::int64_t year) {
    return std::clamp(year, -kArithmeticYears, kArithmeticYears);
}
constexpr bool InRange(std::int64_t jdn) {
    return jdn >= -kMaxWeekJdn && jdn <= kMaxWeekJdn;
}
constexpr std::optional<std::int64_t> IfInRange(std::int64_t jdn) {
    return InRange(jdn) ? std::optional<std::int64_t>(jdn) : std::nullopt;
}

constexpr std::int64_t NameOffset(FiscalYearName naming, int firstMonth) {
    return naming == FiscalYearName::ByStartYear && firstMonth != 1 ? -1 : 0;
}

// Periods counted from period 1 of year 0 and back.
struct YearPeriod {
    std::int64_t year;
    std::int32_t period;  // 1..12
};
constexpr YearPeriod FromPeriodIndex(std::int64_t index) {
    return {floor_div(index, 12), static_cast<std::int32_t>(floor_mod(index, 12)) + 1};
}

// ---- calendar months ----------------------------------------------------------------------

constexpr int FirstMonth(const MonthFiscalRule& rule) {
    return std::clamp(rule.firstMonth, 1, 12);
}

// Months counted from January of year 0: the first month of (inside) fiscal year e, which
// starts in the calendar year before unless it starts in January.
constexpr std::int64_t FirstMonthIndex(int firstMonth, std::int64_t e) {
    return 12 * e + firstMonth - 1 - (firstMonth > 1 ? 12 : 0);
}

constexpr std::int64_t MonthStart(std::int64_t monthIndex) {
    return jdn_from_gregorian(floor_div(monthIndex, 12), floor_mod(monthIndex, 12) + 1, 1);
}
constexpr int MonthLength(std::int64_t monthIndex) {
    return month_length(floor_mod(monthIndex, 12) + 1, gregorian_leap(floor_div(monthIndex, 12)));
}

// The month index of a period, for any period (13 is the next year's first).
constexpr std::int64_t PeriodMonthIndex(const MonthFiscalRule& rule, std::int64_t year,
                                        std::int32_t period) {
    const int first = FirstMonth(rule);
    const std::int64_t e = ClampYear(year) - NameOffset(rule.naming, first);
    return FirstMonthIndex(first, e) + period - 1;
}

struct CalendarDay {
    std::int64_t monthIndex;
    std::int32_t day;
};
constexpr CalendarDay CalendarDayOf(std::int64_t jdn) {
    const YearMonthDay d = gregorian_from_jdn32(static_cast<std::int32_t>(ClampJdn(jdn)));
    return {12 * d.year + d.month - 1, d.day};
}

// The days from the first of the last `month` (1..12) begun on or before a day, and that
// month's calendar year: from the day's place in its counting year (from 1 March), without a
// second conversion.
struct SinceMonth {
    std::int64_t year;
    std::int32_t days;  // [0, 365]
};
constexpr SinceMonth SinceFirstOf(int month, MarchYearDay day) {
    const bool early = month < 3;  // January and February end a counting year
    const auto first = static_cast<std::int32_t>(
        month_days_after_march(static_cast<std::uint64_t>(month + (early ? 12 : 0))));  // [0, 337]
    const auto doy = static_cast<std::int32_t>(day.doy);
    if (doy >= first) {
        return {day.year + (early ? 1 : 0), doy - first};
    }
    // In the counting year before, which ends with the leap day of `day.year`.
    return {day.year - 1 + (early ? 1 : 0), doy - first + 365 + (gregorian_leap(day.year) ? 1 : 0)};
}

// ---- 52/53-week years ---------------------------------------------------------------------

// Weeks of the three periods of a quarter, by pattern.
inline constexpr std::array<std::array<int, 3>, 3> kQuarterWeeks = {
    {{4, 4, 5}, {4, 5, 4}, {5, 4, 4}}};

// Weeks of a 52-week year before period p (0..12), by pattern.
inline constexpr auto kWeeksBefore = [] {
    std::array<std::array<int, 13>, 3> before{};
    for (std::size_t pattern = 0; pattern < 3; ++pattern) {
        for (std::size_t p = 0; p < 12; ++p) {
            before[pattern][p + 1] = before[pattern][p] + kQuarterWeeks[pattern][p % 3];
        }
    }
    return before;
}();

// The period (1..12) of each week (0..51) of a 52-week year, by pattern.
inline constexpr auto kPeriodOfWeek = [] {
    std::array<std::array<std::uint8_t, 52>, 3> periods{};
    for (std::size_t pattern = 0; pattern < 3; ++pattern) {
        std::uint8_t p = 1;
        for (int w = 0; w < 52; ++w) {
            p = static_cast<std::uint8_t>(w >= kWeeksBefore[pattern][p] ? p + 1 : p);
            periods[pattern][static_cast<std::size_t>(w)] = p;
        }
    }
    return periods;
}();

// Every quarter has 13 weeks, and each week lies in the period the counts give it.
constexpr bool PeriodTablesHold() {
    for (std::size_t pattern = 0; pattern < 3; ++pattern) {
        for (std::size_t q = 0; q <= 4; ++q) {
            if (kWeeksBefore[pattern][3 * q] != static_cast<int>(13 * q)) {
                return false;
            }
        }
        for (int w = 0; w < 52; ++w) {
            const std::size_t p = kPeriodOfWeek[pattern][static_cast<std::size_t>(w)];
            if (w < kWeeksBefore[pattern][p - 1] || w >= kWeeksBefore[pattern][p]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(PeriodTablesHold());

// A rule with its fields brought into range.
struct WeekShape {
    int endMonth;    // 1..12
    int endWeekday;  // 1..7, Monday = 1
    int lateDays;    // 3 for the nearest weekday: the year may end up to 3 days late
    std::size_t pattern;
    int extraPeriod;  // 1..12
    std::int64_t nameOffset;
};
constexpr WeekShape ShapeOf(const WeekFiscalRule& rule) {
    const int endMonth = std::clamp(rule.endMonth, 1, 12);
    return {endMonth,
            std::clamp(static_cast<int>(rule.endWeekday), 1, 7),
            rule.yearEnd == YearEnd::NearestWeekday ? 3 : 0,
            std::min<std::size_t>(static_cast<std::size_t>(rule.pattern), 2),
            std::clamp(rule.extraWeekPeriod, 1, 12),
            NameOffset(rule.naming, endMonth % 12 + 1)};
}

// The last day of (inside) year e: the end weekday on or before the end month's last day, or
// on or before three days after it (the nearest one).
constexpr std::int64_t LatestEnd(const WeekShape& s, std::int64_t e) {
    return jdn_from_gregorian(e + (s.endMonth == 12 ? 1 : 0), s.endMonth % 12 + 1, 1) - 1 +
           s.lateDays;
}
constexpr std::int64_t EndOnOrBefore(const WeekShape& s, std::int64_t latest) {
    return latest - floor_mod(latest - s.endWeekday + 1, 7);
}
constexpr std::int64_t YearEndDay(const WeekShape& s, std::int64_t e) {
    return EndOnOrBefore(s, LatestEnd(s, e));
}

struct WeekYear {
    std::int64_t start;  // first day
    bool isLong;         // 53 weeks
};
constexpr WeekYear WeekYearOf(const WeekShape& s, std::int64_t e) {
    // A year from one end month to the next holds the February of year e, or of e - 1 when the
    // year ends in January.
    const std::int64_t latestBefore = LatestEnd(s, e - 1);
    const std::int64_t latest =
        latestBefore + 365 + (gregorian_leap(s.endMonth >= 2 ? e : e - 1) ? 1 : 0);
    const std::int64_t start = EndOnOrBefore(s, latestBefore) + 1;
    return {start, EndOnOrBefore(s, latest) - start == 7 * 53 - 1};
}

// Weeks before period p (1..13) of a year.
constexpr int WeeksBeforePeriod(const WeekShape& s, bool isLong, std::int32_t p) {
    return kWeeksBefore[s.pattern][static_cast<std::size_t>(p - 1)] +
           (isLong && p > s.extraPeriod ? 1 : 0);
}
constexpr int WeeksOfPeriod(const WeekShape& s, bool isLong, std::int32_t p) {
    return WeeksBeforePeriod(s, isLong, p + 1) - WeeksBeforePeriod(s, isLong, p);
}

// A day's place in its (inside) year e.
struct WeekPlace {
    std::int64_t e;
    std::int64_t start;  // the year's first day
    std::int32_t week;   // 1..53
    std::int32_t day;    // 1..7
    std::int32_t period;
    std::int32_t weekOfPeriod;
};

constexpr WeekPlace Locate(const WeekShape& s, std::int64_t jdn) {
    jdn = ClampJdn(jdn);
    // The day's fiscal week ends on the next end weekday (or on the day itself); the week
    // belongs to the year whose end month's last day, plus the late days, it does not pass:
    // the year whose first nominal month began last, that many days before.
    const std::int64_t weekEnd = jdn + floor_mod(s.endWeekday - 1 - jdn, 7);
    const std::int64_t t = weekEnd - s.lateDays;
    const SinceMonth first =
        SinceFirstOf(s.endMonth % 12 + 1, gregorian_march_year_day32(static_cast<std::int32_t>(t)));
    const std::int64_t e = first.year + (s.endMonth == 12 ? 0 : 1);
    const std::int64_t latest = t - first.days - 1 + s.lateDays;  // of the year before
    const std::int64_t start = latest - floor_mod(latest - s.endWeekday + 1, 7) + 1;
    const auto days = static_cast<std::int32_t>(jdn - start);  // [0, 370]
    const std::int32_t week = days / 7 + 1;
    // Only the weeks after the extra week's period need to know whether the year has it.
    const int extraEnd = kWeeksBefore[s.pattern][static_cast<std::size_t>(s.extraPeriod)];
    const bool isLong = week > extraEnd && (week == 53 || WeekYearOf(s, e).isLong);
    const std::int32_t shifted = isLong && week > extraEnd + 1 ? week - 1 : week;
    const std::int32_t period =
        isLong && week == extraEnd + 1
            ? s.extraPeriod
            : kPeriodOfWeek[s.pattern][static_cast<std::size_t>(shifted - 1)];
    return {e, start, week, days % 7 + 1, period, week - WeeksBeforePeriod(s, isLong, period)};
}

// The first day of a period, for any period (13 is the next year's first).
constexpr std::int64_t WeekPeriodStart(const WeekShape& s, std::int64_t e, std::int64_t period) {
    const YearPeriod yp = FromPeriodIndex(12 * ClampYear(e) + period - 1);
    const WeekYear y = WeekYearOf(s, yp.year);
    return y.start + 7 * WeeksBeforePeriod(s, y.isLong, yp.period);
}

}  // namespace

// ---- calendar months ----------------------------------------------------------------------

MonthFiscalDate ToFiscalDate(const MonthFiscalRule& rule, std::int64_t jdn) {
    jdn = ClampJdn(jdn);
    const int first = FirstMonth(rule);
    const MarchYearDay yd = gregorian_march_year_day32(static_cast<std::int32_t>(jdn));
    const YearMonthDay d = march_day_to_date(yd.year, yd.doy);
    const std::int32_t period = (d.month - first + 12) % 12 + 1;
    const SinceMonth start = SinceFirstOf(first, yd);
    const std::int64_t e = start.year + (first > 1 ? 1 : 0);
    return {e + NameOffset(rule.naming, first), (period - 1) / 3 + 1, period, d.day,
            start.days + 1};
}

std::int64_t FromFiscalDate(const MonthFiscalRule& rule, std::int64_t year, std::int32_t period,
                            std::int32_t day) {
    return MonthStart(PeriodMonthIndex(rule, year, period)) + day - 1;
}

int DaysInPeriod(const MonthFiscalRule& rule, std::int64_t year, std::int32_t period) {
    return MonthLength(PeriodMonthIndex(rule, year, period));
}

DateProblem CheckFiscalDate(const MonthFiscalRule& rule, std::int64_t year, std::int32_t period,
                            std::int32_t day) {
    if (year < -kMaxWeekYear || year > kMaxWeekYear) {
        return DateProblem::YearOutOfRange;
    }
    if (period < 1 || period > 12) {
        return DateProblem::PeriodOutOfRange;
    }
    return day >= 1 && day <= DaysInPeriod(rule, year, period) ? DateProblem::None
                                                               : DateProblem::DayOutOfRange;
}

int PeriodMonth(const MonthFiscalRule& rule, std::int32_t period) {
    return static_cast<int>(floor_mod(FirstMonth(rule) + std::int64_t{period} - 2, 12)) + 1;
}

FiscalSpan PeriodSpan(const MonthFiscalRule& rule, std::int64_t year, std::int32_t period) {
    const std::int64_t index = PeriodMonthIndex(rule, year, period);
    return {MonthStart(index), MonthStart(index + 1) - 1};
}

FiscalSpan QuarterSpan(const MonthFiscalRule& rule, std::int64_t year, std::int32_t quarter) {
    const std::int64_t index = PeriodMonthIndex(rule, year, 3 * quarter - 2);
    return {MonthStart(index), MonthStart(index + 3) - 1};
}

FiscalSpan FiscalYearSpan(const MonthFiscalRule& rule, std::int64_t year) {
    const std::int64_t index = PeriodMonthIndex(rule, year, 1);
    return {MonthStart(index), MonthStart(index + 12) - 1};
}

std::optional<std::int64_t> AddPeriods(const MonthFiscalRule&, std::int64_t jdn,
                                       std::int64_t periods) {
    // The periods are the calendar months, wherever the year starts.
    if (!InRange(jdn) || periods < -kMaxPeriods || periods > kMaxPeriods) {
        return std::nullopt;
    }
    const CalendarDay d = CalendarDayOf(jdn);
    const std::int64_t index = d.monthIndex + periods;
    return IfInRange(MonthStart(index) + std::min(d.day, MonthLength(index)) - 1);
}

std::optional<std::int64_t> AddQuarters(const MonthFiscalRule& rule, std::int64_t jdn,
                                        std::int64_t quarters) {
    return AddPeriods(rule, jdn, std::clamp(quarters, -kMaxPeriods, kMaxPeriods) * 3);
}

std::optional<std::int64_t> AddFiscalYears(const MonthFiscalRule& rule, std::int64_t jdn,
                                           std::int64_t years) {
    return AddPeriods(rule, jdn, std::clamp(years, -kMaxPeriods, kMaxPeriods) * 12);
}

std::int64_t PeriodsBetween(const MonthFiscalRule&, std::int64_t from, std::int64_t to) {
    return CalendarDayOf(to).monthIndex - CalendarDayOf(from).monthIndex;
}

// ---- 52/53-week years ---------------------------------------------------------------------

WeekFiscalDate ToFiscalDate(const WeekFiscalRule& rule, std::int64_t jdn) {
    const WeekShape s = ShapeOf(rule);
    const WeekPlace p = Locate(s, jdn);
    return {p.e + s.nameOffset,
            (p.period - 1) / 3 + 1,
            p.period,
            p.week,
            p.weekOfPeriod,
            p.day,
            7 * (p.weekOfPeriod - 1) + p.day,
            7 * (p.week - 1) + p.day};
}

std::int64_t FromFiscalWeek(const WeekFiscalRule& rule, std::int64_t year, std::int32_t week,
                            std::int32_t day) {
    const WeekShape s = ShapeOf(rule);
    return YearEndDay(s, ClampYear(year) - s.nameOffset - 1) + 7 * (std::int64_t{week} - 1) + day;
}

std::int64_t FromFiscalPeriod(const WeekFiscalRule& rule, std::int64_t year, std::int32_t period,
                              std::int32_t weekOfPeriod, std::int32_t day) {
    const WeekShape s = ShapeOf(rule);
    return WeekPeriodStart(s, ClampYear(year) - s.nameOffset, period) +
           7 * (std::int64_t{weekOfPeriod} - 1) + day - 1;
}

int WeeksInFiscalYear(const WeekFiscalRule& rule, std::int64_t year) {
    const WeekShape s = ShapeOf(rule);
    return WeekYearOf(s, ClampYear(year) - s.nameOffset).isLong ? 53 : 52;
}

int WeeksInPeriod(const WeekFiscalRule& rule, std::int64_t year, std::int32_t period) {
    const WeekShape s = ShapeOf(rule);
    const std::int64_t e = ClampYear(year) - s.nameOffset;
    return WeeksOfPeriod(s, WeekYearOf(s, e).isLong, std::clamp(period, 1, 12));
}

DateProblem CheckFiscalWeek(const WeekFiscalRule& rule, std::int64_t year, std::int32_t week,
                            std::int32_t day) {
    if (year < -kMaxWeekYear || year > kMaxWeekYear) {
        return DateProblem::YearOutOfRange;
    }
    if (day < 1 || day > 7) {
        return DateProblem::DayOutOfRange;
    }
    return week >= 1 && week <= WeeksInFiscalYear(rule, year) ? DateProblem::None
                                                              : DateProblem::WeekOutOfRange;
}

DateProblem CheckFiscalPeriod(const WeekFiscalRule& rule, std::int64_t year, std::int32_t period,
                              std::int32_t weekOfPeriod, std::int32_t day) {
    if (year < -kMaxWeekYear || year > kMaxWeekYear) {
        return DateProblem::YearOutOfRange;
    }
    if (period < 1 || period > 12) {
        return DateProblem::PeriodOutOfRange;
    }
    if (day < 1 || day > 7) {
        return DateProblem::DayOutOfRange;
    }
    return weekOfPeriod >= 1 && weekOfPeriod <= WeeksInPeriod(rule, year, period)
               ? DateProblem::None
               : DateProblem::WeekOutOfRange;
}

int PeriodMonth(const WeekFiscalRule& rule, std::int32_t period) {
    return static_cast<int>(floor_mod(ShapeOf(rule).endMonth + std::int64_t{period} - 1, 12)) + 1;
}

FiscalSpan FiscalYearSpan(const WeekFiscalRule& rule, std::int64_t year) {
    const WeekShape s = ShapeOf(rule);
    const std::int64_t e = ClampYear(year) - s.nameOffset;
    const WeekYear y = WeekYearOf(s, e);
    return {y.start, y.start + (y.isLong ? 7 * 53 : 7 * 52) - 1};
}

FiscalSpan QuarterSpan(const WeekFiscalRule& rule, std::int64_t year, std::int32_t quarter) {
    const WeekShape s = ShapeOf(rule);
    const std::int64_t e = ClampYear(year) - s.nameOffset;
    return {WeekPeriodStart(s, e, 3 * std::int64_t{quarter} - 2),
            WeekPeriodStart(s, e, 3 * std::int64_t{quarter} + 1) - 1};
}

FiscalSpan PeriodSpan(const WeekFiscalRule& rule, std::int64_t year, std::int32_t period) {
    const WeekShape s = ShapeOf(rule);
    const std::int64_t e = ClampYear(year) - s.nameOffset;
    return {WeekPeriodStart(s, e, period), WeekPeriodStart(s, e, std::int64_t{period} + 1) - 1};
}

std::optional<std::int64_t> AddPeriods(const WeekFiscalRule& rule, std::int64_t jdn,
                                       std::int64_t periods) {
    if (!InRange(jdn) || periods < -kMaxPeriods || periods > kMaxPeriods) {
        return std::nullopt;
    }
    const WeekShape s = ShapeOf(rule);
    const WeekPlace p = Locate(s, jdn);
    const YearPeriod to = FromPeriodIndex(12 * p.e + p.period - 1 + periods);
    if (to.year < -kMaxWeekYear || to.year > kMaxWeekYear) {
        return std::nullopt;
    }
    const WeekYear y = WeekYearOf(s, to.year);
    const int week = std::min(p.weekOfPeriod, WeeksOfPeriod(s, y.isLong, to.period));
    return IfInRange(y.start + 7 * (WeeksBeforePeriod(s, y.isLong, to.period) + week - 1) + p.day -
                     1);
}

std::optional<std::int64_t> AddQuarters(const WeekFiscalRule& rule, std::int64_t jdn,
                                        std::int64_t quarters) {
    return AddPeriods(rule, jdn, std::clamp(quarters, -kMaxPeriods, kMaxPeriods) * 3);
}

std::optional<std::int64_t> AddFiscalYears(const WeekFiscalRule& rule, std::int64_t jdn,
                                           std::int64_t years) {
    return AddPeriods(rule, jdn, std::clamp(years, -kMaxPeriods, kMaxPeriods) * 12);
}

std::int64_t PeriodsBetween(const WeekFiscalRule& rule, std::int64_t from, std::int64_t to) {
    const WeekShape s = ShapeOf(rule);
    const WeekPlace a = Locate(s, from);
    const WeekPlace b = Locate(s, to);
    return 12 * (b.e - a.e) + b.period - a.period;
}

std::int64_t WeeksBetween(const WeekFiscalRule& rule, std::int64_t from, std::int64_t to) {
    // Fiscal weeks start on the day after the end weekday.
    const int first = ShapeOf(rule).endWeekday % 7 + 1;
    return WeeksBetween(WeekRule{static_cast<Weekday>(first), WeekOne::FourDays}, from, to);
}

}  // namespace jdcore
