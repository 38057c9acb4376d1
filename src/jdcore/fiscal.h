// Fiscal years: years of calendar months starting in a chosen month, and 52/53-week years
// ending on a chosen weekday at the end of a chosen month, with periods of 4-4-5, 4-5-4 or
// 5-4-4 weeks in each quarter (the US retail calendar among them).
//
// Naming. A fiscal year's nominal months are the twelve months from its first month on (a
// 52/53-week year's first and last days may lie a few days outside them). FiscalYearName
// ByEndYear names it by the calendar year of its last nominal month, ByStartYear by that of its
// first: with a July start, ByEndYear calls 1 July 2026 - 30 June 2027 FY2027, ByStartYear
// FY2026. A year of the nominal months January to December has its own year's name either way.
//
// Quarters are three periods; a calendar-month fiscal year's periods are its months. Periods
// add as (year, period) pairs, keeping the day's place in the period: a day the target period
// lacks becomes its last day (a month), or its last week keeping the day of the week (a 4- or
// 5-week period). Quarters add as three periods, fiscal years as twelve.
//
// Everything is O(1): a few Gregorian conversions, never a loop. JDNs are exact within
// +-kMaxWeekJdn (week_rules.h) and clamped to it; the checks refuse years beyond kMaxWeekYear,
// the conversions clamp them a little further out. Rule fields out of range are taken as the
// nearest valid value. Uses the C++ standard library only.
#pragma once

#include <cstdint>
#include <optional>

#include "jdcore/week_rules.h"  // Weekday, DateProblem, kMaxWeekJdn, kMaxWeekYear

