// The batch language's working days: the WEEKEND= and HOLIDAYS= statements, the line naming
// them in the settings summary, and EASTER(, ISHOLIDAY(, ISWORKDAY(, WORKDAYS( and
// ADDWORKDAYS(.
#include "batch/batch_run.h"
#include "env/holiday_files.h"
#include "jdcore/easter.h"

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

StatementResult BatchRun::WorkdaySetting(const ProgramLine& line, int which, const QString& value) {
    const WorkdayCalendar& now = state_.workdays;
    std::optional<WorkdayCalendar> next;
    if (which == kWeekendSetting) {
        const std::optional<std::uint8_t> weekend = ParseWeekend(value);
        if (!weekend) {
            EchoRejectedSetting(line, false);
            if (ParseDaySet(value) == WorkdayCalendar::kAllDays) {
                state_.output.append(T(900) + QStringLiteral("\r\n"));  // say why
            }
            return StatementResult::Error;
        }
        next.emplace(*weekend, now.holidaySet());
    } else {
        std::shared_ptr<const HolidaySet> set;
        if (value.compare(QLatin1String("NONE"), Qt::CaseInsensitive) != 0) {
            QString why;
            set = LoadHolidaySet(value, why, {state_.language, programFolder_});
            if (set == nullptr) {
                EchoRejectedSetting(line, false);
                state_.output.append(why + QStringLiteral("\r\n"));
                return StatementResult::Error;
            }
        }
        next.emplace(now.weekend(), set);
    }
    if (!next->HasWorkday()) {
        EchoRejectedSetting(line, false);
        state_.output.append(NoWorkingDayText(WeekendDayNames(next->weekend()),
                                              next->holidays()->name, state_.language) +
                             QStringLiteral("\r\n"));
        return StatementResult::Error;
    }
    state_.workdays = std::move(*next);
    if (state_.snapshot.verbose) {
        state_.output.append(WorkdaySummaryText());
    }
    return StatementResult::Done;
}

// The weekend days in the interface language, Monday first ("Saturday, Sunday").
QString BatchRun::WeekendDayNames(std::uint8_t weekend) const {
    QStringList days;
    for (int day = 0; day < 7; ++day) {
        if (((weekend >> day) & 1) != 0) {
            days << DayNameIn((day + 1) % 7, state_.language);  // Monday first
        }
    }
    return days.isEmpty() ? T(302) : days.join(QStringLiteral(", "));
}

QString BatchRun::WorkdaySummaryText() const {
    const WorkdayCalendar& workdays = state_.workdays;
    QString text;
    if (workdays.weekend() != WorkdayCalendar::kSaturdaySunday) {
        text += T(300) + QStringLiteral(" ") + WeekendDayNames(workdays.weekend()) +
                QStringLiteral(".");
    }
    if (workdays.holidays() != nullptr) {
        text += (text.isEmpty() ? QString() : QStringLiteral("  ")) + T(301) + QStringLiteral(" ") +
                workdays.holidays()->name + QStringLiteral(".");
    }
    return text.isEmpty() ? text : text + QStringLiteral("\r\n");
}

}  // namespace daybridge::batch
