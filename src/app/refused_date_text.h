// The message for a date of one of the world's calendars (those of the registry's own
// arithmetic) that was refused: which field, and
// what is wrong with the date, in the interface language ("First date is not valid." and on
// the next line "Safar 1448 has 29 days."). The other calendars keep their messages.
#pragma once

#include <QString>

#include "calendar/calendar_registry.h"
#include "text/language.h"

namespace daybridge {

// `firstOrSecond`: 1 the first date field, otherwise the second. Empty for a calendar without
// such reasons (the caller shows its usual message then).
QString RefusedDateMessage(int firstOrSecond, CalendarId calendar, const QString& text,
                           Language language);
// The reason alone ("Safar 1448 has 29 days."): of a typed text, and of a date whose numbers
// the calendar's check refused. Empty where there is none.
QString RefusedDateReason(CalendarId calendar, const QString& text, Language language);
QString DateCheckReason(const CalendarDate& date, const jdcore::DateCheck& check,
                        Language language);

}  // namespace daybridge
