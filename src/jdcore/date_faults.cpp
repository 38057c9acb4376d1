#include "jdcore/date_faults.h"

#include <algorithm>
#include <limits>

namespace jdcore {

namespace {

// The most months any year of the calendar has: Hebrew leap years, and the epagomenal or
// complementary days that count as a thirteenth month.
int MostMonths(WorldCalendar cal) {
    switch (cal) {
        case WorldCalendar::Hebrew:
        case WorldCalendar::Coptic:
        case WorldCalendar::Ethiopian:
        case WorldCalendar::FrenchRepublican:
            return 13;
        case WorldCalendar::Islamic:
        case WorldCalendar::Persian:
        case WorldCalendar::Indian:
            return 12;
    }
    return 12;
}

int CutToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

DateFaultReason WhyInvalidDate(WorldCalendar cal, std::int64_t year, std::int64_t month,
                               std::int64_t day) {
    DateFaultReason reason;
    reason.year = year;
    reason.month = CutToInt(month);
    if (year < -kMaxWorldYear || year > kMaxWorldYear) {
        reason.fault = DateFault::YearOutOfRange;
        reason.limit = kMaxWorldYear;
        return reason;
    }
    const int most = MostMonths(cal);
    if (month < 1 || month > most) {
        reason.fault = DateFault::MonthNumber;
        reason.limit = most;
        return reason;
    }
    const int months = MonthsInYear(cal, year);
    if (month > months) {
        reason.fault = DateFault::LeapMonth;
        reason.limit = months;
        return reason;
    }
    const int days = DaysInMonth(cal, year, static_cast<int>(month));
    if (day < 1 || day > days) {
        reason.fault = DateFault::DayOfMonth;
        reason.limit = days;
    }
    return reason;
}

DateFaultReason WhyInvalidLongCount(const std::array<std::int64_t, 5>& places) {
    // Katun and tun count 20 to the next place up, the uinal 18 (a tun is 360 days), the kin 20.
    constexpr std::array<std::int64_t, 5> kLargest = {0, 19, 19, 17, 19};
    DateFaultReason reason;
    reason.year = places[0];
    for (std::size_t i = 1; i < places.size(); ++i) {
        if (places[i] < 0 || places[i] > kLargest[i]) {
            reason.fault = DateFault::LongCountPlace;
            reason.place = static_cast<int>(i) + 1;
            reason.limit = kLargest[i];
            return reason;
        }
    }
    return reason;
}

}  // namespace jdcore
