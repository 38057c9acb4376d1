// Fiscal years against their definition: every 52/53-week year of 1950-2100 for every end
// month, end weekday, end rule and period pattern (day by day for a seventh of them), the US
// retail calendar's published facts, calendar-month fiscal years day by day, and adding periods
// against stepping from period to period.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <type_traits>
#include <vector>

#include "jdcore/fiscal.h"

namespace jdcore {
namespace {

namespace chr = std::chrono;
constexpr std::int64_t kUnixEpochJdn = 2440588;

std::int64_t Jdn(chr::year_month_day date) {
    return chr::sys_days{date}.time_since_epoch().count() + kUnixEpochJdn;
}
std::int64_t Jdn(int y, unsigned m, unsigned d) {
    return Jdn(chr::year{y} / m / d);
}
int IsoWeekdayOf(std::int64_t jdn) {
    return static_cast<int>(
        chr::weekday{chr::sys_days{chr::days{jdn - kUnixEpochJdn}}}.iso_encoding());
}

// The last day of the year whose end month lies in `year`, from the definition: the last
// `weekday` of the month, or the `weekday` nearest the month's last day.
std::int64_t LastDayOfYear(const WeekFiscalRule& rule, int year) {
    const std::int64_t monthEnd =
        Jdn(chr::year{year} / static_cast<unsigned>(rule.endMonth) / chr::last);
    const int w = static_cast<int>(rule.endWeekday);
    if (rule.yearEnd == YearEnd::NearestWeekday) {
        for (int k = -3; k <= 3; ++k) {
            if (IsoWeekdayOf(monthEnd + k) == w) {
                return monthEnd + k;
            }
        }
    }
    std::int64_t d = monthEnd;
    while (IsoWeekdayOf(d) != w) {
        --d;
    }
    return d;
}

int PatternWeeks(PeriodPattern pattern, int period) {
    constexpr int kWeeks[3][3] = {{4, 4, 5}, {4, 5, 4}, {5, 4, 4}};
    return kWeeks[static_cast<int>(pattern)][(period - 1) % 3];
}

// Every end month, end weekday, end rule and pattern, the 53rd week in the last period or in
// another one, years named by their end.
std::vector<WeekFiscalRule> EveryWeekRule() {
    std::vector<WeekFiscalRule> rules;
    for (int month = 1; month <= 12; ++month) {
        for (int weekday = 1; weekday <= 7; ++weekday) {
            for (int kind = 0; kind < 12; ++kind) {
                rules.push_back(
                    {month, static_cast<Weekday>(weekday), static_cast<YearEnd>(kind % 2),
                     static_cast<PeriodPattern>(kind / 2 % 3),
                     kind < 6 ? 12 : 1 + (month + weekday) % 11, FiscalYearName::ByEndYear});
            }
        }
    }
    return rules;
}

TEST(Fiscal, EveryWeekYearOf1950To2100LaysOutAsDefined) {
    for (const WeekFiscalRule& rule : EveryWeekRule()) {
        const bool dayByDay = static_cast<int>(rule.endWeekday) == 1 + rule.endMonth % 7;
        for (int year = 1950; year <= 2100; ++year) {
            const std::int64_t first = LastDayOfYear(rule, year - 1) + 1;
            const std::int64_t last = LastDayOfYear(rule, year);
            const int weeks = static_cast<int>((last - first + 1) / 7);
            ASSERT_TRUE((last - first + 1) % 7 == 0 && (weeks == 52 || weeks == 53));
            const FiscalSpan span = FiscalYearSpan(rule, year);
            ASSERT_TRUE(span.first == first && span.last == last)
                << rule.endMonth << " " << static_cast<int>(rule.endWeekday) << " " << year;
            ASSERT_EQ(WeeksInFiscalYear(rule, year), weeks);
            // Periods of the pattern's weeks, the 53rd week in the chosen one.
            std::int64_t start = first;
            for (int period = 1; period <= 12; ++period) {
                const int length = PatternWeeks(rule.pattern, period) +
                                   (weeks == 53 && period == rule.extraWeekPeriod ? 1 : 0);
                const FiscalSpan p = PeriodSpan(rule, year, period);
                ASSERT_TRUE(p.first == start && p.last == start + 7 * length - 1)
                    << year << " P" << period;
                ASSERT_EQ(WeeksInPeriod(rule, year, period), length);
                // Every day, or the period's first and last days.
                for (std::int64_t jdn = start; jdn < start + 7 * length;
                     jdn += dayByDay ? 1 : 7 * length - 1) {
                    const WeekFiscalDate d = ToFiscalDate(rule, jdn);
                    const std::int64_t inPeriod = jdn - start;
                    ASSERT_TRUE(d.year == year && d.period == period &&
                                d.quarter == (period + 2) / 3 && d.week == (jdn - first) / 7 + 1 &&
                                d.weekOfPeriod == inPeriod / 7 + 1 && d.day == inPeriod % 7 + 1 &&
                                d.dayOfPeriod == inPeriod + 1 && d.dayOfYear == jdn - first + 1)
                        << "JDN " << jdn << ": " << d.year << " P" << d.period << " W" << d.week
                        << "/" << d.weekOfPeriod << "-" << d.day;
                    ASSERT_EQ(FromFiscalWeek(rule, year, d.week, d.day), jdn);
                    ASSERT_EQ(FromFiscalPeriod(rule, year, period, d.weekOfPeriod, d.day), jdn);
                    ASSERT_EQ(FromFiscalPeriod(rule, year, period, 1, d.dayOfPeriod), jdn);
                }
                start += 7 * length;
            }
            ASSERT_EQ(start, last + 1);
            const FiscalSpan q4 = QuarterSpan(rule, year, 4);
            ASSERT_TRUE(q4.first == PeriodSpan(rule, year, 10).first && q4.last == last);
        }
    }
}

// The US retail calendar: its 53-week years, fiscal 2023 (29 January 2023 - 3 February 2024)
// and its months of 4, 5 and 4 weeks from February on, January taking the 53rd week.
TEST(Fiscal, RetailCalendarFacts) {
    for (int year = 1996; year <= 2027; ++year) {
        const bool long53 =
            year == 2000 || year == 2006 || year == 2012 || year == 2017 || year == 2023;
        EXPECT_EQ(WeeksInFiscalYear(kRetail454, year), long53 ? 53 : 52) << year;
    }
    const FiscalSpan fy2023 = FiscalYearSpan(kRetail454, 2023);
    EXPECT_TRUE(fy2023.first == Jdn(2023, 1, 29) && fy2023.last == Jdn(2024, 2, 3));
    constexpr int kWeeks2023[] = {4, 5, 4, 4, 5, 4, 4, 5, 4, 4, 5, 5};
    for (int period = 1; period <= 12; ++period) {
        EXPECT_EQ(WeeksInPeriod(kRetail454, 2023, period), kWeeks2023[period - 1]) << period;
        EXPECT_EQ(PeriodMonth(kRetail454, period), period % 12 + 1) << period;
    }
    const WeekFiscalDate last = ToFiscalDate(kRetail454, Jdn(2024, 2, 3));  // a Saturday
    EXPECT_TRUE(last.year == 2023 && last.quarter == 4 && last.period == 12 && last.week == 53 &&
                last.weekOfPeriod == 5 && last.day == 7);
    const WeekFiscalDate next = ToFiscalDate(kRetail454, Jdn(2024, 2, 4));
    EXPECT_TRUE(next.year == 2024 && next.period == 1 && next.week == 1 && next.day == 1);
    // The 53rd week a fiscal year later is the last week, same weekday.
    EXPECT_EQ(AddFiscalYears(kRetail454, Jdn(2024, 2, 3), 1), Jdn(2025, 2, 1));
    EXPECT_EQ(CheckFiscalWeek(kRetail454, 2022, 53, 1), DateProblem::WeekOutOfRange);
    EXPECT_EQ(CheckFiscalWeek(kRetail454, 2023, 53, 1), DateProblem::None);
    EXPECT_EQ(CheckFiscalWeek(kRetail454, 2023, 1, 0), DateProblem::DayOutOfRange);
    EXPECT_EQ(CheckFiscalPeriod(kRetail454, 2023, 13, 1, 1), DateProblem::PeriodOutOfRange);
    EXPECT_EQ(CheckFiscalPeriod(kRetail454, 2022, 12, 5, 1), DateProblem::WeekOutOfRange);
    EXPECT_EQ(CheckFiscalPeriod(kRetail454, 6'000'000, 1, 1, 1), DateProblem::YearOutOfRange);
}

TEST(Fiscal, EveryDayOfCalendarMonthYears1950To2100) {
    for (int firstMonth = 1; firstMonth <= 12; ++firstMonth) {
        for (FiscalYearName naming : {FiscalYearName::ByEndYear, FiscalYearName::ByStartYear}) {
            const MonthFiscalRule rule{firstMonth, naming};
            for (int year = 1951; year <= 2099; ++year) {
                // The year's first month lies in `year` when named by it, else in the year
                // before unless it is January.
                const bool namedByStart = naming == FiscalYearName::ByStartYear || firstMonth == 1;
                const chr::year_month_day start{chr::year{namedByStart ? year : year - 1} /
                                                static_cast<unsigned>(firstMonth) / 1};
                const std::int64_t first = Jdn(start);
                const std::int64_t end = Jdn(start + chr::years{1});
                int period = 0;
                for (std::int64_t jdn = first; jdn < end; ++jdn) {
                    const chr::year_month_day civil{chr::sys_days{chr::days{jdn - kUnixEpochJdn}}};
                    period += civil.day() == chr::day{1} ? 1 : 0;
                    const MonthFiscalDate d = ToFiscalDate(rule, jdn);
                    const auto day = static_cast<int>(static_cast<unsigned>(civil.day()));
                    ASSERT_TRUE(d.year == year && d.period == period &&
                                d.quarter == (period + 2) / 3 && d.day == day &&
                                d.dayOfYear == jdn - first + 1)
                        << firstMonth << " JDN " << jdn << ": FY" << d.year << " P" << d.period;
                    ASSERT_EQ(FromFiscalDate(rule, year, period, day), jdn);
                    ASSERT_EQ(CheckFiscalDate(rule, year, period, day), DateProblem::None);
                    ASSERT_EQ(PeriodMonth(rule, period),
                              static_cast<int>(static_cast<unsigned>(civil.month())));
                }
                const FiscalSpan span = FiscalYearSpan(rule, year);
                ASSERT_TRUE(span.first == first && span.last == end - 1) << year;
                ASSERT_EQ(period, 12);
            }
        }
    }
    // Named by the end year, FY2027 from July; by the start year, Japan's FY2024 from April.
    const FiscalSpan fy2027 = FiscalYearSpan(MonthFiscalRule{7, FiscalYearName::ByEndYear}, 2027);
    EXPECT_TRUE(fy2027.first == Jdn(2026, 7, 1) && fy2027.last == Jdn(2027, 6, 30));
    const FiscalSpan japan = FiscalYearSpan(MonthFiscalRule{4, FiscalYearName::ByStartYear}, 2024);
    EXPECT_TRUE(japan.first == Jdn(2024, 4, 1) && japan.last == Jdn(2025, 3, 31));
    EXPECT_EQ(CheckFiscalDate(MonthFiscalRule{7}, 2027, 9, 29), DateProblem::None);  // 29 Mar
    EXPECT_EQ(CheckFiscalDate(MonthFiscalRule{7}, 2027, 8, 29), DateProblem::DayOutOfRange);
    EXPECT_EQ(CheckFiscalDate(MonthFiscalRule{7}, 2027, 0, 1), DateProblem::PeriodOutOfRange);
}

// Periods added to random days land n periods on, found by stepping from period to period, on
// the same day of the period (month years) or the same week of the period and day (week years),
// else on the target's last day or last week; PeriodsBetween counts them back.
template <typename Rule>
void CheckAddingPeriods(const Rule& rule, std::mt19937_64& random) {
    std::uniform_int_distribution<std::int64_t> day(2415021, 2488434);  // 1900-2100
    std::uniform_int_distribution<int> count(-40, 40);
    for (int i = 0; i < 4000; ++i) {
        const std::int64_t jdn = day(random);
        const int n = count(random);
        const auto date = ToFiscalDate(rule, jdn);
        FiscalSpan span = PeriodSpan(rule, date.year, date.period);
        for (int k = 0; k != n; k += n > 0 ? 1 : -1) {
            const auto next = ToFiscalDate(rule, n > 0 ? span.last + 1 : span.first - 1);
            span = PeriodSpan(rule, next.year, next.period);
        }
        const std::int64_t length = span.last - span.first + 1;
        std::int64_t want;
        if constexpr (std::is_same_v<Rule, MonthFiscalRule>) {
            want = span.first + std::min<std::int64_t>(date.day, length) - 1;
        } else {
            want = span.first + 7 * (std::min<std::int64_t>(date.weekOfPeriod, length / 7) - 1) +
                   date.day - 1;
        }
        ASSERT_EQ(AddPeriods(rule, jdn, n), want) << jdn << " + " << n;
        ASSERT_EQ(PeriodsBetween(rule, jdn, want), n) << jdn << " + " << n;
    }
    EXPECT_FALSE(AddPeriods(rule, kMaxWeekJdn - 20, 1).has_value());
    EXPECT_FALSE(AddFiscalYears(rule, 2451545, std::int64_t{1} << 62).has_value());
}

TEST(Fiscal, AddingPeriodsStepsFromPeriodToPeriod) {
    std::mt19937_64 random(30);
    CheckAddingPeriods(kRetail454, random);
    CheckAddingPeriods(WeekFiscalRule{9, Weekday::Friday, YearEnd::LastWeekday,
                                      PeriodPattern::Weeks544, 4, FiscalYearName::ByEndYear},
                       random);
    CheckAddingPeriods(MonthFiscalRule{7, FiscalYearName::ByEndYear}, random);
    CheckAddingPeriods(MonthFiscalRule{4, FiscalYearName::ByStartYear}, random);
    // 31 August + 1 period is 30 September; fiscal weeks start on the day after the end weekday.
    EXPECT_EQ(AddPeriods(MonthFiscalRule{7}, Jdn(2026, 8, 31), 1), Jdn(2026, 9, 30));
    EXPECT_EQ(WeeksBetween(kRetail454, Jdn(2024, 2, 3), Jdn(2024, 2, 4)), 1);
    EXPECT_EQ(WeeksBetween(kRetail454, Jdn(2024, 2, 4), Jdn(2024, 2, 10)), 0);
}

// Random days of the whole range convert back from both forms of each kind of rule.
TEST(Fiscal, RoundTripsOverTheWholeRange) {
    std::mt19937_64 random(53);
    std::uniform_int_distribution<std::int64_t> day(-kMaxWeekJdn, kMaxWeekJdn);
    const std::vector<WeekFiscalRule> rules = EveryWeekRule();
    for (int i = 0; i < 100000; ++i) {
        const std::int64_t jdn = day(random);
        WeekFiscalRule rule = rules[random() % rules.size()];
        rule.naming = static_cast<FiscalYearName>(i % 2);
        const WeekFiscalDate w = ToFiscalDate(rule, jdn);
        ASSERT_EQ(FromFiscalWeek(rule, w.year, w.week, w.day), jdn);
        ASSERT_EQ(FromFiscalPeriod(rule, w.year, w.period, w.weekOfPeriod, w.day), jdn);
        ASSERT_EQ(CheckFiscalPeriod(rule, w.year, w.period, w.weekOfPeriod, w.day),
                  DateProblem::None);
        const MonthFiscalRule months{rule.endMonth, rule.naming};
        const MonthFiscalDate m = ToFiscalDate(months, jdn);
        ASSERT_EQ(FromFiscalDate(months, m.year, m.period, m.day), jdn);
    }
}

}  // namespace
}  // namespace jdcore