namespace jdcore {

enum class FiscalYearName : std::uint8_t { ByEndYear, ByStartYear };

struct FiscalSpan {
    std::int64_t first;  // JDN of the first day
    std::int64_t last;   // JDN of the last day
};

// ---- fiscal years of calendar months ---------------------------------------------------------

struct MonthFiscalRule {
    int firstMonth = 1;  // 1..12
    FiscalYearName naming = FiscalYearName::ByEndYear;
    friend constexpr bool operator==(const MonthFiscalRule&, const MonthFiscalRule&) = default;
};

struct MonthFiscalDate {
    std::int64_t year;       // by the rule's naming
    std::int32_t quarter;    // 1..4
    std::int32_t period;     // 1..12, the month of the fiscal year
    std::int32_t day;        // day of the period (of the month)
    std::int32_t dayOfYear;  // 1..366
};

MonthFiscalDate ToFiscalDate(const MonthFiscalRule& rule, std::int64_t jdn);
// A day beyond the period's length converts by plain arithmetic (into the next period).
std::int64_t FromFiscalDate(const MonthFiscalRule& rule, std::int64_t year, std::int32_t period,
                            std::int32_t day);
DateProblem CheckFiscalDate(const MonthFiscalRule& rule, std::int64_t year, std::int32_t period,
                            std::int32_t day);
int DaysInPeriod(const MonthFiscalRule& rule, std::int64_t year, std::int32_t period);
int PeriodMonth(const MonthFiscalRule& rule, std::int32_t period);  // its calendar month, 1..12

FiscalSpan FiscalYearSpan(const MonthFiscalRule& rule, std::int64_t year);
FiscalSpan QuarterSpan(const MonthFiscalRule& rule, std::int64_t year, std::int32_t quarter);
FiscalSpan PeriodSpan(const MonthFiscalRule& rule, std::int64_t year, std::int32_t period);

// Nothing when the result lies beyond +-kMaxWeekJdn.
std::optional<std::int64_t> AddPeriods(const MonthFiscalRule& rule, std::int64_t jdn,
                                       std::int64_t periods);
std::optional<std::int64_t> AddQuarters(const MonthFiscalRule& rule, std::int64_t jdn,
                                        std::int64_t quarters);
std::optional<std::int64_t> AddFiscalYears(const MonthFiscalRule& rule, std::int64_t jdn,
                                           std::int64_t years);
// Period starts passed going from `from` to `to` (negative backwards): AddPeriods(from, n)
// lies in the period of `to`.
std::int64_t PeriodsBetween(const MonthFiscalRule& rule, std::int64_t from, std::int64_t to);

// ---- 52/53-week fiscal years -------------------------------------------------------------------

// The year ends on the last `endWeekday` of `endMonth`, or on the `endWeekday` nearest the
// month's last day (up to three days into the next month).
enum class YearEnd : std::uint8_t { LastWeekday, NearestWeekday };
// Weeks of the three periods of each quarter.
enum class PeriodPattern : std::uint8_t { Weeks445, Weeks454, Weeks544 };

struct WeekFiscalRule {
    int endMonth = 12;  // 1..12
    Weekday endWeekday = Weekday::Saturday;
    YearEnd yearEnd = YearEnd::LastWeekday;
    PeriodPattern pattern = PeriodPattern::Weeks445;
    int extraWeekPeriod = 12;  // 1..12: the period a 53-week year gives its 53rd week
    FiscalYearName naming = FiscalYearName::ByEndYear;
    friend constexpr bool operator==(const WeekFiscalRule&, const WeekFiscalRule&) = default;
};

// The US retail (NRF) 4-5-4 calendar: the year ends on the Saturday nearest 31 January; a 53rd
// week goes to the last period (January). Fiscal 2023 ran from 29 January 2023 to 3 February
// 2024: years are named by the calendar year they start in.
inline constexpr WeekFiscalRule kRetail454{
    1,  Weekday::Saturday,          YearEnd::NearestWeekday, PeriodPattern::Weeks454,
    12, FiscalYearName::ByStartYear};

struct WeekFiscalDate {
    std::int64_t year;          // by the rule's naming
    std::int32_t quarter;       // 1..4
    std::int32_t period;        // 1..12
    std::int32_t week;          // 1..53, week of the year
    std::int32_t weekOfPeriod;  // 1..6
    std::int32_t day;           // 1..7, 1 = the day after the end weekday
    std::int32_t dayOfPeriod;   // 1..42
    std::int32_t dayOfYear;     // 1..371
};

WeekFiscalDate ToFiscalDate(const WeekFiscalRule& rule, std::int64_t jdn);
// Any week, week of period and day convert by plain arithmetic, so a day of the period converts
// as (period, week 1, dayOfPeriod); the checks say whether they lie in the year or period.
std::int64_t FromFiscalWeek(const WeekFiscalRule& rule, std::int64_t year, std::int32_t week,
                            std::int32_t day);
std::int64_t FromFiscalPeriod(const WeekFiscalRule& rule, std::int64_t year, std::int32_t period,
                              std::int32_t weekOfPeriod, std::int32_t day);
DateProblem CheckFiscalWeek(const WeekFiscalRule& rule, std::int64_t year, std::int32_t week,
                            std::int32_t day);
DateProblem CheckFiscalPeriod(const WeekFiscalRule& rule, std::int64_t year, std::int32_t period,
                              std::int32_t weekOfPeriod, std::int32_t day);

int WeeksInFiscalYear(const WeekFiscalRule& rule, std::int64_t year);                   // 52 or 53
int WeeksInPeriod(const WeekFiscalRule& rule, std::int64_t year, std::int32_t period);  // 4..6
// The calendar month a period stands for: period n, the n-th month after the end month.
int PeriodMonth(const WeekFiscalRule& rule, std::int32_t period);

FiscalSpan FiscalYearSpan(const WeekFiscalRule& rule, std::int64_t year);
FiscalSpan QuarterSpan(const WeekFiscalRule& rule, std::int64_t year, std::int32_t quarter);
FiscalSpan PeriodSpan(const WeekFiscalRule& rule, std::int64_t year, std::int32_t period);

// Nothing when the result lies beyond +-kMaxWeekJdn. Weeks are whole weeks (AddWeeks).
std::optional<std::int64_t> AddPeriods(const WeekFiscalRule& rule, std::int64_t jdn,
                                       std::int64_t periods);
std::optional<std::int64_t> AddQuarters(const WeekFiscalRule& rule, std::int64_t jdn,
                                        std::int64_t quarters);
std::optional<std::int64_t> AddFiscalYears(const WeekFiscalRule& rule, std::int64_t jdn,
                                           std::int64_t years);
std::int64_t PeriodsBetween(const WeekFiscalRule& rule, std::int64_t from, std::int64_t to);
// Fiscal week starts (days after the end weekday) passed going from `from` to `to`.
std::int64_t WeeksBetween(const WeekFiscalRule& rule, std::int64_t from, std::int64_t to);

}  // namespace jdcore
