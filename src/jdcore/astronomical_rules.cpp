// The astronomical calendars' rules from the moments of astronomy.h (see astronomical_rules.h).
#include "jdcore/astronomical_rules.h"

#include <cmath>

#include "jdcore/astronomy.h"
#include "jdcore/day_count.h"

namespace jdcore::rules {

namespace {

namespace astro = jdcore::astronomy;

constexpr astro::Place kTehran = {35.0 + 41.0 / 60, 51.0 + 25.0 / 60};
constexpr astro::Place kParis = {48.0 + 50.0 / 60 + 11.0 / 3600, 2.0 + 20.0 / 60 + 15.0 / 3600};
constexpr double kIranHours = 3.5;

// The civil day (JDN) of a moment at a time zone `hours` east of Greenwich.
std::int64_t CivilDay(double jdUT, double hours) {
    return static_cast<std::int64_t>(std::floor(jdUT + 0.5 + hours / 24.0));
}

// The local day of a moment at a place that changed its zone over time: the zone is the one in
// use on that day (taken at UTC+8, near every zone involved).
std::int64_t LunisolarDay(LunisolarPlace place, double jdUT) {
    return CivilDay(jdUT, LunisolarZoneHours(place, CivilDay(jdUT, 8.0)));
}

struct NewMoonDay {
    long number;  // astronomy::NthNewMoon's numbering
    std::int64_t day;
};

// The last new moon whose local day is on or before `jdn`.
NewMoonDay NewMoonOnOrBefore(LunisolarPlace place, std::int64_t jdn) {
    long k = astro::NewMoonBefore(static_cast<double>(jdn) + 0.5);  // before the day's end (UT)
    while (LunisolarDay(place, astro::NthNewMoon(k + 1)) <= jdn) {
        ++k;
    }
    while (LunisolarDay(place, astro::NthNewMoon(k)) > jdn) {
        --k;
    }
    return {k, LunisolarDay(place, astro::NthNewMoon(k))};
}

}  // namespace

double LunisolarZoneHours(LunisolarPlace place, std::int64_t jdn) {
    if (place == LunisolarPlace::Beijing) {
        return jdn < jdn_from_gregorian(1929, 1, 1) ? 1397.0 / 180.0 : 8.0;
    }
    if (jdn < jdn_from_gregorian(1908, 4, 1)) {
        return 3809.0 / 450.0;
    }
    if (jdn < jdn_from_gregorian(1912, 1, 1)) {
        return 8.5;
    }
    if (jdn < jdn_from_gregorian(1954, 3, 21)) {
        return 9.0;
    }
    return jdn < jdn_from_gregorian(1961, 8, 10) ? 8.5 : 9.0;
}

std::vector<LunisolarMonth> LunisolarMonths(LunisolarPlace place, int firstYear, int lastYear) {
    // Month 11 of each Gregorian year from firstYear - 1 (it precedes month 1 of firstYear) to
    // lastYear + 1 (its sui ends past month 1 of lastYear + 1).
    std::vector<LunisolarMonth> all;
    NewMoonDay month11 =
        NewMoonOnOrBefore(place, LunisolarDay(place, astro::SeasonStart(firstYear - 1, 270)));
    for (int y = firstYear; y <= lastYear + 1; ++y) {
        const double solsticeBefore = astro::SeasonStart(y - 1, 270);
        const NewMoonDay next11 =
            NewMoonOnOrBefore(place, LunisolarDay(place, astro::SeasonStart(y, 270)));
        // The days on which the major terms of the sui begin, solstice to solstice.
        std::vector<std::int64_t> termDays;
        double t = solsticeBefore;
        for (int term = 0; term <= 12; ++term) {
            t = astro::SolarLongitudeAfter(std::fmod(270.0 + 30.0 * term, 360.0), t - 1.0);
            termDays.push_back(LunisolarDay(place, t));
            t += 20.0;
        }
        const bool leapSui = next11.number - month11.number == 13;
        bool leapTaken = false;
        int number = 11;
        int year = y - 1;  // months 11 and 12 belong to the year before
        for (long k = month11.number; k < next11.number; ++k) {
            const std::int64_t start = LunisolarDay(place, astro::NthNewMoon(k));
            const std::int64_t end = LunisolarDay(place, astro::NthNewMoon(k + 1));
            bool hasTerm = false;
            for (std::int64_t d : termDays) {
                hasTerm = hasTerm || (d >= start && d < end);
            }
            const bool leap = leapSui && !leapTaken && !hasTerm && k != month11.number;
            if (leap) {
                leapTaken = true;
            } else if (k != month11.number) {
                number = number % 12 + 1;
                year += number == 1 ? 1 : 0;
            }
            if (year >= firstYear && year <= lastYear) {
                all.push_back({start, year, number, leap});
            } else if (year == lastYear + 1 && number == 1 && !leap) {
                all.push_back({start, year, number, leap});
                return all;
            }
        }
        month11 = next11;
    }
    return all;
}

std::int64_t PersianAstronomicalNewYear(std::int64_t year) {
    const double equinox = astro::SeasonStart(static_cast<int>(year + 621), 0);
    const std::int64_t day = CivilDay(equinox, kIranHours);
    return equinox < astro::TrueNoon(static_cast<double>(day), kTehran) ? day : day + 1;
}

std::int64_t FrenchAstronomicalNewYear(std::int64_t year) {
    const double equinox = astro::SeasonStart(static_cast<int>(year + 1791), 180);
    // The day in Paris's true time: the local mean day, moved by the apparent midnight that
    // ends it.
    const auto meanDay =
        static_cast<std::int64_t>(std::floor(equinox + 0.5 + kParis.longitude / 360));
    return equinox < astro::TrueMidnightAfter(static_cast<double>(meanDay), kParis) ? meanDay
                                                                                    : meanDay + 1;
}

std::int64_t BahaiAstronomicalNewYear(std::int64_t year) {
    const double equinox = astro::SeasonStart(static_cast<int>(year + 1843), 0);
    const std::int64_t day = CivilDay(equinox, kIranHours);
    // Sunset as the sun's centre reaching the horizon: the Baha'i World Centre's published
    // dates for 172-221 BE need it: in 2026 the equinox comes 49 s before the upper limb's
    // sunset and 30 s after the centre's, and the published Naw-Ruz is 21 March; in 2059 it
    // comes 50 s before the centre's sunset, and Naw-Ruz is 20 March.
    return equinox < astro::Sunset(static_cast<double>(day), kTehran, astro::kCentreSunset)
               ? day
               : day + 1;
}

}  // namespace jdcore::rules
