// The Umm al-Qura rules from the moments of astronomy.h and moon.h (see umm_al_qura_rules.h).
#include "jdcore/umm_al_qura_rules.h"

#include <cmath>

#include "jdcore/moon.h"
#include "jdcore/world_calendars.h"

namespace jdcore::rules {

namespace {

namespace astro = jdcore::astronomy;

constexpr std::int64_t kFirstMoonsetYear = 1420;
constexpr std::int64_t kFirstNewMoonAndMoonsetYear = 1423;

// The number (astronomy::NthNewMoon's) of the new moon that begins month 1 of `year`: the
// one nearest the day before the tabular calendar's 1 Muharram, which follows the true new
// moon within about two days.
long NewMoonOfYear(std::int64_t year) {
    const auto tabular = static_cast<double>(ToJdn(WorldCalendar::Islamic, year, 1, 1));
    return std::lround((tabular - 1.0 - 2451550.09766) / astro::kMeanSynodicMonth);
}

// The JDN of the UT date of a moment.
std::int64_t UtDay(double jdUT) {
    return static_cast<std::int64_t>(std::floor(jdUT + 0.5));
}

// Whether a month that began on `previousStart` ends on its 29th under `rule`, the new moon
// `newMoon` opening the next one.
bool EndsOn29th(UmmAlQuraRule rule, std::int64_t previousStart, double newMoon) {
    const double sunset = astro::Sunset(static_cast<double>(previousStart + 28), kMecca);
    const bool moonSetsAfter = astro::MoonsetNear(sunset, kMecca) > sunset;
    return rule == UmmAlQuraRule::MoonsetAfterSunset ? moonSetsAfter
                                                     : moonSetsAfter && newMoon < sunset;
}

}  // namespace

UmmAlQuraRule UmmAlQuraRuleOf(std::int64_t year) {
    return year < kFirstMoonsetYear             ? UmmAlQuraRule::GreenwichNewMoon
           : year < kFirstNewMoonAndMoonsetYear ? UmmAlQuraRule::MoonsetAfterSunset
                                                : UmmAlQuraRule::NewMoonAndMoonset;
}

MeccaEvening MeccaEveningOf(std::int64_t jdn) {
    const double sunset = astro::Sunset(static_cast<double>(jdn), kMecca);
    const long k = astro::NewMoonBefore(sunset);
    const double before = astro::NthNewMoon(k), after = astro::NthNewMoon(k + 1);
    return {sunset, astro::MoonsetNear(sunset, kMecca),
            sunset - before < after - sunset ? before : after};
}

std::vector<std::int64_t> UmmAlQuraMonthStarts(std::int64_t firstYear, std::int64_t lastYear) {
    // The moonset rules count from the month before: start where the Greenwich rule, which
    // needs none, still held.
    const std::int64_t from = firstYear < kFirstMoonsetYear ? firstYear : kFirstMoonsetYear - 1;
    const long firstNewMoon = NewMoonOfYear(from);
    std::vector<std::int64_t> starts;
    std::int64_t previous = 0;
    for (std::int64_t n = 0; n <= 12 * (lastYear - from + 1); ++n) {
        const std::int64_t year = from + n / 12;
        const double newMoon = astro::NthNewMoon(firstNewMoon + static_cast<long>(n));
        const UmmAlQuraRule rule = UmmAlQuraRuleOf(year);
        const std::int64_t start = rule == UmmAlQuraRule::GreenwichNewMoon ? UtDay(newMoon) + 1
                                   : EndsOn29th(rule, previous, newMoon)   ? previous + 29
                                                                           : previous + 30;
        if (year >= firstYear) {
            starts.push_back(start);
        }
        previous = start;
    }
    return starts;
}

}  // namespace jdcore::rules
