// The batch language's working days: EASTER(, ISHOLIDAY(, ISWORKDAY(, WORKDAYS(, ADDWORKDAYS(
// and the business-day conventions ROLL(, NEXTWORKDAY(, PREVWORKDAY(, NTHWORKDAY(,
// WORKDAYSINMONTH( and WORKDAYSINYEAR(.
#include "batch/expressions.h"

#include "jdcore/day_count.h"
#include "jdcore/easter.h"
#include "workdays/business_days.h"

namespace daybridge::batch {

const WorkdayCalendar& ExpressionContext::Workdays() const {
    static const WorkdayCalendar standard;
    return standard;
}

std::int32_t EvaluateWorkdayBuiltin(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    const auto& a = call.args;
    const WorkdayCalendar& workdays = context.Workdays();
    const auto fail = [&](EvalFailure why, QStringView subject = {}) {
        context.NoteFailure(why, subject);
        ok = false;
        return 0;
    };
    const auto inRange = [&](std::int64_t jdn) {
        if (ok && (jdn < kMinDayNumber || jdn > kMaxDayNumber)) {
            return fail(EvalFailure::ResultOutOfRange);
        }
        return ok ? static_cast<std::int32_t>(jdn) : 0;
    };
    const auto dayInRange = [&](std::int32_t jdn) {
        if (ok && (jdn < kMinDayNumber || jdn > kMaxDayNumber)) {
            fail(EvalFailure::DateOutOfRange);
        }
        return ok;
    };
    switch (call.function) {
        case Builtin::Easter: {
            // EASTER(year, CE) Western, EASTER(year, JC) Orthodox, for every year whose Easter
            // lies in the day number range.
            context.calendarArgumentMissing = a[1].isEmpty();
            if (a[1].isEmpty()) {
                ok = false;
                return 0;
            }
            if (call.calendar == nullptr || call.calendar->easter == EasterRule::None) {
                return fail(call.calendar == nullptr ? EvalFailure::UnknownCalendar
                                                     : EvalFailure::UnsuitableCalendar,
                            a[1]);
            }
            const std::int32_t year = EvaluateNumericOperand(a[0], context, ok);
            if (!ok) {
                return 0;
            }
            return inRange(call.calendar->easter == EasterRule::Gregorian
                               ? jdcore::western_easter(year)
                               : jdcore::orthodox_easter(year));
        }
        case Builtin::IsHoliday:
        case Builtin::IsWorkday: {
            const std::int32_t x = EvaluateOperand(a[0], context, ok);
            if (!ok) {
                return 0;
            }
            return (call.function == Builtin::IsHoliday ? workdays.IsHoliday(x)
                                                        : workdays.IsWorkday(x))
                       ? 1
                       : 0;
        }
        case Builtin::Workdays: {
            // As a computation from a to b with the first date not included.
            const std::int32_t from = EvaluateOperand(a[0], context, ok);
            const std::int32_t to = EvaluateOperand(a[1], context, ok);
            if (!ok) {
                return 0;
            }
            const std::int64_t count = workdays.Count(from, to, false);
            if (count > std::numeric_limits<std::int32_t>::max() ||
                count < std::numeric_limits<std::int32_t>::min()) {
                context.overflow = true;
                ok = false;
                return 0;
            }
            return static_cast<std::int32_t>(count);
        }
        case Builtin::Roll: {
            const std::int32_t x = EvaluateOperand(a[0], context, ok);
            if (!dayInRange(x)) {
                return 0;
            }
            const std::optional<Roll> roll = RollNamed(a[1].toStdString());
            if (!roll) {
                return fail(EvalFailure::UnknownRoll, a[1]);
            }
            return inRange(Rolled(workdays, x, *roll));
        }
        case Builtin::NextWorkday:
        case Builtin::PrevWorkday: {
            const std::int32_t x = EvaluateOperand(a[0], context, ok);
            if (!dayInRange(x)) {
                return 0;
            }
            return inRange(call.function == Builtin::NextWorkday ? NextWorkday(workdays, x)
                                                                 : PreviousWorkday(workdays, x));
        }
        case Builtin::NthWorkday:
        case Builtin::WorkdaysInMonth:
        case Builtin::WorkdaysInYear: {
            // Gregorian years and months; the whole month or year must lie in the day range.
            const bool wholeYear = call.function == Builtin::WorkdaysInYear;
            const std::int32_t year = EvaluateNumericOperand(a[0], context, ok);
            const std::int32_t month = wholeYear ? 1 : EvaluateNumericOperand(a[1], context, ok);
            const std::int32_t n = call.function == Builtin::NthWorkday
                                       ? EvaluateNumericOperand(a[2], context, ok)
                                       : 0;
            if (!ok) {
                return 0;
            }
            if (month < 1 || month > 12) {
                return fail(EvalFailure::NoSuchMonth);
            }
            if (jdcore::jdn_from_gregorian(year, month, 1) < kMinDayNumber ||
                jdcore::jdn_from_gregorian(year, wholeYear ? 13 : month + 1, 1) - 1 >
                    kMaxDayNumber) {
                return fail(EvalFailure::DateOutOfRange);
            }
            if (call.function == Builtin::NthWorkday) {
                const std::int64_t day = NthWorkdayOfMonth(workdays, year, month, n);
                return day == WorkdayCalendar::kNoDate ? fail(EvalFailure::NoSuchWorkday)
                                                       : static_cast<std::int32_t>(day);
            }
            return static_cast<std::int32_t>(wholeYear ? WorkdaysInYear(workdays, year)
                                                       : WorkdaysInMonth(workdays, year, month));
        }
        default: {  // ADDWORKDAYS(x, n)
            const std::int32_t from = EvaluateOperand(a[0], context, ok);
            const std::int32_t n = EvaluateNumericOperand(a[1], context, ok);
            if (!dayInRange(from)) {
                return 0;
            }
            return inRange(workdays.StepFromFirst(from, n, false));
        }
    }
}

}  // namespace daybridge::batch
