// Why a date of one of the world's calendars does not exist, told from the calendar's own
// rules: the month a year does not have, the day its month does not have, the place of a Long
// Count beyond its range. The window turns the answer into a sentence ("Safar 1448 has 29
// days"), so a user sees what to mend rather than that something is wrong.
#pragma once

#include <array>
#include <cstdint>

#include "jdcore/world_calendars.h"

namespace jdcore {

enum class DateFault {
    None,            // the date exists
    YearOutOfRange,  // |year| beyond kMaxWorldYear
    MonthNumber,     // a month no year has: outside 1..limit
    LeapMonth,       // a month only leap years have, in a common year (Hebrew Adar II)
    DayOfMonth,      // a day the month does not have: outside 1..limit
    LongCountPlace,  // a place of a Long Count beyond 0..limit
};

struct DateFaultReason {
    DateFault fault = DateFault::None;
    std::int64_t year = 0;   // the year the fault is about
    int month = 0;           // the month the fault is about (MonthNumber: as written, cut to int)
    int place = 0;           // LongCountPlace: 2 (katun) .. 5 (kin)
    std::int64_t limit = 0;  // the largest number allowed there
};

// A year-month-day date of `cal` as written.
DateFaultReason WhyInvalidDate(WorldCalendar cal, std::int64_t year, std::int64_t month,
                               std::int64_t day);
// A Long Count as written: baktun (signed, no range of its own), katun, tun, uinal, kin.
DateFaultReason WhyInvalidLongCount(const std::array<std::int64_t, 5>& places);

}  // namespace jdcore
