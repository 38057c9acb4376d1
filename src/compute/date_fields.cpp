#include "compute/date_fields.h"

#include "calendar/calendar_units.h"
#include "compute/compute_engine.h"
#include "datetext/date_parse.h"
#include "datetext/string_utils.h"

namespace daybridge {

namespace {

// A parse that did not give a date, as a refusal.
FieldRefusal RefusalOf(ParseOutcome outcome) {
    return outcome == ParseOutcome::Invalid ? FieldRefusal::Invalid : FieldRefusal::OutOfRange;
}

FieldEdit Written(const AppState& state, CalendarId calendar, std::optional<std::int64_t> jdn) {
    QString text;
    if (jdn && *jdn >= kMinDayNumber && *jdn <= kMaxDayNumber) {
        text = DateTextOfJdn(state, calendar, static_cast<std::int32_t>(*jdn));
    }
    // Not writable there (beyond the range, or the ORD calendar's years).
    return text.isEmpty() ? FieldEdit{FieldRefusal::NoResult, {}} : FieldEdit{{}, text};
}

}  // namespace

FieldEdit SteppedFieldDate(const AppState& state, int field, int step, bool byMonth) {
    const QString text =
        TrimmedWhite(field == 1 ? state.session.firstDateText : state.session.secondDateText);
    if (text.isEmpty()) {
        return {};
    }
    const CalendarId calendar = state.GetCal(field);
    const ParseResult parsed = ParseDateInCalendar(calendar, text, state.CurrentFormat());
    if (parsed.outcome != ParseOutcome::Valid) {
        return {RefusalOf(parsed.outcome), {}};
    }
    std::optional<std::int64_t> next = std::int64_t{parsed.jdn} + step;
    if (byMonth) {
        // By the months the calendar's field steps in: a world calendar's own, CE's (the Julian
        // ones for JC) for the others.
        const UnitResult moved = AddMonths(Calendar(calendar).pageMonthsIn, parsed.jdn, step);
        next = moved.outcome == UnitOutcome::Done ? std::optional(moved.jdn) : std::nullopt;
    }
    return Written(state, calendar, next);
}

QString FieldDateIn(const AppState& state, CalendarId source, CalendarId target,
                    const QString& text) {
    if (text.isEmpty() || source == target) {
        return {};
    }
    const ParseResult parsed = ParseDateInCalendar(source, text, state.CurrentFormat());
    if (parsed.outcome != ParseOutcome::Valid) {
        return {};
    }
    return DateTextOfJdn(state, target, parsed.jdn);
}

FieldEdit SecondDateAsFirst(const AppState& state) {
    const QString second = TrimmedWhite(state.session.secondDateText);
    if (second.isEmpty()) {
        return {};
    }
    const ParseResult parsed = ParseDateInCalendar(state.GetCal(2), second, state.CurrentFormat());
    if (parsed.outcome != ParseOutcome::Valid) {
        return {RefusalOf(parsed.outcome), {}};
    }
    return Written(state, state.GetCal(1), parsed.jdn);
}

}  // namespace daybridge
