// The Mayan Long Count (MAY): baktun, katun, tun, uinal, kin, with the correlation 584,283.
#include "calendar/calendars/entry_support.h"
#include "jdcore/world_calendars.h"

namespace daybridge {
namespace {

CalendarDate LongCountDate(std::int64_t jdn) {
    const jdcore::LongCount c = jdcore::JdnToLongCount(jdn);
    return {.month = c.katun, .year = c.baktun, .day = c.tun, .uinal = c.uinal, .kin = c.kin};
}
std::int64_t LongCountJdn(const CalendarDate& d) {
    return jdcore::LongCountToJdn({d.year, d.month, d.day, d.uinal, d.kin});
}
// Katun and tun count 20 to the next place up, the uinal 18 (a tun is 360 days), the kin 20;
// the baktun has no limit of its own.
jdcore::DateCheck Check(const CalendarDate& d) {
    const std::int32_t places[4] = {d.month, d.day, d.uinal, d.kin};
    constexpr std::int32_t kLargest[4] = {19, 19, 17, 19};
    for (int i = 0; i < 4; ++i) {
        if (places[i] < 0 || places[i] > kLargest[i]) {
            return {jdcore::DateProblem::PlaceOutOfRange, kLargest[i], i + 2};
        }
    }
    return {};
}

}  // namespace

constinit const CalendarEntry kMAYCalendar{
    .id = CalendarId::MAY,
    .code = "MAY",
    .libraryLetter = "",
    .fields = FieldKind::LongCount,
    .notation = Notation::LongCount,
    .fromJdn = LongCountDate,
    .toJdn = LongCountJdn,
    .check = Check,
    .unitMonths = CalendarId::CE,
    .nameText = 407,
    .todaySlot = kTodayAfter,
    .pageMonthsIn = CalendarId::CE,
};

}  // namespace daybridge
