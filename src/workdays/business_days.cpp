#include "workdays/business_days.h"

#include <array>

#include "jdcore/day_count.h"

namespace daybridge {
namespace {

std::int64_t MonthOf(std::int64_t jdn) {
    const jdcore::YearMonthDay date = jdcore::gregorian_from_jdn(jdn);
    return date.year * 12 + date.month;
}

bool Found(std::int64_t jdn) {
    return jdn != WorkdayCalendar::kNoDate && jdn != -WorkdayCalendar::kNoDate;
}

}  // namespace

std::optional<Roll> RollNamed(std::string_view upperName) {
    constexpr std::array<std::pair<std::string_view, Roll>, 4> kNames = {{
        {"FOLLOWING", Roll::Following},
        {"PRECEDING", Roll::Preceding},
        {"MODFOLLOWING", Roll::ModifiedFollowing},
        {"MODPRECEDING", Roll::ModifiedPreceding},
    }};
    for (const auto& [name, roll] : kNames) {
        if (name == upperName) {
            return roll;
        }
    }
    return std::nullopt;
}

std::int64_t NextWorkday(const WorkdayCalendar& workdays, std::int64_t jdn) {
    return workdays.StepFromFirst(jdn, 1, false);
}

std::int64_t PreviousWorkday(const WorkdayCalendar& workdays, std::int64_t jdn) {
    return workdays.StepFromFirst(jdn, -1, false);
}

std::int64_t Rolled(const WorkdayCalendar& workdays, std::int64_t jdn, Roll roll) {
    if (workdays.IsWorkday(jdn)) {
        return jdn;
    }
    const bool forward = roll == Roll::Following || roll == Roll::ModifiedFollowing;
    const std::int64_t first =
        forward ? NextWorkday(workdays, jdn) : PreviousWorkday(workdays, jdn);
    if (roll == Roll::Following || roll == Roll::Preceding ||
        (Found(first) && MonthOf(first) == MonthOf(jdn))) {
        return first;
    }
    return forward ? PreviousWorkday(workdays, jdn) : NextWorkday(workdays, jdn);
}

std::int64_t NthWorkdayOfMonth(const WorkdayCalendar& workdays, std::int64_t year, int month,
                               std::int64_t n) {
    const std::int64_t first = jdcore::jdn_from_gregorian(year, month, 1);
    const std::int64_t end = jdcore::jdn_from_gregorian(year, month + 1, 1);  // month 13 allowed
    if (n == 0 || (n > 0 ? n : -n) > end - first) {
        return WorkdayCalendar::kNoDate;
    }
    // Counting from the day before the month (or to the day after it) leaves that day out.
    const std::int64_t day =
        n > 0 ? workdays.StepFromFirst(first - 1, n, false) : workdays.StepFromFirst(end, n, false);
    return Found(day) && day >= first && day < end ? day : WorkdayCalendar::kNoDate;
}

std::int64_t WorkdaysInMonth(const WorkdayCalendar& workdays, std::int64_t year, int month) {
    return workdays.WorkdaysIn(jdcore::jdn_from_gregorian(year, month, 1),
                               jdcore::jdn_from_gregorian(year, month + 1, 1));
}

std::int64_t WorkdaysInYear(const WorkdayCalendar& workdays, std::int64_t year) {
    return workdays.WorkdaysIn(jdcore::jdn_from_gregorian(year, 1, 1),
                               jdcore::jdn_from_gregorian(year + 1, 1, 1));
}

}  // namespace daybridge
