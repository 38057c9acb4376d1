#include "calendar/leap_week.h"

#include <limits>

#include "jdcore/day_count.h"

namespace daybridge {
namespace {

template <typename T>
bool Fits(std::int64_t v) {
    return v >= std::numeric_limits<T>::min() && v <= std::numeric_limits<T>::max();
}

}  // namespace

bool IsLeapWeekYear(std::int64_t year) {
    return jdcore::leap_week_is_leap(year);
}

int WeeksInYear(bool leap) {
    return leap ? 53 : 52;
}

int DaysInLeapWeekYear(bool leap) {
    return 7 * WeeksInYear(leap);
}

int WeeksInMonth(int month, bool leap) {
    return jdcore::leap_week_weeks_in_month(month, leap);
}

std::int16_t CheckLeapWeekRecord(LeapWeekRecord& record) {
    record.status = (record.weekday < 0 || record.weekday > 7) ? kLeapWeekBadDay : kLeapWeekGood;
    return record.status;
}

bool JdnToLpw(LeapWeekRecord& record) {
    const jdcore::LeapWeekDate date = jdcore::leap_week_from_jdn(record.jdn);
    record.year = static_cast<std::int32_t>(date.year);  // |year| < 5.9 million
    record.week = static_cast<std::int16_t>(date.week);
    record.weekday = static_cast<std::int16_t>(date.weekday);
    record.status = kLeapWeekGood;
    return true;
}

bool LpwToJdn(LeapWeekRecord& record) {
    if (CheckLeapWeekRecord(record) < 0) {
        return false;
    }
    const std::int64_t jdn = jdcore::jdn_from_leap_week(record.year, record.week, record.weekday);
    // -2^31 is left out so that every JDN's magnitude is itself a 32-bit number.
    if (jdn < -std::numeric_limits<std::int32_t>::max() ||
        jdn > std::numeric_limits<std::int32_t>::max()) {
        record.status = kLeapWeekBeyondRange;
        return false;
    }
    record.jdn = static_cast<std::int32_t>(jdn);
    return true;
}

bool LpwToLpm(LeapWeekRecord& record) {
    if (CheckLeapWeekRecord(record) < 0) {
        return false;
    }
    const jdcore::MonthWeek mw =
        jdcore::leap_week_month_of_week(record.week, IsLeapWeekYear(record.year));
    const std::int64_t day = 7 * (mw.week - 1) + record.weekday;
    if (!Fits<std::int16_t>(day) || !Fits<std::int16_t>(mw.month)) {
        record.status = kLeapWeekBadDay;
        return false;
    }
    record.month = static_cast<std::int16_t>(mw.month);
    record.dayOfMonth = static_cast<std::int16_t>(day);
    return true;
}

bool LpmToLpw(LeapWeekRecord& record) {
    if (record.month < 0 || record.month > 12) {
        record.status = kLeapWeekBadMonth;
        return false;
    }
    const bool leap = IsLeapWeekYear(record.year);
    // Month 0 has no months before it; its length follows the 5-4-4 rule (4 weeks).
    const int weeksBefore =
        record.month >= 1 ? jdcore::leap_week_weeks_before_month(record.month) : 0;
    const int day = record.dayOfMonth;
    if (day > 7 * WeeksInMonth(record.month, leap) || day < 0) {
        record.status = kLeapWeekBadDay;
        return false;
    }
    // Truncating division: day 0 is weekday 0 of the month's first week.
    record.week = static_cast<std::int16_t>(weeksBefore + (day - 1) / 7 + 1);
    record.weekday = static_cast<std::int16_t>((day - 1) % 7 + 1);
    record.status = kLeapWeekGood;
    return true;
}

bool JdnToLpm(LeapWeekRecord& record) {
    return JdnToLpw(record) && LpwToLpm(record);
}

bool LpmToJdn(LeapWeekRecord& record) {
    return LpmToLpw(record) && LpwToJdn(record);
}

QString StarMonthName(int month) {
    return MonthNameOf(CalendarId::LPM, month, [](int) { return QString(); });
}

int YearInHexade(std::int64_t year) {
    return jdcore::leap_week_year_in_hexade(year);
}

bool IsInShortHexade(std::int64_t year) {
    const std::int64_t z = year - YearInHexade(year) + 1;
    return (71 * z) % 100 < 26;  // the remainder takes the sign of 71 z
}

}  // namespace daybridge
