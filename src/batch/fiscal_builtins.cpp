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

}  // namespace

std::int32_t EvaluateFiscalBuiltin(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    const auto& a = call.args;
    const auto fail = [&](EvalFailure why, QStringView subject = {}) {
        context.NoteFailure(why, subject);
        ok = false;
        return 0;
    };
    if (call.function == Builtin::AddWeeks) {
        const std::int64_t x = EvaluateOperand(a[0], context, ok);
        const std::int64_t n = EvaluateNumericOperand(a[1], context, ok);
        if (!ok) {
            return 0;
        }
        if (!InRange(x)) {
            return fail(EvalFailure::DateOutOfRange);
        }
        const std::int64_t result = x + 7 * n;  // |n| < 2^31
        return InRange(result) ? static_cast<std::int32_t>(result)
                               : fail(EvalFailure::ResultOutOfRange);
    }
    // The calendar is the last argument: the second of the one-day functions, else the third.
    const bool twoArguments = call.function == Builtin::QuarterOf ||
                              call.function == Builtin::PeriodOf ||
                              call.function == Builtin::WeekOf;
    const QString& cal = twoArguments ? a[1] : a[2];
    context.calendarArgumentMissing = cal.isEmpty();
    if (cal.isEmpty()) {
        ok = false;
        return 0;
    }
    const std::optional<CalendarId> id = CalendarOfCode(cal);
    if (!id) {
        return fail(EvalFailure::UnknownCalendar, cal);
    }
    FiscalUnit unit = FixedUnit(call.function);
    const bool spanFunction = call.function == Builtin::StartOf || call.function == Builtin::EndOf;
    if (spanFunction) {
        const std::optional<FiscalUnit> named = UnitOf(a[1]);
        if (!named) {
            return fail(a[1].isEmpty() ? EvalFailure::ArgumentCount : EvalFailure::UnknownUnit,
                        a[1]);
        }
        unit = *named;
    }
    const FiscalArithmetic* fiscal = Calendar(*id).fiscal;
    if (fiscal == nullptr || !fiscal->Has(unit)) {
        return fail(EvalFailure::UnsuitableCalendar, cal);
    }
    const std::int64_t x = EvaluateOperand(a[0], context, ok);
    const bool between = call.function == Builtin::WeeksBetween ||
                         call.function == Builtin::PeriodsBetween ||
                         call.function == Builtin::QuartersBetween;
    const bool adds = call.function == Builtin::AddPeriods || call.function == Builtin::AddQuarters;
    std::int64_t y = 0;
    if (between) {
        y = EvaluateOperand(a[1], context, ok);
    } else if (adds) {
        y = EvaluateNumericOperand(a[1], context, ok);
    }
    if (!ok) {
        return 0;
    }
    if (!InRange(x) || (between && !InRange(y))) {
        return fail(EvalFailure::DateOutOfRange);
    }
    std::int64_t result = 0;
    if (between) {
        result = fiscal->between(unit, x, y);
    } else if (adds) {
        const std::optional<std::int64_t> moved = fiscal->add(unit, x, y);
        if (!moved || !InRange(*moved)) {
            return fail(EvalFailure::ResultOutOfRange);
        }
        result = *moved;
    } else if (spanFunction) {
        const auto [first, last] = fiscal->spanOf(unit, x);
        result = call.function == Builtin::StartOf ? first : last;
        if (!InRange(result)) {
            return fail(EvalFailure::ResultOutOfRange);
        }
    } else {
        result = fiscal->numberOf(unit, x);
    }
    return static_cast<std::int32_t>(result);
}

}  // namespace daybridge::batch
