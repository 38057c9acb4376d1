// ISO 8601 week dates and ordinal dates on top of the CE arithmetic.
//
// Week 1 of an ISO year is the Monday-to-Sunday week holding the year's first Thursday, so an
// ISO year has 52 or 53 weeks: 1 January 2010 (a Friday) is 2009-W53-5.
#pragma once

#include <cstdint>

#include "calendar/calendar_table.h"

namespace daybridge {

std::int32_t Week1Monday(std::int32_t year);       // JDN of the Monday starting week 1
void JdnToIsoWeek(IsoWeekRecord& record);          // from jdn: year, week, weekday
std::int32_t IsoWeekToJdn(IsoWeekRecord& record);  // from year, week, weekday: jdn
bool HasWeek53(std::int64_t year);
bool IsValidIsoWeek(IsoWeekRecord& record);                      // false also clears record.valid
bool IsValidOrdinal(std::int32_t year, std::int32_t dayOfYear);  // years 1..9999

}  // namespace daybridge
