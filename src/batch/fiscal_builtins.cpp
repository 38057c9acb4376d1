// The batch language's built-ins of weeks and fiscal periods, in the calendars that have them
// (WK: weeks and week-years; FY: periods, quarters, years; FYW: all four):
//   QUARTEROF(x, cal), PERIODOF(x, cal)   the quarter or period holding x (WEEKOF(x, FYW): its
//                                         fiscal week)
//   STARTOF(x, UNIT, cal), ENDOF(...)     the first or last day of the WEEK, PERIOD, QUARTER or
//                                         YEAR holding x
//   ADDWEEKS(x, n)                        x plus n weeks
//   ADDPERIODS(x, n, cal), ADDQUARTERS(...)   x plus n periods or quarters, keeping the day's
//                                         place in the period
//   WEEKSBETWEEN(a, b, cal), PERIODSBETWEEN(...), QUARTERSBETWEEN(...)   the starts of the unit
//                                         passed going from a to b (negative backwards)
// x, a and b are read as any operand, n as a number; the results are day numbers or counts.
#include "batch/expressions.h"
#include "calendar/calendar_registry.h"

namespace daybridge::batch {
namespace {

struct UnitWord {
    const char* word;
    FiscalUnit unit;
};
constexpr UnitWord kUnitWords[] = {{"WEEK", FiscalUnit::Week},
                                   {"PERIOD", FiscalUnit::Period},
                                   {"QUARTER", FiscalUnit::Quarter},
                                   {"YEAR", FiscalUnit::Year}};

std::optional<FiscalUnit> UnitOf(const QString& word) {
    for (const UnitWord& u : kUnitWords) {
        if (word == QLatin1String(u.word)) {
            return u.unit;
        }
    }
    return std::nullopt;
}

// The unit a built-in of a fixed unit counts or steps.
FiscalUnit FixedUnit(Builtin function) {
    switch (function) {
        case Builtin::WeekOf:
        case Builtin::AddWeeks:
        case Builtin::WeeksBetween:
            return FiscalUnit::Week;
        case Builtin::QuarterOf:
        case Builtin::AddQuarters:
        case Builtin::QuartersBetween:
            return FiscalUnit::Quarter;
        default:
            return FiscalUnit::Period;
    }
}
bool InRange(std::int64_t jdn) {
    return jdn >= kMinDayNumber && jdn <= kMaxDayNumber;
}

std::int32_t Fail(ExpressionContext& context, bool& ok, EvalFailure why, QStringView subject = {}) {
    context.NoteFailure(why, subject);
    ok = false;
    return 0;
}

bool IsBetween(Builtin function) {
    return function == Builtin::WeeksBetween || function == Builtin::PeriodsBetween ||
           function == Builtin::QuartersBetween;
}

bool IsAdd(Builtin function) {
    return function == Builtin::AddPeriods || function == Builtin::AddQuarters;
}

bool IsSpan(Builtin function) {
    return function == Builtin::StartOf || function == Builtin::EndOf;
}

std::int32_t AddWeeks(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    const std::int64_t x = EvaluateOperand(call.args[0], context, ok);
    const std::int64_t n = EvaluateNumericOperand(call.args[1], context, ok);
    if (!ok) {
        return 0;
    }
    if (!InRange(x)) {
        return Fail(context, ok, EvalFailure::DateOutOfRange);
    }
    const std::int64_t result = x + 7 * n;  // |n| < 2^31
    return InRange(result) ? static_cast<std::int32_t>(result)
                           : Fail(context, ok, EvalFailure::ResultOutOfRange);
}

struct FiscalTarget {
    const FiscalArithmetic* fiscal;
    FiscalUnit unit;
};

// The arithmetic and unit of a call's calendar; nullopt, with the failure noted, when its
// calendar or unit argument is missing or does not serve.
std::optional<FiscalTarget> TargetOf(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    // The calendar is the last argument: the second of the one-day functions, else the third.
    const bool twoArguments = call.function == Builtin::QuarterOf ||
                              call.function == Builtin::PeriodOf ||
                              call.function == Builtin::WeekOf;
    const QString& cal = twoArguments ? call.args[1] : call.args[2];
    context.calendarArgumentMissing = cal.isEmpty();
    if (cal.isEmpty()) {
        ok = false;
        return std::nullopt;
    }
    const std::optional<CalendarId> id = CalendarOfCode(cal);
    if (!id) {
        Fail(context, ok, EvalFailure::UnknownCalendar, cal);
        return std::nullopt;
    }
    FiscalUnit unit = FixedUnit(call.function);
    if (IsSpan(call.function)) {
        const QString& word = call.args[1];
        const std::optional<FiscalUnit> named = UnitOf(word);
        if (!named) {
            Fail(context, ok,
                 word.isEmpty() ? EvalFailure::ArgumentCount : EvalFailure::UnknownUnit, word);
            return std::nullopt;
        }
        unit = *named;
    }
    const FiscalArithmetic* fiscal = Calendar(*id).fiscal;
    if (fiscal == nullptr || !fiscal->Has(unit)) {
        Fail(context, ok, EvalFailure::UnsuitableCalendar, cal);
        return std::nullopt;
    }
    return FiscalTarget{.fiscal = fiscal, .unit = unit};
}

// The call's result for the day x (in range) and its second operand y.
std::int32_t ResultOf(const ParsedCall& call, const FiscalTarget& target, std::int64_t x,
                      std::int64_t y, ExpressionContext& context, bool& ok) {
    const FiscalArithmetic& fiscal = *target.fiscal;
    std::int64_t result = 0;
    if (IsBetween(call.function)) {
        result = fiscal.between(target.unit, x, y);
    } else if (IsAdd(call.function)) {
        const std::optional<std::int64_t> moved = fiscal.add(target.unit, x, y);
        if (!moved || !InRange(*moved)) {
            return Fail(context, ok, EvalFailure::ResultOutOfRange);
        }
        result = *moved;
    } else if (IsSpan(call.function)) {
        const auto [first, last] = fiscal.spanOf(target.unit, x);
        result = call.function == Builtin::StartOf ? first : last;
        if (!InRange(result)) {
            return Fail(context, ok, EvalFailure::ResultOutOfRange);
        }
    } else {
        result = fiscal.numberOf(target.unit, x);
    }
    return static_cast<std::int32_t>(result);
}

}  // namespace

std::int32_t EvaluateFiscalBuiltin(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    if (call.function == Builtin::AddWeeks) {
        return AddWeeks(call, context, ok);
    }
    const std::optional<FiscalTarget> target = TargetOf(call, context, ok);
    if (!target) {
        return 0;
    }
    const std::int64_t x = EvaluateOperand(call.args[0], context, ok);
    const bool between = IsBetween(call.function);
    std::int64_t y = 0;
    if (between) {
        y = EvaluateOperand(call.args[1], context, ok);
    } else if (IsAdd(call.function)) {
        y = EvaluateNumericOperand(call.args[1], context, ok);
    }
    if (!ok) {
        return 0;
    }
    if (!InRange(x) || (between && !InRange(y))) {
        return Fail(context, ok, EvalFailure::DateOutOfRange);
    }
    return ResultOf(call, *target, x, y, context, ok);
}

}  // namespace daybridge::batch
