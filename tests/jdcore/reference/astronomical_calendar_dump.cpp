// Prints the first day (JDN) of every month of every year of an equinox calendar's span, and
// after them the day after the span, for the comparison with convertdate in
// convertdate_astronomical_reference.py ("year month jdn" per line; the last line "end jdn").
// The days between month starts follow: comparing the starts compares every day. A sample of
// days converted back ("day jdn year month day") checks the other direction.
// ASTRO prints moments of astronomy.h in Terrestrial Time for the check of its accuracy:
// "S year degrees jd" (equinoxes and solstices), "N k jd" (new moons), "L jd longitude",
// "M jd longitude latitude distance" (the moon's apparent position).
//   astronomical_calendar_dump PEA|FRE|BAH|ASTRO
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "jdcore/astronomy.h"
#include "jdcore/equinox_calendars.h"
#include "jdcore/moon.h"

namespace {

void PrintAstronomy() {
    namespace astro = jdcore::astronomy;
    for (int year = 1600; year <= 2400; year += 7) {
        for (int degrees = 0; degrees < 360; degrees += 90) {
            const double t = astro::SeasonStart(year, degrees);
            std::printf("S %d %d %.7f\n", year, degrees, t + astro::DeltaT(t));
        }
    }
    for (long k = -4800; k <= 4900; k += 37) {
        const double t = astro::NthNewMoon(k);
        std::printf("N %ld %.7f\n", k, t + astro::DeltaT(t));
    }
    for (double t = 2305447.5; t < 2597641.5; t += 1234.567) {
        std::printf("L %.7f %.8f\n", t + astro::DeltaT(t), astro::SolarLongitude(t));
    }
    for (double t = 2378496.5; t < 2561118.5; t += 123.4567) {
        const astro::LunarPosition p = astro::MoonPosition(t);
        std::printf("M %.7f %.8f %.8f %.4f\n", t + astro::DeltaT(t), p.longitude, p.latitude,
                    p.distance);
    }
}

}  // namespace

int main(int argc, char** argv) {
    using jdcore::EquinoxCalendar;
    const std::string_view code = argc == 2 ? argv[1] : "";
    if (code == "ASTRO") {
        PrintAstronomy();
        return 0;
    }
    const EquinoxCalendar cal = code == "PEA"   ? EquinoxCalendar::PersianAstronomical
                                : code == "FRE" ? EquinoxCalendar::FrenchAstronomical
                                                : EquinoxCalendar::Bahai;
    if (code != "PEA" && code != "FRE" && code != "BAH") {
        std::fputs("usage: astronomical_calendar_dump PEA|FRE|BAH|ASTRO\n", stderr);
        return 2;
    }
    const jdcore::YearSpan span = jdcore::EquinoxYearSpan(cal);
    std::int64_t end = 0;
    for (std::int64_t y = span.first; y <= span.last; ++y) {
        for (int m = 1; m <= jdcore::EquinoxMonthsInYear(cal, y); ++m) {
            const std::int64_t first = *jdcore::EquinoxToJdn(cal, y, m, 1);
            std::printf("%lld %d %lld\n", static_cast<long long>(y), m,
                        static_cast<long long>(first));
            end = first + jdcore::EquinoxDaysInMonth(cal, y, m);
        }
    }
    std::printf("end %lld\n", static_cast<long long>(end));
    const std::int64_t start = *jdcore::EquinoxToJdn(cal, span.first, 1, 1);
    for (std::int64_t jdn = start; jdn < end; jdn += 97) {
        const jdcore::YearMonthDay d = *jdcore::EquinoxFromJdn(cal, jdn);
        std::printf("day %lld %lld %d %d\n", static_cast<long long>(jdn),
                    static_cast<long long>(d.year), d.month, d.day);
    }
    return 0;
}
