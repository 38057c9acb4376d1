#include "calendar/iso_ordinal.h"

#include <limits>

#include "jdcore/day_count.h"

namespace daybridge {
namespace {

std::int32_t Saturate(std::int64_t v) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v > kMax ? kMax : v < -kMax ? -kMax : v);
}

}  // namespace

std::int32_t Week1Monday(std::int32_t year) {
    return Saturate(jdcore::iso_week1_monday(year));
}

void JdnToIsoWeek(IsoWeekRecord& record) {
    const jdcore::IsoWeekDate date = jdcore::iso_week_from_jdn(record.jdn);
    record.year = static_cast<std::int32_t>(date.year);
    record.week = date.week;
    record.weekday = date.weekday;
}

std::int32_t IsoWeekToJdn(IsoWeekRecord& record) {
    record.jdn = Saturate(jdcore::jdn_from_iso_week(record.year, record.week, record.weekday));
    return record.jdn;
}

bool HasWeek53(std::int64_t year) {
    return jdcore::iso_weeks_in_year(year) == 53;
}

bool IsValidIsoWeek(IsoWeekRecord& record) {
    const bool ok = record.weekday >= 1 && record.weekday <= 7 && record.week >= 1 &&
                    record.week <= jdcore::iso_weeks_in_year(record.year);
    if (!ok) {
        record.valid = 0;
    }
    return ok;
}

bool IsValidOrdinal(std::int32_t year, std::int32_t dayOfYear) {
    if (year < 1 || year > 9999 || dayOfYear < 1) {
        return false;
    }
    return dayOfYear <= (jdcore::gregorian_leap(year) ? 366 : 365);
}

}  // namespace daybridge
