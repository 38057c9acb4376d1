// Week dates by the chosen week rule (WK) and the two fiscal calendars: years of calendar months
// from a chosen first month (FY) and 52/53-week years (FYW), by the rules of
// calendar/week_fiscal_rules.h.
//   WK   "2026-W50-1": week-year, week, day of the week counted from the rule's first day
//   FY   "2027-P05-15": fiscal year, period (its month), day of the month
//   FYW  "2026-P10-26": fiscal year, period, day of the period (1 .. 28 or 35, 42 with a 53rd
//        week)
// Their periods are their months, so that adding months and years and the month display work
// on them as on any calendar of months.
#include "calendar/calendars/entry_support.h"
#include "calendar/week_fiscal_rules.h"

namespace daybridge {
namespace {

constexpr int kWeekDateNameText = 1160;
constexpr int kMonthFiscalNameText = 1161;
constexpr int kWeekFiscalNameText = 1162;

using Span = std::pair<std::int64_t, std::int64_t>;

// ---- WK ----

struct WeekDates {
    static CalendarDate Date(std::int64_t jdn) {
        const jdcore::WeekDate d = jdcore::ToWeekDate(WeekDateRule(), jdn);
        return {.month = d.week, .year = d.year, .day = d.day};
    }
    static std::int64_t Jdn(const CalendarDate& d) {
        return jdcore::FromWeekDate(WeekDateRule(), d.year, d.month, d.day);
    }
    static int Weeks(std::int64_t year) { return jdcore::WeeksInYear(WeekDateRule(), year); }
    static int SevenDays(const CalendarDate&) { return 7; }
    static jdcore::DateCheck Check(const CalendarDate& d) {
        const jdcore::WeekRule rule = WeekDateRule();
        const jdcore::DateProblem problem = jdcore::CheckWeekDate(rule, d.year, d.month, d.day);
        switch (problem) {
            case jdcore::DateProblem::WeekOutOfRange:
                return {jdcore::DateProblem::MonthOutOfRange, Weeks(d.year)};
            case jdcore::DateProblem::DayOutOfRange:
                return {problem, 7};
            default:
                return {problem, 0};
        }
    }
    // The longer of the rule's years: 53 weeks, or 54 for calendar-year weeks.
    static std::optional<bool> Leap(std::int64_t year) {
        const jdcore::WeekRule rule = WeekDateRule();
        return Weeks(year) == (rule.weekOne == jdcore::WeekOne::CalendarYear ? 54 : 53);
    }

    static std::int64_t NumberOf(FiscalUnit unit, std::int64_t jdn) {
        const jdcore::WeekDate d = jdcore::ToWeekDate(WeekDateRule(), jdn);
        return unit == FiscalUnit::Week ? d.week : d.year;
    }
    static Span SpanOf(FiscalUnit unit, std::int64_t jdn) {
        const jdcore::WeekRule rule = WeekDateRule();
        if (unit == FiscalUnit::Week) {
            const std::int64_t start = jdcore::WeekStart(rule, jdn);
            return {start, start + 6};
        }
        const std::int64_t year = jdcore::ToWeekDate(rule, jdn).year;
        return {jdcore::WeekYearStart(rule, year), jdcore::WeekYearEnd(rule, year)};
    }
    static std::optional<std::int64_t> Add(FiscalUnit unit, std::int64_t jdn, std::int64_t count) {
        return unit == FiscalUnit::Week ? jdcore::AddWeeks(jdn, count)
                                        : jdcore::AddWeekYears(WeekDateRule(), jdn, count);
    }
    static std::int64_t Between(FiscalUnit unit, std::int64_t from, std::int64_t to) {
        if (unit == FiscalUnit::Week) {
            return jdcore::WeeksBetween(WeekDateRule(), from, to);
        }
        return NumberOf(unit, to) - NumberOf(unit, from);
    }
};

constexpr FiscalArithmetic kWeekDateUnits{
    .units =
        static_cast<std::uint8_t>(FiscalUnit::Week) | static_cast<std::uint8_t>(FiscalUnit::Year),
    .numberOf = WeekDates::NumberOf,
    .spanOf = WeekDates::SpanOf,
    .add = WeekDates::Add,
    .between = WeekDates::Between,
};

// ---- FY and FYW: periods, quarters and years; FYW weeks too ----

// The quarter and year counted from a fixed origin, so that their starts passed are a
// difference.
template <typename Date>
std::int64_t QuarterIndex(const Date& d) {
    return 4 * d.year + d.quarter - 1;
}

// The first and last day of the period, quarter or fiscal year holding a day, under either
// kind of fiscal rule.
template <typename Rule>
Span PeriodQuarterOrYear(const Rule& rule, FiscalUnit unit, std::int64_t jdn) {
    const auto d = jdcore::ToFiscalDate(rule, jdn);
    const jdcore::FiscalSpan span =
        unit == FiscalUnit::Period    ? jdcore::PeriodSpan(rule, d.year, d.period)
        : unit == FiscalUnit::Quarter ? jdcore::QuarterSpan(rule, d.year, d.quarter)
                                      : jdcore::FiscalYearSpan(rule, d.year);
    return {span.first, span.last};
}

struct MonthFiscal {
    static CalendarDate Date(std::int64_t jdn) {
        const jdcore::MonthFiscalDate d = jdcore::ToFiscalDate(MonthFiscalYearRule(), jdn);
        return {.month = d.period, .year = d.year, .day = d.day};
    }
    static std::int64_t Jdn(const CalendarDate& d) {
        return jdcore::FromFiscalDate(MonthFiscalYearRule(), d.year, d.month, d.day);
    }
    static int Months(std::int64_t) { return 12; }
    static int MonthDays(const CalendarDate& d) {
        return jdcore::DaysInPeriod(MonthFiscalYearRule(), d.year, d.month);
    }
    static jdcore::DateCheck Check(const CalendarDate& d) {
        return calendars::CheckMonthAndDay(d, 12, MonthDays);
    }
    // A year of 366 days.
    static std::optional<bool> Leap(std::int64_t year) {
        const jdcore::FiscalSpan span = jdcore::FiscalYearSpan(MonthFiscalYearRule(), year);
        return span.last - span.first == 365;
    }

