#include "batch/unit_builtins.h"

#include "calendar/calendar_table.h"
#include "calendar/calendar_units.h"

namespace daybridge::batch {

std::optional<UnitBuiltin> RecognizeUnitBuiltin(QStringView upper, qsizetype& prefixLength) {
    struct Name {
        QStringView prefix;
        UnitBuiltin function;
    };
    static constexpr Name kNames[] = {
        {u"ADDMONTHS(", UnitBuiltin::AddMonths},
        {u"ADDYEARS(", UnitBuiltin::AddYears},
        {u"MONTHSBETWEEN(", UnitBuiltin::MonthsBetween},
    };
    for (const Name& name : kNames) {
        if (upper.startsWith(name.prefix)) {
            prefixLength = name.prefix.size();
            return name.function;
        }
    }
    return std::nullopt;
}

std::int32_t EvaluateUnitBuiltin(UnitBuiltin function, const std::array<QString, 4>& args,
                                 ExpressionContext& context, bool& ok) {
    context.calendarArgumentMissing = args[2].isEmpty();
    const int calendar = CalendarIndexOfCode(args[2]);
    if (calendar < 0 || args[0].isEmpty() || args[1].isEmpty() || !args[3].isEmpty()) {
        ok = false;
        return 0;
    }
    const std::int64_t x = EvaluateOperand(args[0], context, ok);
    const std::int64_t y = function == UnitBuiltin::MonthsBetween
                               ? EvaluateOperand(args[1], context, ok)
                               : EvaluateNumericOperand(args[1], context, ok);
    if (!ok) {
        return 0;
    }
    if (function == UnitBuiltin::MonthsBetween) {
        const MonthsResult months = MonthsBetween(calendar, x, y);
        ok = months.outcome == UnitOutcome::Done;  // |months| < 1.5e8 within the range
        return ok ? static_cast<std::int32_t>(months.months) : 0;
    }
    const UnitResult result =
        function == UnitBuiltin::AddMonths ? AddMonths(calendar, x, y) : AddYears(calendar, x, y);
    ok = result.outcome == UnitOutcome::Done;  // |jdn| <= 2.1e9
    return ok ? static_cast<std::int32_t>(result.jdn) : 0;
}

}  // namespace daybridge::batch
