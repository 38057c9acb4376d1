#include "compute/compute_engine.h"

#include "calendar/calendar_table.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "datetext/string_utils.h"
#include "datetext/unit_difference.h"

namespace daybridge {
namespace {

bool InDayRange(std::int64_t value) {
    return value >= kMinDayNumber && value <= kMaxDayNumber;
}

// The text without white space around it: the text itself when it has none (the callers
// trim), else a trimmed copy in `scratch`.
const QString& TrimmedText(const QString& text, QString& scratch) {
    if (text.isEmpty() || (text.front().unicode() > 32 && text.back().unicode() > 32)) {
        return text;
    }
    scratch = text;
    TrimWhite(scratch);
    return scratch;
}

ComputeFault Fault(ComputeMessageRow message, int date = 0, const QString& text = {}) {
    return ComputeFault{message, date, text};
}

}  // namespace

bool ComputeFault::outOfRange() const {
    using enum ComputeMessageRow;
    return message == FirstDateOutOfRange || message == SecondDateOutOfRange ||
           message == DifferenceOutOfRange || message == ResultOutOfRange;
}

QString DateTextOfJdn(const AppState& state, CalendarId calendar, std::int32_t jdn) {
    return CanonicalDateText(state, calendar, jdn);
}

QString TodayText(const AppState& state, std::int32_t todayJdn, int n) {
    const CalendarId calendar =
        n == 1 ? state.session.snapshot.firstCalendar : state.session.snapshot.secondCalendar;
    return DateTextOfJdn(state, calendar, todayJdn);
}

ComputeOutcome ComputeEngine::Compute(const QString& firstGiven, const QString& differenceGiven,
                                      const QString& secondGiven) const {
    std::array<QString, 3> trimmed;
    const std::array<const QString*, 3> texts = {&TrimmedText(firstGiven, trimmed[0]),
                                                 &TrimmedText(differenceGiven, trimmed[1]),
                                                 &TrimmedText(secondGiven, trimmed[2])};
    const bool hasFirst = !texts[kFirstField]->isEmpty();
    const bool hasDifference = !texts[kDifferenceField]->isEmpty();
    const bool hasSecond = !texts[kSecondField]->isEmpty();

    ComputeOutcome outcome;
    ComputeResult& r = outcome.result;
    r.firstCalendar = state_.GetCal(1);
    r.secondCalendar = state_.GetCal(2);
    r.options = state_.session.snapshot;
    r.conversion = !hasDifference && hasFirst != hasSecond;
    r.sameCalendarConversion = r.conversion && r.firstCalendar == r.secondCalendar;
    if (hasFirst && hasSecond) {
        if (!hasDifference) {
            WorkOut(outcome, ComputedPart::Difference, texts);
        }
        // All three given: nothing to compute (the window asks which field to clear first).
    } else if (hasFirst) {
        WorkOut(outcome, ComputedPart::SecondDate, texts);
    } else if (hasSecond) {
        WorkOut(outcome, ComputedPart::FirstDate, texts);
    } else if (hasDifference) {
        ReadField(outcome, kDifferenceField, *texts[kDifferenceField]);
    }
    return outcome;
}

// The fields are read in the order their faults are reported: a date before the difference it
// is stepped by, the second date before the first.
void ComputeEngine::WorkOut(ComputeOutcome& outcome, ComputedPart part,
                            const std::array<const QString*, 3>& texts) const {
    ComputeResult& r = outcome.result;
    const bool hasDifference = !texts[kDifferenceField]->isEmpty();
    const auto read = [&](std::size_t field) {
        return (field == kDifferenceField && !hasDifference) ||
               ReadField(outcome, field, *texts[field]);
    };
    std::optional<std::int32_t> computed;
    switch (part) {
        case ComputedPart::Difference:
            if (!read(kSecondField) || !read(kFirstField)) {
                return;
            }
            computed = DifferenceBetween(r.firstJdn, r.secondJdn);
            r.difference = computed.value_or(0);
            break;
        case ComputedPart::SecondDate:
            if (!read(kDifferenceField) || !read(kFirstField)) {
                return;
            }
            computed = SecondDateFrom(r.firstJdn, r.difference, r.unit);
            r.secondJdn = computed.value_or(0);
            break;
        case ComputedPart::FirstDate:
            if (!read(kSecondField) || !read(kDifferenceField)) {
                return;
            }
            computed = FirstDateFrom(r.secondJdn, r.difference, r.unit);
            r.firstJdn = computed.value_or(0);
            break;
        case ComputedPart::Nothing:
            return;
    }
    if (!computed) {
        outcome.fault = Fault(ComputeMessageRow::ResultOutOfRange);
        return;
    }
    r.computed = part;
    Finish(r);
}

bool ComputeEngine::ReadField(ComputeOutcome& outcome, std::size_t field,
                              const QString& text) const {
    ComputeResult& r = outcome.result;
    if (field == kDifferenceField) {
        DifferenceAcceptance d = AcceptDifference(text);
        if (d.fault) {
            outcome.fault = std::move(d.fault);
            return false;
        }
        r.difference = d.days;
        r.unit = d.unit;
        r.fields[field] = std::move(d.text);
    } else {
        const int date = field == kFirstField ? 1 : 2;
        DateAcceptance d = AcceptDate(date, text);
        if (d.fault) {
            outcome.fault = std::move(d.fault);
            return false;
        }
        (date == 1 ? r.firstJdn : r.secondJdn) = d.jdn;
        r.fields[field] = std::move(d.canonical);
    }
    r.written[field] = true;
    return true;
}

// The computed field's text, the day count of a unit difference and the breakdown.
void ComputeEngine::Finish(ComputeResult& r) const {
    if (r.unit) {
        const std::int64_t days = static_cast<std::int64_t>(r.secondJdn) - r.firstJdn;
        r.difference = InDayRange(days) ? static_cast<std::int32_t>(days) : 0;
    }
    switch (r.computed) {
        case ComputedPart::Difference: {
            r.fields[kDifferenceField] =
                FormatDayNumber(r.difference, state_.settings.format.thousandsSeparator);
            r.written[kDifferenceField] = true;
            const Snapshot& options = r.options;
            const CalendarEntry& calendar = Calendar(r.firstCalendar);
            const std::int64_t from =
                static_cast<std::int64_t>(r.firstJdn) - (options.includeFirstDate ? 1 : 0);
            if (options.includeWeekends && r.difference >= 1 &&
                r.firstCalendar == r.secondCalendar && calendar.breakdown != Breakdown::None &&
                r.difference > calendar.breakdownAfterDays && InDayRange(from)) {
                r.breakdown =
                    BreakdownOf(r.firstCalendar, static_cast<std::int32_t>(from), r.secondJdn);
            }
            break;
        }
        case ComputedPart::SecondDate:
        case ComputedPart::FirstDate:
            if (!r.sameCalendarConversion) {
                const bool second = r.computed == ComputedPart::SecondDate;
                const std::size_t field = second ? kSecondField : kFirstField;
                r.fields[field] = DateTextOfJdn(state_, second ? r.secondCalendar : r.firstCalendar,
                                                second ? r.secondJdn : r.firstJdn);
                r.written[field] = true;
            }
            break;
        case ComputedPart::Nothing:
            break;
    }
}

DateAcceptance ComputeEngine::AcceptDate(int firstOrSecond, const QString& text) const {
    const bool isFirst = firstOrSecond == 1;
    const CalendarId calendar = state_.GetCal(firstOrSecond);
    const TextFormat format = state_.CurrentFormat();

    ParseResult parsed;
    bool fromVariable = false;
    if (state_.session.batchRunning && batch_ != nullptr) {
        if (const std::optional<std::int32_t> value = batch_->VariableValue(text)) {
            parsed.jdn = *value;
            parsed.outcome = ParseOutcome::Valid;
            fromVariable = true;
        }
    }
    if (!fromVariable) {
        parsed = ParseDateInCalendar(calendar, text, format);
    }

    DateAcceptance accepted;
    if (parsed.outcome == ParseOutcome::Valid) {
        // A variable may hold any 32-bit value; a date must be one that can be shown.
        if (InDayRange(parsed.jdn)) {
            accepted.canonical = CanonicalDateText(calendar, parsed.jdn, format);
        }
        if (accepted.canonical.isEmpty()) {
            parsed.outcome = ParseOutcome::OutOfRange;
        }
    }
    if (parsed.outcome != ParseOutcome::Valid) {
        using enum ComputeMessageRow;
        const bool outOfRange = parsed.outcome == ParseOutcome::OutOfRange;
        const ComputeMessageRow message =
            isFirst ? (outOfRange ? FirstDateOutOfRange : FirstDateInvalid)
                    : (outOfRange ? SecondDateOutOfRange : SecondDateInvalid);
        accepted.fault = Fault(message, firstOrSecond, text);
        return accepted;
    }
    accepted.jdn = parsed.jdn;
    return accepted;
}

DifferenceAcceptance ComputeEngine::AcceptDifference(const QString& text) const {
    DifferenceAcceptance accepted;
    if (text.isEmpty()) {
        return accepted;
    }
    const ParseResult parsed = ParseDayCount(text, state_.settings.format.thousandsSeparator);
    if (parsed.outcome == ParseOutcome::Valid) {
        accepted.days = parsed.jdn;
        accepted.text = FormatDayNumber(parsed.jdn, state_.settings.format.thousandsSeparator);
        return accepted;
    }
    // A text that is no plain number may be a unit difference ("1y2m", "3 Monate"); it stays
    // in the field as typed.
    const UnitDifferenceParse units = parsed.outcome == ParseOutcome::OutOfRange
                                          ? UnitDifferenceParse{parsed.outcome, {}}
                                          : ParseUnitDifference(text, state_.settings.language);
    if (units.outcome != ParseOutcome::Valid) {
        accepted.fault = Fault(units.outcome == ParseOutcome::OutOfRange
                                   ? ComputeMessageRow::DifferenceOutOfRange
                                   : ComputeMessageRow::DifferenceInvalid);
        return accepted;
    }
    accepted.unit = units.difference;
    accepted.text = text;
    return accepted;
}

std::optional<std::int32_t> ComputeEngine::DifferenceBetween(std::int32_t first,
                                                             std::int32_t second) const {
    const Snapshot& options = state_.session.snapshot;
    std::int64_t difference = 0;
    if (options.includeWeekends) {
        difference = static_cast<std::int64_t>(second) - first;
        if (options.includeFirstDate) {
            difference += difference < 0 ? -1 : 1;
        }
    } else {
        difference = state_.settings.workdays.Count(first, second, options.includeFirstDate);
    }
    if (!InDayRange(difference)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(difference);
}

// A unit difference moves the start by its years and months in the start's calendar first;
// its weeks and days are then stepped from there as a day count of that size is stepped.
std::optional<std::int32_t> ComputeEngine::SecondDateFrom(
    std::int32_t first, std::int32_t days, const std::optional<UnitDifference>& unit) const {
    const Snapshot& options = state_.session.snapshot;
    std::int64_t from = first;
    std::int64_t difference = days;
    if (unit) {
        const UnitResult moved = AddCalendarPart(state_.GetCal(1), from, *unit);
        if (moved.outcome != UnitOutcome::Done) {
            return std::nullopt;
        }
        from = moved.jdn;
        difference = DayPart(*unit);
    }
    std::int64_t result = from;
    if (difference != 0) {
        if (options.includeWeekends) {
            result = from + difference;
            if (options.includeFirstDate) {
                result += difference > 0 ? -1 : 1;
            }
        } else {
            result =
                state_.settings.workdays.StepFromFirst(from, difference, options.includeFirstDate);
        }
    }
    return StoreComputedDate(2, result);
}

std::optional<std::int32_t> ComputeEngine::FirstDateFrom(
    std::int32_t second, std::int32_t days, const std::optional<UnitDifference>& unit) const {
    const Snapshot& options = state_.session.snapshot;
    std::int64_t from = second;
    std::int64_t difference = days;
    if (unit) {
        const UnitResult moved = AddCalendarPart(state_.GetCal(2), from, *unit, /*subtract=*/true);
        if (moved.outcome != UnitOutcome::Done) {
            return std::nullopt;
        }
        from = moved.jdn;
        difference = DayPart(*unit);
    }
    std::int64_t result = from;
    if (difference != 0) {
        if (options.includeWeekends) {
            result = from - difference;
            if (options.includeFirstDate) {
                result += difference > 0 ? 1 : -1;
            }
        } else {
            result =
                state_.settings.workdays.StepFromSecond(from, difference, options.includeFirstDate);
        }
    }
    return StoreComputedDate(1, result);
}

std::optional<std::int32_t> ComputeEngine::StoreComputedDate(int firstOrSecond,
                                                             std::int64_t jdn) const {
    // A date its calendar cannot write (an ordinal date outside years 1 to 9999) is out of
    // range too.
    if (!InDayRange(jdn) || !InSpan(Calendar(state_.GetCal(firstOrSecond)), jdn)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(jdn);
}

}  // namespace daybridge
