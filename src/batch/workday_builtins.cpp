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

namespace {

// One working-day call being evaluated: its arguments, where failures are noted, the calendar.
struct WorkdayCall {
    const ParsedCall& call;
    ExpressionContext& context;
    bool& ok;
    const WorkdayCalendar& workdays = context.Workdays();

    std::int32_t Fail(EvalFailure why, QStringView subject = {}) {
        context.NoteFailure(why, subject);
        ok = false;
        return 0;
    }

    // A result day, refused when it leaves the day number range.
    std::int32_t InRange(std::int64_t jdn) {
        if (ok && (jdn < kMinDayNumber || jdn > kMaxDayNumber)) {
            return Fail(EvalFailure::ResultOutOfRange);
        }
        return ok ? static_cast<std::int32_t>(jdn) : 0;
    }

    // An argument day, refused when it lies outside the day number range.
    bool DayInRange(std::int32_t jdn) {
        if (ok && (jdn < kMinDayNumber || jdn > kMaxDayNumber)) {
            Fail(EvalFailure::DateOutOfRange);
        }
        return ok;
    }

    // EASTER(year, CE) Western, EASTER(year, JC) Orthodox, for every year whose Easter lies
    // in the day number range.
    std::int32_t Easter() {
        const QString& cal = call.args[1];
        context.calendarArgumentMissing = cal.isEmpty();
        if (cal.isEmpty()) {
            ok = false;
            return 0;
        }
        if (call.calendar == nullptr || call.calendar->easter == EasterRule::None) {
            return Fail(call.calendar == nullptr ? EvalFailure::UnknownCalendar
                                                 : EvalFailure::UnsuitableCalendar,
                        cal);
        }
        const std::int32_t year = EvaluateNumericOperand(call.args[0], context, ok);
        if (!ok) {
            return 0;
        }
        return InRange(call.calendar->easter == EasterRule::Gregorian
                           ? jdcore::western_easter(year)
                           : jdcore::orthodox_easter(year));
    }

    std::int32_t IsHolidayOrWorkday() {
        const std::int32_t x = EvaluateOperand(call.args[0], context, ok);
        if (!ok) {
            return 0;
        }
        const bool yes =
            call.function == Builtin::IsHoliday ? workdays.IsHoliday(x) : workdays.IsWorkday(x);
        return yes ? 1 : 0;
    }

    // As a computation from a to b with the first date not included.
    std::int32_t Workdays() {
        const std::int32_t from = EvaluateOperand(call.args[0], context, ok);
        const std::int32_t to = EvaluateOperand(call.args[1], context, ok);
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

    std::int32_t Roll() {
        const std::int32_t x = EvaluateOperand(call.args[0], context, ok);
        if (!DayInRange(x)) {
            return 0;
        }
        const std::optional<daybridge::Roll> roll = RollNamed(call.args[1].toStdString());
        if (!roll) {
            return Fail(EvalFailure::UnknownRoll, call.args[1]);
        }
        return InRange(Rolled(workdays, x, *roll));
    }

    std::int32_t NextOrPreviousWorkday() {
        const std::int32_t x = EvaluateOperand(call.args[0], context, ok);
        if (!DayInRange(x)) {
            return 0;
        }
        return InRange(call.function == Builtin::NextWorkday ? NextWorkday(workdays, x)
                                                             : PreviousWorkday(workdays, x));
    }

    // NTHWORKDAY(, WORKDAYSINMONTH(, WORKDAYSINYEAR(: Gregorian years and months; the whole
    // month or year must lie in the day range.
    std::int32_t OfMonthOrYear() {
        const bool wholeYear = call.function == Builtin::WorkdaysInYear;
        const std::int32_t year = EvaluateNumericOperand(call.args[0], context, ok);
        const std::int32_t month =
            wholeYear ? 1 : EvaluateNumericOperand(call.args[1], context, ok);
        const std::int32_t n = call.function == Builtin::NthWorkday
                                   ? EvaluateNumericOperand(call.args[2], context, ok)
                                   : 0;
        if (!ok) {
            return 0;
        }
        if (month < 1 || month > 12) {
            return Fail(EvalFailure::NoSuchMonth);
        }
        if (jdcore::jdn_from_gregorian(year, month, 1) < kMinDayNumber ||
            jdcore::jdn_from_gregorian(year, wholeYear ? 13 : month + 1, 1) - 1 > kMaxDayNumber) {
            return Fail(EvalFailure::DateOutOfRange);
        }
        if (call.function == Builtin::NthWorkday) {
            const std::int64_t day = NthWorkdayOfMonth(workdays, year, month, n);
            return day == WorkdayCalendar::kNoDate ? Fail(EvalFailure::NoSuchWorkday)
                                                   : static_cast<std::int32_t>(day);
        }
        return static_cast<std::int32_t>(wholeYear ? WorkdaysInYear(workdays, year)
                                                   : WorkdaysInMonth(workdays, year, month));
    }

    // ADDWORKDAYS(x, n)
    std::int32_t AddWorkdays() {
        const std::int32_t from = EvaluateOperand(call.args[0], context, ok);
        const std::int32_t n = EvaluateNumericOperand(call.args[1], context, ok);
        if (!DayInRange(from)) {
            return 0;
        }
        return InRange(workdays.StepFromFirst(from, n, false));
    }
};

}  // namespace

std::int32_t EvaluateWorkdayBuiltin(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    WorkdayCall evaluation{.call = call, .context = context, .ok = ok};
    switch (call.function) {
        case Builtin::Easter:
            return evaluation.Easter();
        case Builtin::IsHoliday:
        case Builtin::IsWorkday:
            return evaluation.IsHolidayOrWorkday();
        case Builtin::Workdays:
            return evaluation.Workdays();
        case Builtin::Roll:
            return evaluation.Roll();
        case Builtin::NextWorkday:
        case Builtin::PrevWorkday:
            return evaluation.NextOrPreviousWorkday();
        case Builtin::NthWorkday:
        case Builtin::WorkdaysInMonth:
        case Builtin::WorkdaysInYear:
            return evaluation.OfMonthOrYear();
        default:
            return evaluation.AddWorkdays();
    }
}

}  // namespace daybridge::batch
