// The batch language's calendar-unit built-ins:
//   ADDMONTHS(x, n, cal)     the day x plus n months in calendar cal (n may be negative)
//   ADDYEARS(x, n, cal)      the day x plus n years
//   MONTHSBETWEEN(a, b, cal) the whole months from a to b (negative when b is before a)
// with the end-of-month rule of calendar/calendar_units.h. x, a and b are read as any operand
// (a variable, TODAY, RESULT or a number), n as a number; cal is a calendar code.
#include "batch/expressions.h"
#include "calendar/calendar_registry.h"
#include "calendar/calendar_units.h"

namespace daybridge::batch {

std::int32_t EvaluateUnitBuiltin(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    const auto& a = call.args;
    context.calendarArgumentMissing = a[2].isEmpty();
    const std::optional<CalendarId> calendar = CalendarOfCode(a[2]);
    const auto fail = [&](EvalFailure why, QStringView subject = {}) {
        context.NoteFailure(why, subject);
        ok = false;
        return 0;
    };
    if (a[2].isEmpty()) {
        ok = false;
        return 0;
    }
    if (!calendar) {
        return fail(EvalFailure::UnknownCalendar, a[2]);
    }
    const bool between = call.function == Builtin::MonthsBetween;
    const std::int64_t x = EvaluateOperand(a[0], context, ok);
    const std::int64_t y =
        between ? EvaluateOperand(a[1], context, ok) : EvaluateNumericOperand(a[1], context, ok);
    if (!ok) {
        return 0;
    }
    const auto outside = [](std::int64_t jdn) {
        return jdn < kMinDayNumber || jdn > kMaxDayNumber;
    };
    if (outside(x) || (between && outside(y))) {
        return fail(EvalFailure::DateOutOfRange);
    }
    if (between) {
        const MonthsResult months = MonthsBetween(*calendar, x, y);
        if (months.outcome != UnitOutcome::Done) {  // |months| < 1.5e8 within the range
            return fail(EvalFailure::ResultOutOfRange);
        }
        return static_cast<std::int32_t>(months.months);
    }
    const UnitResult result = call.function == Builtin::AddMonths ? AddMonths(*calendar, x, y)
                                                                  : AddYears(*calendar, x, y);
    if (result.outcome != UnitOutcome::Done) {  // |jdn| <= 2.1e9
        return fail(EvalFailure::ResultOutOfRange);
    }
    return static_cast<std::int32_t>(result.jdn);
}

}  // namespace daybridge::batch
