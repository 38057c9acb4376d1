// Why a date typed in a calendar of the registry's own arithmetic was refused (the year-first
// calendars, those with named eras, and the Long Count): the numbers are taken from the text again
// and put to the calendar's check (calendar/calendar_registry.h). The date reader only says yes or
// no; this says what to mend.
#pragma once

#include <QString>
#include <optional>

#include "calendar/calendar_registry.h"

namespace daybridge {

struct TypedDateFault {
    // The text holds no date of the calendar's form (year-month-day, or the five places of a
    // Long Count), or its numbers make a date and something else in it was refused.
    bool wrongForm = false;
    CalendarDate date;        // when the form is right: the numbers as written
    jdcore::DateCheck check;  // and what the calendar's rules find
    QString unknownEra;       // a word before the date that names none of the calendar's eras
};

// Nothing for a calendar whose dates the calendar library reads or that have forms of their own
// (CE, ISO, the day numbers, ...). The text may carry what the date reader allows around a
// date: blanks, the calendar's code before or after it, a comma and a word after it, a
// parenthesised negative year, U+2212 for "-". A date of an era calendar that names no era
// where the calendar writes one is refused as OutsideEra with era 0.
std::optional<TypedDateFault> WhyTypedDateIsRefused(CalendarId calendar, const QString& text);

}  // namespace daybridge
