// What the main window's date fields do to their texts, apart from the widgets: step a date by
// days or months, write it in another calendar, move the second date into the first. The
// window shows the outcome: the new text, or the message the refusal names.
#pragma once

#include <QString>

#include "app/app_state.h"

namespace daybridge {

enum class FieldRefusal {
    None,        // `text` is the field's new text
    Invalid,     // the field's text names no date of its calendar
    OutOfRange,  // the field's date lies beyond the range
    NoResult,    // the date it would become cannot be written there
};

struct FieldEdit {
    FieldRefusal refusal = FieldRefusal::None;
    QString text;
};

// Field 1 (first date) or 2 (second date) moved by `step` days, or by `step` of the months its
// calendar's field steps in. An empty field answers an empty text, no refusal.
FieldEdit SteppedFieldDate(const AppState& state, int field, int step, bool byMonth);

// The field's date written in `target`; empty where there is nothing to write (no text, the same
// calendar, or a text that is no date of `source`: the field keeps its text then).
QString FieldDateIn(const AppState& state, CalendarId source, CalendarId target,
                    const QString& text);

// The second date written in the first date's calendar (refusals concern the second date). An
// empty second field answers an empty text, no refusal.
FieldEdit SecondDateAsFirst(const AppState& state);

}  // namespace daybridge