    static std::int64_t NumberOf(FiscalUnit unit, std::int64_t jdn) {
        const jdcore::MonthFiscalDate d = jdcore::ToFiscalDate(MonthFiscalYearRule(), jdn);
        return unit == FiscalUnit::Period    ? d.period
               : unit == FiscalUnit::Quarter ? d.quarter
                                             : d.year;
    }
    static Span SpanOf(FiscalUnit unit, std::int64_t jdn) {
        return PeriodQuarterOrYear(MonthFiscalYearRule(), unit, jdn);
    }
    static std::optional<std::int64_t> Add(FiscalUnit unit, std::int64_t jdn, std::int64_t count) {
        const jdcore::MonthFiscalRule rule = MonthFiscalYearRule();
        return unit == FiscalUnit::Period    ? jdcore::AddPeriods(rule, jdn, count)
               : unit == FiscalUnit::Quarter ? jdcore::AddQuarters(rule, jdn, count)
                                             : jdcore::AddFiscalYears(rule, jdn, count);
    }
    static std::int64_t Between(FiscalUnit unit, std::int64_t from, std::int64_t to) {
        const jdcore::MonthFiscalRule rule = MonthFiscalYearRule();
        if (unit == FiscalUnit::Period) {
            return jdcore::PeriodsBetween(rule, from, to);
        }
        const jdcore::MonthFiscalDate a = jdcore::ToFiscalDate(rule, from);
        const jdcore::MonthFiscalDate b = jdcore::ToFiscalDate(rule, to);
        return unit == FiscalUnit::Quarter ? QuarterIndex(b) - QuarterIndex(a) : b.year - a.year;
    }
};

struct WeekFiscal {
    static CalendarDate Date(std::int64_t jdn) {
        const jdcore::WeekFiscalDate d = jdcore::ToFiscalDate(WeekFiscalYearRule(), jdn);
        return {.month = d.period, .year = d.year, .day = d.dayOfPeriod};
    }
    static std::int64_t Jdn(const CalendarDate& d) {
        return jdcore::FromFiscalPeriod(WeekFiscalYearRule(), d.year, d.month, 1, d.day);
    }
    static int Months(std::int64_t) { return 12; }
    static int MonthDays(const CalendarDate& d) {
        return 7 * jdcore::WeeksInPeriod(WeekFiscalYearRule(), d.year, d.month);
    }
    static jdcore::DateCheck Check(const CalendarDate& d) {
        return calendars::CheckMonthAndDay(d, 12, MonthDays);
    }
    // A year of 53 weeks.
    static std::optional<bool> Leap(std::int64_t year) {
        return jdcore::WeeksInFiscalYear(WeekFiscalYearRule(), year) == 53;
    }

