// The registry's entries, one per calendar of calendar/calendar_list.h, each defined in its
// calendar's file in this folder.
#pragma once

#include "calendar/calendar_registry.h"

namespace daybridge {

#define DAYBRIDGE_CALENDAR_DECLARATION(code) extern const CalendarEntry k##code##Calendar;
DAYBRIDGE_CALENDARS(DAYBRIDGE_CALENDAR_DECLARATION)
#undef DAYBRIDGE_CALENDAR_DECLARATION

}  // namespace daybridge
