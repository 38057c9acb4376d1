// Reads arbitrary text as a holiday rule file. A file that reads gives a working-day calendar
// (with a weekend set from the first byte) on which every question about a day gives one
// answer: a day is a working day exactly when it alone counts 1 and then is no holiday, a
// holiday has a name, a span counts the sum of its days, and a date stepped by a count is a
// working day counted back to it (the one-day span aside). The days looked at lie around the
// turn of a year chosen by the next bytes.
#include <memory>

#include "fuzz_support.h"
#include "jdcore/day_count.h"
#include "workdays/workday_calendar.h"

using namespace daybridge;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5 || size > 2048) {
        return 0;
    }
    const QString text = fuzz::Text(data + 4, size - 4);
    const HolidayParseResult parsed = ParseHolidayRules(text);
    Check(parsed.set.has_value() == (parsed.fault == HolidayFault::None));
    Check(parsed.set.has_value() || parsed.line > 0 || parsed.fault == HolidayFault::TooComplex ||
          parsed.fault == HolidayFault::NoWorkingDay);
    if (!parsed.set) {
        return 0;
    }
    const WorkdayCalendar calendar(static_cast<std::uint8_t>(data[0] % 127),
                                   std::make_shared<HolidaySet>(*parsed.set));
    const std::int64_t first =
        jdcore::jdn_from_gregorian(1990 + data[1] % 64, 1, 1) + static_cast<std::int8_t>(data[2]);
    const std::int64_t second = first + static_cast<std::int8_t>(data[3]) * 3;

    constexpr std::int64_t kAround = 60;
    std::int64_t workdays = 0;
    for (std::int64_t day = first - kAround; day <= first + kAround; ++day) {
        const bool works = calendar.IsWorkday(day);
        Check(calendar.WorkdaysIn(day, day + 1) == (works ? 1 : 0));
        Check(!works || !calendar.IsHoliday(day));
        Check(!calendar.IsHoliday(day) || !calendar.HolidayNames(day).isEmpty());
        workdays += works ? 1 : 0;
    }
    Check(calendar.WorkdaysIn(first - kAround, first + kAround + 1) == workdays);

    for (const bool includeFirst : {false, true}) {
        const std::int64_t count = calendar.Count(first, second, includeFirst);
        const std::int64_t stepped = calendar.StepFromFirst(first, count, includeFirst);
        if (count == 0 || stepped == WorkdayCalendar::kNoDate ||
            stepped == -WorkdayCalendar::kNoDate) {
            continue;
        }
        Check(calendar.IsWorkday(stepped));
        if (!includeFirst || count != -1 || !calendar.IsWorkday(first)) {
            Check(calendar.Count(first, stepped, includeFirst) == count);
        }
        const std::int64_t back = calendar.StepFromSecond(second, count, includeFirst);
        Check(back == -WorkdayCalendar::kNoDate || back == WorkdayCalendar::kNoDate ||
              calendar.IsWorkday(back));
    }
    return 0;
}