    static std::int64_t NumberOf(FiscalUnit unit, std::int64_t jdn) {
        const jdcore::WeekFiscalDate d = jdcore::ToFiscalDate(WeekFiscalYearRule(), jdn);
        switch (unit) {
            case FiscalUnit::Week:
                return d.week;
            case FiscalUnit::Period:
                return d.period;
            case FiscalUnit::Quarter:
                return d.quarter;
            case FiscalUnit::Year:
                break;
        }
        return d.year;
    }
    static Span SpanOf(FiscalUnit unit, std::int64_t jdn) {
        const jdcore::WeekFiscalRule rule = WeekFiscalYearRule();
        if (unit == FiscalUnit::Week) {
            const jdcore::WeekFiscalDate d = jdcore::ToFiscalDate(rule, jdn);
            return {jdn - d.day + 1, jdn - d.day + 7};
        }
        return PeriodQuarterOrYear(rule, unit, jdn);
    }
    static std::optional<std::int64_t> Add(FiscalUnit unit, std::int64_t jdn, std::int64_t count) {
        const jdcore::WeekFiscalRule rule = WeekFiscalYearRule();
        switch (unit) {
            case FiscalUnit::Week:
                return jdcore::AddWeeks(jdn, count);
            case FiscalUnit::Period:
                return jdcore::AddPeriods(rule, jdn, count);
            case FiscalUnit::Quarter:
                return jdcore::AddQuarters(rule, jdn, count);
            case FiscalUnit::Year:
                break;
        }
        return jdcore::AddFiscalYears(rule, jdn, count);
    }
    static std::int64_t Between(FiscalUnit unit, std::int64_t from, std::int64_t to) {
        const jdcore::WeekFiscalRule rule = WeekFiscalYearRule();
        if (unit == FiscalUnit::Week) {
            return jdcore::WeeksBetween(rule, from, to);
        }
        if (unit == FiscalUnit::Period) {
            return jdcore::PeriodsBetween(rule, from, to);
        }
        const jdcore::WeekFiscalDate a = jdcore::ToFiscalDate(rule, from);
        const jdcore::WeekFiscalDate b = jdcore::ToFiscalDate(rule, to);
        return unit == FiscalUnit::Quarter ? QuarterIndex(b) - QuarterIndex(a) : b.year - a.year;
    }
};

constexpr std::uint8_t kPeriodUnits = static_cast<std::uint8_t>(FiscalUnit::Period) |
                                      static_cast<std::uint8_t>(FiscalUnit::Quarter) |
                                      static_cast<std::uint8_t>(FiscalUnit::Year);

constexpr FiscalArithmetic kMonthFiscalUnits{
    .units = kPeriodUnits,
    .numberOf = MonthFiscal::NumberOf,
    .spanOf = MonthFiscal::SpanOf,
    .add = MonthFiscal::Add,
    .between = MonthFiscal::Between,
};

constexpr FiscalArithmetic kWeekFiscalUnits{
    .units = kPeriodUnits | static_cast<std::uint8_t>(FiscalUnit::Week),
    .numberOf = WeekFiscal::NumberOf,
    .spanOf = WeekFiscal::SpanOf,
    .add = WeekFiscal::Add,
    .between = WeekFiscal::Between,
};

// Each rule read from text and set whole, or left as it was.
template <typename Rule, std::optional<Rule> (*Read)(QStringView), void (*Set)(Rule)>
bool TakeRule(QStringView text) {
    const std::optional<Rule> rule = Read(text);
    if (rule) {
        Set(*rule);
    }
    return rule.has_value();
}

constexpr ChosenRule kWeekRule{
    .text = [] { return WeekRuleText(WeekDateRule()); },
    .take = TakeRule<jdcore::WeekRule, WeekRuleOfText, SetWeekDateRule>,
};
constexpr ChosenRule kMonthFiscalRule{
    .text = [] { return MonthFiscalRuleText(MonthFiscalYearRule()); },
    .take = TakeRule<jdcore::MonthFiscalRule, MonthFiscalRuleOfText, SetMonthFiscalYearRule>,
};
constexpr ChosenRule kWeekFiscalRule{
    .text = [] { return WeekFiscalRuleText(WeekFiscalYearRule()); },
    .take = TakeRule<jdcore::WeekFiscalRule, WeekFiscalRuleOfText, SetWeekFiscalYearRule>,
};

template <typename C>
constexpr CalendarEntry PeriodEntry(CalendarId id, const char* code, int nameText,
                                    const FiscalArithmetic* units, const ChosenRule* rule) {
    CalendarEntry entry = calendars::MonthlyEntry<C>(id, code, nameText, {});
    entry.notation = Notation::PeriodDate;
    entry.fiscal = units;
    entry.rule = rule;
    return entry;
}

}  // namespace

constinit const CalendarEntry kWKCalendar{
    .id = CalendarId::WK,
    .code = "WK",
    .libraryLetter = "",
    .fields = FieldKind::YearWeekDay,
    .notation = Notation::WeekDate,
    .fromJdn = WeekDates::Date,
    .toJdn = WeekDates::Jdn,
    .check = WeekDates::Check,
    .monthsInYear = WeekDates::Weeks,
    .daysInMonth = WeekDates::SevenDays,
    .isLeapYear = WeekDates::Leap,
    .unitMonths = CalendarId::CE,
    .weekYears = true,
    .nameText = kWeekDateNameText,
    .fiscal = &kWeekDateUnits,
    .rule = &kWeekRule,
    .todaySlot = kTodayAfter,
    .monthDisplay = MonthDisplay::Today,
    .pageMonthsIn = CalendarId::CE,
};

constinit const CalendarEntry kFYCalendar = PeriodEntry<MonthFiscal>(
    CalendarId::FY, "FY", kMonthFiscalNameText, &kMonthFiscalUnits, &kMonthFiscalRule);
constinit const CalendarEntry kFYWCalendar = PeriodEntry<WeekFiscal>(
    CalendarId::FYW, "FYW", kWeekFiscalNameText, &kWeekFiscalUnits, &kWeekFiscalRule);

}  // namespace daybridge
