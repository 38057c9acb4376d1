// The day counts: the Julian Day Number itself (JDN) and the Modified Julian Day (MJD), the
// day count from midnight on 17 November 1858.
#include "calendar/calendars/entry_support.h"
#include "jdcore/world_calendars.h"

namespace daybridge {
namespace {

CalendarDate JdnDate(std::int64_t jdn) {
    return {.year = jdn};
}
std::int64_t JdnOfDate(const CalendarDate& d) {
    return d.year;
}
CalendarDate MjdDate(std::int64_t jdn) {
    return {.year = jdn - jdcore::kMjdOffset};
}
std::int64_t MjdJdn(const CalendarDate& d) {
    return d.year + jdcore::kMjdOffset;
}
jdcore::DateCheck AnyNumber(const CalendarDate&) {
    return {};
}

}  // namespace

constinit const CalendarEntry kJDNCalendar{
    .id = CalendarId::JDN,
    .code = "JDN",
    .libraryLetter = "JD",
    .fields = FieldKind::DayNumber,
    .notation = Notation::DayNumber,
    .fromJdn = JdnDate,
    .toJdn = JdnOfDate,
    .check = AnyNumber,
    // Any 32-bit day number is written as it is.
    .firstJdn = calendars::kFirstInt32,
    .lastJdn = calendars::kLastInt32,
    .unitMonths = CalendarId::CE,
    .fieldChoice = FieldChoice::Option,
    .optionSlot = 3,
    .todaySlot = 6,
    .monthDisplay = MonthDisplay::CommonEraMonthOnly,
    .pageMonthsIn = CalendarId::CE,
};

constinit const CalendarEntry kMJDCalendar{
    .id = CalendarId::MJD,
    .code = "MJD",
    .libraryLetter = "",
    .fields = FieldKind::DayNumber,
    .notation = Notation::DayNumber,
    .dayOffset = jdcore::kMjdOffset,
    .fromJdn = MjdDate,
    .toJdn = MjdJdn,
    .check = AnyNumber,
    .unitMonths = CalendarId::CE,
    .nameText = 408,
    .todaySlot = kTodayAfter,
    .pageMonthsIn = CalendarId::CE,
};

}  // namespace daybridge
