// Weekday (Monday to Friday) arithmetic on JDNs in constant time, whatever the span.
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

// The weekdays after `first` up to and including `second`, negative when `second` lies before
// `first` (then the weekdays after `second` up to and including `first`).
std::int64_t SignedWeekdayCount(std::int64_t first, std::int64_t second);

// The date `difference` weekdays from `from` (backwards when negative), counting `from` itself
// when it is a weekday and `includeFrom` is set. A result that would fall on a Saturday or a
// Sunday is the Friday before it. A difference of 0 gives `from`.
std::int64_t StepWeekdays(std::int64_t from, std::int64_t difference, bool includeFrom);

}  // namespace daybridge
