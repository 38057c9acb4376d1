// The long form of a date of a lunisolar calendar (CHN, KOR), in the interface language: the
// day, the month with its leap flag, the year with its sexagenary name and animal — "day 15 of
// month 11 (leap), year 2033 (gui-chou, Ox)".
#pragma once

#include <QString>
#include <cstdint>

#include "calendar/calendar_list.h"
#include "text/language.h"

namespace daybridge {

// Empty for a calendar that is not lunisolar, or a day outside its span.
QString LunisolarLongDate(CalendarId calendar, std::int64_t jdn, Language language);

}  // namespace daybridge
