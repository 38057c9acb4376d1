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

std::int64_t SignedWeekdayCount(std::int64_t first, std::int64_t second) {
    // Both directions count the half-open span whose later end is inclusive.
    return WeekdaysBefore(second + 1) - WeekdaysBefore(first + 1);
}

std::int64_t StepWeekdays(std::int64_t from, std::int64_t difference, bool includeFrom) {
    if (difference == 0) {
        return from;
    }
    const bool fromIsWeekday = IsWeekdayDay(from);
    const std::int64_t n =
        (difference < 0 ? -difference : difference) - (includeFrom && fromIsWeekday ? 1 : 0);
    if (n == 0) {
        return from;
    }
    if (difference > 0) {
        // The n-th weekday after `from`. From a weekend day a count of whole weeks lands on the
        // weekend again, whose Friday before is this same day.
        return WeekdayAtIndex(WeekdaysBefore(from + 1) + n - 1);
    }
    // Backwards the Friday before a weekend day is the first weekday reached, so whole weeks
    // from a weekend day end on the Friday one weekday further back.
    const std::int64_t k = (!fromIsWeekday && n % 5 == 0) ? n + 1 : n;
    return WeekdayAtIndex(WeekdaysBefore(from) - k);
}

}  // namespace daybridge
