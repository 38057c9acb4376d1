// Reads arbitrary text as a holiday rule file. A file that reads gives a working-day calendar
// (with a weekend set from the first byte) whose counts and steps agree: a date stepped by a
// count is counted back to it.
#include <memory>

#include "fuzz_support.h"
#include "workdays/workday_calendar.h"

using namespace daybridge;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4 || size > 2048) {
        return 0;
    }
    const QString text = fuzz::Text(data + 3, size - 3);
    const HolidayParseResult parsed = ParseHolidayRules(text);
    Check(parsed.set.has_value() != (parsed.line > 0));
    if (!parsed.set) {
        return 0;
    }
    const WorkdayCalendar calendar(static_cast<std::uint8_t>(data[0] % 127),
                                   std::make_shared<HolidaySet>(*parsed.set));
    const std::int64_t first = 2451545 + data[1] * 37;
    const std::int64_t second = first + static_cast<std::int8_t>(data[2]) * 3;
    for (const bool includeFirst : {false, true}) {
        const std::int64_t count = calendar.Count(first, second, includeFirst);
        const std::int64_t stepped = calendar.StepFromFirst(first, count, includeFirst);
        if (stepped != WorkdayCalendar::kNoDate && stepped != -WorkdayCalendar::kNoDate &&
            (count > 0 || count < -1 || !includeFirst) && count != 0) {
            Check(calendar.Count(first, stepped, includeFirst) == count);
        }
    }
    return 0;
}
