// Why a date typed in one of the world's calendars was refused: the numbers are taken from the
// text again and put to the calendar's rules (jdcore/date_faults.h). The date reader only says
// yes or no; this says what to mend.
#pragma once

#include <QString>
#include <optional>

#include "jdcore/date_faults.h"

namespace daybridge {

struct TypedDateFault {
    // The text holds no date of the calendar's form (year-month-day, or the five places of a
    // Long Count), or its numbers make a date and something else in it was refused.
    bool wrongForm = false;
    jdcore::DateFaultReason reason;  // when the form is right: what the rules find
};

// For a year-month-day world calendar (HEB..IND) and the Long Count (MAY); nothing for any
// other calendar. The text may carry what the date reader allows around a date: blanks, the
// calendar's code before or after it, a comma and a word after it, a parenthesised negative
// year, U+2212 for "-".
std::optional<TypedDateFault> WhyTypedDateIsRefused(int calendar, const QString& text);

}  // namespace daybridge
