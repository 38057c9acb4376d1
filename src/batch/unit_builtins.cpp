// The batch language's calendar-unit built-ins:
//   ADDMONTHS(x, n, cal)     the day x plus n months in calendar cal (n may be negative)
//   ADDYEARS(x, n, cal)      the day x plus n years
//   MONTHSBETWEEN(a, b, cal) the whole months from a to b (negative when b is before a)
// with the end-of-month rule of calendar/calendar_units.h. x, a and b are read as any operand
// (a variable, TODAY, RESULT or a number), n as a number; cal is a calendar code.
#include "batch/expressions.h"
#include "calendar/calendar_table.h"
#include "calendar/calendar_units.h"

namespace daybridge::batch {

std::int32_t EvaluateUnitBuiltin(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    const auto& a = call.args;
    context.calendarArgumentMissing = a[2].isEmpty();
    const int calendar = CalendarIndexOfCode(a[2]);
    if (calendar < 0 || a[0].isEmpty() || a[1].isEmpty()) {
        ok = false;
        return 0;
    }
    const bool between = call.function == Builtin::MonthsBetween;
    const std::int64_t x = EvaluateOperand(a[0], context, ok);
    const std::int64_t y =
        between ? EvaluateOperand(a[1], context, ok) : EvaluateNumericOperand(a[1], context, ok);
    if (!ok) {
        return 0;
    }
    if (between) {
        const MonthsResult months = MonthsBetween(calendar, x, y);
        ok = months.outcome == UnitOutcome::Done;  // |months| < 1.5e8 within the range
        return ok ? static_cast<std::int32_t>(months.months) : 0;
    }
    const UnitResult result =
        call.function == Builtin::AddMonths ? AddMonths(calendar, x, y) : AddYears(calendar, x, y);
    ok = result.outcome == UnitOutcome::Done;  // |jdn| <= 2.1e9
    return ok ? static_cast<std::int32_t>(result.jdn) : 0;
}

}  // namespace daybridge::batch
