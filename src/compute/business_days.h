// Weekday (Monday to Friday) arithmetic on JDNs in constant time, whatever the span.
//
// The counting rule, in both directions: the days counted are those strictly after the first
// date, towards the second, up to and including the second; with include-first the first date
// counts too when it is a weekday. The sign is the direction from the first date to the second
// (the same date counts +1 when it is counted). A stepped date is one whose count from the
// known date is exactly the difference; where several dates share that count the weekday among
// them is taken (there is at most one); where only weekend days have it, the one nearest the
// known date; where no date has it (a difference of 0, or -1 with include-first from a weekday
// whose day before is a weekday too) the known date itself.
//
// JDN 0 is a Monday, so a JDN's weekday position is its floor remainder by 7 (0 Monday ..
// 4 Friday, 5 Saturday, 6 Sunday). All values are 64-bit so that spans of +-4,200,000,000 days
// and the sums on them cannot overflow; callers check the range of what they keep.
#pragma once

#include <cstdint>

namespace daybridge {

// True for Monday to Friday.
bool IsWeekdayDay(std::int64_t jdn);

// The number of weekdays in [0, jdn) counted from JDN 0 (negative below 0), so that
// WeekdaysBefore(b) - WeekdaysBefore(a) is the number of weekdays in [a, b).
std::int64_t WeekdaysBefore(std::int64_t jdn);

// The weekday that has `index` weekdays before it in the count of WeekdaysBefore.
std::int64_t WeekdayAtIndex(std::int64_t index);

// The signed weekday count from `first` to `second` under the rule above.
std::int64_t SignedWeekdayCount(std::int64_t first, std::int64_t second, bool includeFirst);

// The second date: the date whose count from `first` is `difference`.
std::int64_t StepWeekdays(std::int64_t first, std::int64_t difference, bool includeFirst);

// The first date: the date from which the count to `second` is `difference`.
std::int64_t StepWeekdaysBack(std::int64_t second, std::int64_t difference, bool includeFirst);

}  // namespace daybridge
