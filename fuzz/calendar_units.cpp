// Reads arbitrary text as a unit difference (German when the first byte is odd) and adds it,
// and arbitrary years and months, to arbitrary days in every calendar. A result must be in
// range, a written difference must read back as itself, and the whole months between two days
// must change sign with their order.
#include "calendar/calendar_units.h"
#include "calendar/calendar_registry.h"
#include "datetext/unit_difference.h"
#include "fuzz_support.h"

using namespace daybridge;
using fuzz::Check;
using fuzz::Take;

namespace {

void CheckResult(const UnitResult& result) {
    Check(result.outcome != UnitOutcome::Done ||
          (result.jdn >= -kMaxUnitJdn && result.jdn <= kMaxUnitJdn));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const Language language = kLanguages[data[0] % kLanguages.size()];
    const QString text = fuzz::Text(data + 1, size - 1);
    const UnitDifferenceParse parsed = ParseUnitDifference(text, language);
    if (parsed.outcome == ParseOutcome::Valid) {
        const QString shown = UnitDifferenceText(parsed.difference, language);
        const UnitDifferenceParse again = ParseUnitDifference(shown, language);
        Check(again.outcome == ParseOutcome::Valid);
        const UnitDifference& a = parsed.difference;
        const UnitDifference& b = again.difference;
        Check(a.years == b.years && a.months == b.months && a.weeks == b.weeks &&
              a.days == b.days && a.typed == b.typed);
    }
    const std::uint8_t* rest = data + 1;
    std::size_t left = size - 1;
    const std::int64_t jdn = Take(rest, left) % (kMaxUnitJdn + 1);
    const std::int64_t other = Take(rest, left) % (kMaxUnitJdn + 1);
    const std::int64_t years = Take(rest, left);
    const std::int64_t months = Take(rest, left);
    for (const CalendarEntry* entry : AllCalendars()) {
        const CalendarId calendar = entry->id;
        if (parsed.outcome == ParseOutcome::Valid) {
            CheckResult(AddUnits(calendar, jdn, parsed.difference));
            CheckResult(AddUnits(calendar, jdn, parsed.difference, true));
        }
        CheckResult(AddYearsMonths(calendar, jdn, years, months));
        CheckResult(AddYearsMonths(calendar, jdn, years % 100'000, months % 1'000'000));
        const MonthsResult forth = MonthsBetween(calendar, jdn, other);
        const MonthsResult back = MonthsBetween(calendar, other, jdn);
        // Only a calendar of a span of years may lack the days.
        const CalendarEntry& months = Calendar(entry->unitMonths);
        Check(forth.outcome == back.outcome &&
              (forth.outcome == UnitOutcome::Done
                   ? forth.months == -back.months
                   : !InSpan(months, jdn) || !InSpan(months, other)));
    }
    return 0;
}
