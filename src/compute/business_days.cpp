#include "compute/business_days.h"

namespace daybridge {
namespace {

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

}  // namespace

bool IsWeekdayDay(std::int64_t jdn) {
    return jdn - 7 * FloorDiv(jdn, 7) < 5;
}

std::int64_t WeekdaysBefore(std::int64_t jdn) {
    const std::int64_t weeks = FloorDiv(jdn, 7);
    const std::int64_t rest = jdn - 7 * weeks;
    return 5 * weeks + (rest < 5 ? rest : 5);
}

std::int64_t WeekdayAtIndex(std::int64_t index) {
    const std::int64_t weeks = FloorDiv(index, 5);
    return 7 * weeks + (index - 5 * weeks);
}

// With P = WeekdaysBefore: forwards the weekdays in (first, second], backwards those in
// [second, first); include-first adds the first date to either span.
std::int64_t SignedWeekdayCount(std::int64_t first, std::int64_t second, bool includeFirst) {
    if (second >= first) {
        return WeekdaysBefore(second + 1) - WeekdaysBefore(includeFirst ? first : first + 1);
    }
    return WeekdaysBefore(second) - WeekdaysBefore(includeFirst ? first + 1 : first);
}

std::int64_t StepWeekdays(std::int64_t first, std::int64_t difference, bool includeFirst) {
    if (difference == 0) {
        return first;
    }
    if (difference > 0) {
        // The dates counting `difference` run from the weekday with index
        // P(first end) + difference - 1 up to the day before the next weekday.
        const std::int64_t from = first + (includeFirst ? 0 : 1);
        return WeekdayAtIndex(WeekdaysBefore(from) + difference - 1);
    }
    // Backwards the dates counting `difference` are those d < first with
    // P(d) = P(first end) + difference; the weekday among them is the last of them.
    const std::int64_t end = first + (includeFirst ? 1 : 0);
    const std::int64_t weekday = WeekdayAtIndex(WeekdaysBefore(end) + difference);
    if (weekday < first) {
        return weekday;
    }
    // Only with include-first from a weekday and a difference of -1: the weekend day just
    // before, if there is one.
    return SignedWeekdayCount(first, first - 1, includeFirst) == difference ? first - 1 : first;
}

std::int64_t StepWeekdaysBack(std::int64_t second, std::int64_t difference, bool includeFirst) {
    if (difference == 0) {
        return second;
    }
    if (difference > 0) {
        // First dates d <= second with P(d + 1 - include) = P(second + 1) - difference: the
        // weekday among them is the earliest of them.
        const std::int64_t target = WeekdaysBefore(second + 1) - difference;
        return includeFirst ? WeekdayAtIndex(target) : WeekdayAtIndex(target - 1);
    }
    // First dates d > second with P(d + include) = P(second) - difference.
    const std::int64_t target = WeekdaysBefore(second) - difference;
    const std::int64_t weekday = includeFirst ? WeekdayAtIndex(target - 1) : WeekdayAtIndex(target);
    if (weekday > second) {
        return weekday;
    }
    // Only with include-first to a weekday and a difference of -1: the weekend day just after.
    return SignedWeekdayCount(second + 1, second, includeFirst) == difference ? second + 1 : second;
}

}  // namespace daybridge
