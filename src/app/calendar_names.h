// The names of the calendars in a language: where the text of a calendar's name comes from.
// The window's option buttons are named by their captions; every other calendar by its text in
// the text data file (the registry entry's nameText). Month names come from the registry
// (calendar/calendar_registry.h: MonthNameOf), their texts through the same text store.
#pragma once

#include <QString>

#include "calendar/calendar_registry.h"
#include "text/language.h"

namespace daybridge {

QString CalendarName(CalendarId id, Language language);

}  // namespace daybridge
